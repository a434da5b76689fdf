#include "agentphone/core/lists/database.h"

#include <cctype>

namespace agentphone::lists {

namespace {
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}
}  // namespace

int SqlResult::Column(std::string_view name) const {
  for (size_t i = 0; i < columns.size(); ++i) {
    if (SameName(columns[i], name)) return static_cast<int>(i);
  }
  return -1;
}

std::string SqlResult::Text(size_t row, std::string_view name) const {
  const int c = Column(name);
  if (c < 0 || row >= rows.size() || static_cast<size_t>(c) >= rows[row].size()) return {};
  const SqlValue& v = rows[row][static_cast<size_t>(c)];
  return v ? *v : std::string();
}

}  // namespace agentphone::lists
