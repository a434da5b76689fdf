// Reply rules given as text on the simulator program's command line.
#include <gtest/gtest.h>

#include "tools/ctisim/rule_text.h"

namespace ctisim {
namespace {

TEST(CtisimRuleText, ParsesEachFormAndRefusesTheRest) {
  struct Row {
    const char* text;
    bool ok;
    std::uint8_t cls;
    std::uint8_t code;
    std::uint32_t result;
    Bytes data;
    long long delay_ms;
    bool withhold;
  };
  const Row rows[] = {
      {"0x41:0x65=3500", true, 0x41, 0x65, 3500, {}, 0, false},
      {"69:112=1/0a0B", true, 0x45, 0x70, 1, {0x0A, 0x0B}, 0, false},
      {"0x41:0x70=0xFFFFFFFF/00@250", true, 0x41, 0x70, 0xFFFFFFFF, {0}, 250, false},
      {"0x41:0x66=1@5", true, 0x41, 0x66, 1, {}, 5, false},
      {"0x41:0x66=withhold", true, 0x41, 0x66, 1, {}, 0, true},
      {"0x141:0x65=1", false, 0, 0, 0, {}, 0, false},
      {"0x41:0x65", false, 0, 0, 0, {}, 0, false},
      {"0x41=1", false, 0, 0, 0, {}, 0, false},
      {"0x41:0x65=", false, 0, 0, 0, {}, 0, false},
      {"0x41:0x65=-1", false, 0, 0, 0, {}, 0, false},
      {"0x41:0x65=0x100000000", false, 0, 0, 0, {}, 0, false},
      {"0x41:0x65=1/abc", false, 0, 0, 0, {}, 0, false},
      {"0x41:0x65=1/zz", false, 0, 0, 0, {}, 0, false},
      {"0x41:0x65=1@soon", false, 0, 0, 0, {}, 0, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    const auto parsed = ParseRuleText(row.text);
    ASSERT_EQ(parsed.has_value(), row.ok);
    if (!parsed) continue;
    EXPECT_EQ(parsed->cls, row.cls);
    EXPECT_EQ(parsed->code, row.code);
    EXPECT_EQ(parsed->rule.withhold, row.withhold);
    if (row.withhold) continue;
    EXPECT_EQ(parsed->rule.result, row.result);
    EXPECT_EQ(parsed->rule.data, row.data);
    EXPECT_EQ(parsed->rule.shape.delay.count(), row.delay_ms);
  }
}

}  // namespace
}  // namespace ctisim
