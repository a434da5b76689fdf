// Reply rules written as text, for the simulator program's command line:
//   CLASS:CODE=withhold             no answer
//   CLASS:CODE=RESULT[/HEX][@MS]    result word, reply data from byte 14 in hex, a delay in ms
// Numbers take C notation (0x41, 65). Example: 0x41:0x65=3500/0a0b@200
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "tools/ctisim/reply_rule.h"

namespace ctisim {

struct RuleText {
  std::uint8_t cls = 0;
  std::uint8_t code = 0;
  ReplyRule rule;
};

// Nothing when the text does not follow the form above.
std::optional<RuleText> ParseRuleText(std::string_view text);

}  // namespace ctisim
