// The program's numeric desk settings: a number in range is taken, anything else keeps the
// default.
#include <gtest/gtest.h>

#include "agentphone/app/setting_number.h"

namespace agentphone::app {
namespace {

TEST(SettingNumberTest, TakesANumberInRangeElseTheFallback) {
  struct Case {
    const char* text;
    int expected;
  };
  const Case cases[] = {
      {"5000", 5000}, {" 250 ", 250}, {"1", 1},       {"600000", 600000}, {"0", 77},
      {"-5", 77},     {"600001", 77}, {"", 77},       {"  ", 77},         {"12ms", 77},
      {"0x10", 77},   {"1e3", 77},    {"99999999999999999999", 77},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SettingNumber(c.text, 1, 600000, 77), c.expected) << '"' << c.text << '"';
  }
}

}  // namespace
}  // namespace agentphone::app
