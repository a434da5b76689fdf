#include "agentphone/core/lists/grid_texts.h"

#include <algorithm>

namespace agentphone::lists {

std::string FormatDigitMask(std::string_view text, std::string_view mask) {
  if (text.empty()) return {};
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::string(text);
  }
  std::string out;
  size_t next = text.size();  // digits are taken from the right
  size_t lastDigitPos = 0;
  bool placedAny = false;
  for (size_t i = mask.size(); i-- > 0;) {
    if (mask[i] == '#') {
      if (next == 0) break;
      out.push_back(text[--next]);
      placedAny = true;
      lastDigitPos = out.size();
    } else {
      out.push_back(mask[i]);
    }
  }
  if (placedAny) out.resize(lastDigitPos);  // nothing before the first digit
  std::reverse(out.begin(), out.end());
  return std::string(text.substr(0, next)) + out;
}

std::string InboundLineCode(std::string_view dnis) {
  if (dnis == "1201") return "0038";
  if (dnis == "1202") return "0006";
  if (dnis == "1203") return "0776";
  return std::string(dnis);
}

}  // namespace agentphone::lists
