#include "agentphone/ui/ready_agent_rows.h"

namespace agentphone::ui {
namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const size_t at = text.find(separator);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

std::string Field(const std::vector<std::string_view>& fields, size_t i) {
  return i < fields.size() ? std::string(fields[i]) : std::string();
}

}  // namespace

std::vector<ReadyAgentRow> ReadyAgentRows(std::string_view list, int32_t count,
                                          const NameOfExtension& nameOf) {
  std::vector<ReadyAgentRow> rows;
  const std::vector<std::string_view> records = Split(list, '^');
  // The list ends with "^": the empty text after it is no record.
  size_t present = records.size();
  if (present > 0 && records.back().empty()) --present;
  for (size_t i = 0; count > 0 && i < static_cast<size_t>(count) && i < present; ++i) {
    const std::vector<std::string_view> fields = Split(records[i], '|');
    ReadyAgentRow row;
    row.device = Field(fields, 1);
    row.blendmode = Field(fields, 2);
    row.continuetime = Field(fields, 3);
    row.name = row.device.empty() ? std::string() : nameOf(row.device);
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace agentphone::ui
