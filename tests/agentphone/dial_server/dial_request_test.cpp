#include "agentphone/core/dial_server/dial_request.h"

#include <gtest/gtest.h>

namespace agentphone {
namespace {

TEST(DialRequestParse, NeedsNineFieldsAndIgnoresWhatFollows) {
  EXPECT_FALSE(ParseDialRequest(""));
  EXPECT_FALSE(ParseDialRequest("a|b|c|d|e|f|g|h"));  // 8 fields
  EXPECT_FALSE(ParseDialRequest("|||||||"));  // seven bars

  auto nine = ParseDialRequest("a|SP-100|c|d|e|010-1234-5678|g|KEY|i");
  ASSERT_TRUE(nine);
  EXPECT_EQ(nine->field[0], "a");
  EXPECT_EQ(nine->Number(), "010-1234-5678");
  EXPECT_EQ(nine->CustomerKey(), "KEY");
  EXPECT_EQ(nine->field[8], "i");

  auto empties = ParseDialRequest("||||||||");  // eight bars, nine empty fields
  ASSERT_TRUE(empties);
  EXPECT_EQ(empties->field[8], "");

  // two requests in one read are one: the second lands in field 8 and later
  auto two = ParseDialRequest("a|SP-100|c|d|e|1234|g|K1|i|a|SP-210|c|d|e|5678|g|K2|i");
  ASSERT_TRUE(two);
  EXPECT_EQ(two->Number(), "1234");
  EXPECT_EQ(two->CustomerKey(), "K1");
}

TEST(DialRequestParse, TypeIsSp100OnlyWhenTrimmedTextMatchesExactly) {
  struct Case {
    const char* field1;
    DialRequestType type;
  } cases[] = {
      {"SP-100", DialRequestType::Sp100},  {"  SP-100 ", DialRequestType::Sp100},
      {"sp-100", DialRequestType::Sp210},  {"SP-210", DialRequestType::Sp210},
      {"", DialRequestType::Sp210},        {"SP-1000", DialRequestType::Sp210},
      {"\tSP-100", DialRequestType::Sp210},
  };
  for (const Case& c : cases) {
    auto r = ParseDialRequest(std::string("0|") + c.field1 + "|2|3|4|5|6|7|8");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Type(), c.type) << "field 1 '" << c.field1 << "'";
  }
}

TEST(DialRequestNumber, RulesOfBothTypes) {
  struct Case {
    const char* number;
    const char* typeA;  // SP-100
    const char* typeB;  // other
  } cases[] = {
      {"1234", "1234", "1234"},                       // four digits unchanged
      {"0212", "12", "12"},                           // "02" + 2: the two digits
      {"02-1234-5678", "012345678", "812345678"},     // "02" + 8
      {"0202 12345", "012345", "812345"},             // "0202" + 5
      {"0311234567", "00311234567", "80311234567"},   // ten digits, not "02"
      {"010 1234 5678", "001012345678", "801012345678"},
      {"021234", "1234", "1234"},                     // "02" + 4: fewer than five left
      {"12345", "012345", "812345"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PrepareDialNumber(c.number, DialRequestType::Sp100), c.typeA) << c.number;
    EXPECT_EQ(PrepareDialNumber(c.number, DialRequestType::Sp210), c.typeB) << c.number;
  }
}

TEST(DialRequestReply, EightFieldsEachEndedByABar) {
  auto r = ParseDialRequest("F0|SP-100|F2|F3|F4| 02-123 4567 |F6|F7|F8|F9");
  ASSERT_TRUE(r);
  EXPECT_EQ(BuildDialReply(*r, "00"), "F0|SP-110|00|F3|F4| 02-123 4567 |F6|F7|");
  auto b = ParseDialRequest("F0|xx|F2|F3|F4|1|F6|F7|");
  ASSERT_TRUE(b);
  EXPECT_EQ(BuildDialReply(*b, "01"), "F0|SP-210|01|F3|F4|1|F6|F7|");
}

}  // namespace
}  // namespace agentphone
