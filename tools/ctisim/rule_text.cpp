#include "tools/ctisim/rule_text.h"

#include <cerrno>
#include <cstdlib>
#include <string>

namespace ctisim {
namespace {

std::optional<unsigned long long> Number(std::string_view text, unsigned long long max) {
  if (text.empty()) return std::nullopt;
  const std::string s(text);
  char* end = nullptr;
  errno = 0;
  const unsigned long long value = std::strtoull(s.c_str(), &end, 0);
  if (errno != 0 || end != s.c_str() + s.size() || value > max || s[0] == '-') return std::nullopt;
  return value;
}

std::optional<Bytes> HexBytes(std::string_view text) {
  if (text.size() % 2 != 0) return std::nullopt;
  Bytes out;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const std::string two(text.substr(i, 2));
    char* end = nullptr;
    const unsigned long value = std::strtoul(two.c_str(), &end, 16);
    if (end != two.c_str() + 2) return std::nullopt;
    out.push_back(static_cast<std::uint8_t>(value));
  }
  return out;
}

}  // namespace

std::optional<RuleText> ParseRuleText(std::string_view text) {
  const std::size_t colon = text.find(':');
  const std::size_t equals = text.find('=');
  if (colon == std::string_view::npos || equals == std::string_view::npos || equals < colon) {
    return std::nullopt;
  }
  const auto cls = Number(text.substr(0, colon), 0xFF);
  const auto code = Number(text.substr(colon + 1, equals - colon - 1), 0xFF);
  if (!cls || !code) return std::nullopt;
  RuleText out;
  out.cls = static_cast<std::uint8_t>(*cls);
  out.code = static_cast<std::uint8_t>(*code);

  std::string_view action = text.substr(equals + 1);
  if (action == "withhold") {
    out.rule.withhold = true;
    return out;
  }
  if (const std::size_t at = action.find('@'); at != std::string_view::npos) {
    const auto delay = Number(action.substr(at + 1), 3600000);
    if (!delay) return std::nullopt;
    out.rule.shape.delay = Millis{static_cast<long long>(*delay)};
    action = action.substr(0, at);
  }
  if (const std::size_t slash = action.find('/'); slash != std::string_view::npos) {
    const auto data = HexBytes(action.substr(slash + 1));
    if (!data) return std::nullopt;
    out.rule.data = *data;
    action = action.substr(0, slash);
  }
  const auto result = Number(action, 0xFFFFFFFFull);
  if (!result) return std::nullopt;
  out.rule.result = static_cast<std::uint32_t>(*result);
  return out;
}

}  // namespace ctisim
