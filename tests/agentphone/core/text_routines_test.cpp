#include "agentphone/core/text_routines.h"

#include <gtest/gtest.h>

#include <string>

namespace agentphone {
namespace {

struct Case {
  std::string in;
  std::string out;
};

TEST(FormatPhoneNumber, GroupsByLength) {
  const Case cases[] = {
      {"1234567", "123-4567"},
      {"12345678", "1234-5678"},
      {"(02) 123 4567", "02-123-4567"},   // nine digits beginning 02, brackets and blanks
      {"0212345678", "02-1234-5678"},
      {"0311234567", "031-123-4567"},
      {"01012345678", "010-1234-5678"},
      {"123456", "123456"},               // any other length: the digits unchanged
      {"123456789012", "123456789012"},
      {"", ""},
      {"010-1234-5678", "010-1234-5678"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatPhoneNumber(c.in), c.out) << c.in;
}

TEST(AfterBar, ZeroBlankAndBars) {
  const Case cases[] = {
      {"a|b|c", "b|c"},      // everything after the first bar, the second included
      {"  42  ", "42"},      // a number without bars: trimmed
      {"0", ""},
      {" 00 ", ""},
      {"   ", ""},
      {"abc", "abc"},
      {"x| y ", " y "},      // after the bar untrimmed
      {"0|1", "1"},          // not a number, so not zero
  };
  for (const Case& c : cases) EXPECT_EQ(AfterBar(c.in), c.out) << c.in;
}

TEST(TextRoutines, BlanksAndDigits) {
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(RemoveBlanks("  a b  c "), "abc");
  EXPECT_EQ(RemoveBlanks("\ta\t"), "\ta\t");  // only the blank character counts
  EXPECT_EQ(OnlyDigits(" 02-12 34#*x9 "), "0212349");
  EXPECT_EQ(OnlyDigits("일이3"), "3");
}

TEST(TextRoutines, ReadsAsOne) {
  for (const char* yes : {"1", "01", "1.0", " 1 ", "+1", "1e0"}) EXPECT_TRUE(ReadsAsOne(yes)) << yes;
  for (const char* no : {"", "0", "2", "one", "1x", "..1", "e1", "-1"}) {
    EXPECT_FALSE(ReadsAsOne(no)) << no;
  }
  EXPECT_EQ(ReadNumber("1."), std::optional<double>(1.0));
}

}  // namespace
}  // namespace agentphone
