// A whole number of a desk setting, read with its bounds: text that is not a number, or a
// number outside [low, high], gives the fallback.
#pragma once

#include <charconv>
#include <string_view>

namespace agentphone::app {

inline int SettingNumber(std::string_view text, int low, int high, int fallback) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return fallback;
  return value < low || value > high ? fallback : value;
}

}  // namespace agentphone::app
