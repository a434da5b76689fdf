#include "vomtel/requests/service/fixed_text.h"

#include <algorithm>

namespace vomtel {

std::size_t CopyToFixed(std::string_view text, std::span<char> area) {
  if (area.empty()) return 0;
  const std::size_t size = std::min(text.size(), area.size() - 1);
  std::copy_n(text.data(), size, area.data());
  area[size] = '\0';
  return size;
}

}  // namespace vomtel
