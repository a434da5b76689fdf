#include "agentphone/core/dial_server/dial_request_handler.h"

#include <gtest/gtest.h>

#include "agentphone/dial_server/recording_phone.h"

namespace agentphone {
namespace {

using testing::RecordingPhone;

std::string Request(const std::string& type, const std::string& number,
                    const std::string& key = "CUST7") {
  return "F0|" + type + "|F2|F3|F4|" + number + "|F6|" + key + "|F8";
}

TEST(DialRequestHandler, CodesInTheirOrder) {
  struct Case {
    const char* caption;
    const char* number;
    int makeCall;
    const char* code;
    bool dials;
  } cases[] = {
      {"로그아웃", "123", 1, "01", false},    // the digit check comes first
      {"통화중", "1-2-3", 1, "01", false},
      {"로그아웃", "1234", 1, "02", false},
      {"통화중", "1234", 1, "03", false},
      {"협의통화중", "1234", 1, "03", false},
      {"대기", "1234", 1, "00", true},
      {"휴식", "1234", 1, "00", true},
      {"후처리", "1234", 1, "00", true},
      {"보류중", "1234", 1, "00", true},
      {"통화중 ", "1234", 1, "00", true},      // only the exact captions refuse
      {"대기", "1234", 0, "04", true},
      {"대기", "1234", 3014, "04", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.caption) + " " + c.number);
    RecordingPhone phone;
    phone.caption = c.caption;
    phone.makeCallResult = c.makeCall;
    phone.vars.gCUSTKEY = "OLD";
    DialRequestHandler handler(phone);
    DialOutcome out = handler.HandleReceived(Request("SP-100", c.number));
    ASSERT_TRUE(out.reply);
    EXPECT_FALSE(out.close);
    EXPECT_EQ(*out.reply, std::string("F0|SP-110|") + c.code + "|F3|F4|" + c.number + "|F6|CUST7|");
    EXPECT_EQ(phone.commands.size(), c.dials ? 1u : 0u);
    const bool placed = std::string(c.code) == "00";
    // the key and the busy display only for a call that was placed
    EXPECT_EQ(phone.vars.gCUSTKEY, placed ? "CUST7" : "OLD");
    EXPECT_EQ(phone.states, placed ? std::vector<std::string>{"BUSY"} : std::vector<std::string>{});
  }
}

TEST(DialRequestHandler, DialsThePreparedNumberAndLogs) {
  RecordingPhone phone;
  DialRequestHandler handler(phone);
  const std::string req = Request(" SP-100 ", "02-2345-6789");
  DialOutcome out = handler.HandleReceived(req);
  ASSERT_EQ(phone.commands.size(), 1u);
  const RecordingPhone::Command& c = phone.commands[0];
  EXPECT_EQ(c.word, "MAKECALL");
  EXPECT_EQ(c.callingNo, "023456789");
  EXPECT_EQ(c.uui + c.uei + c.ci, "");
  const std::string reply = "F0|SP-110|00|F3|F4|02-2345-6789|F6|CUST7|";
  EXPECT_EQ(out.reply, reply);
  EXPECT_EQ(phone.log, (std::vector<std::string>{"[RECV]" + req, "[SEND]" + reply}));

  RecordingPhone other;
  DialRequestHandler typeB(other);
  out = typeB.HandleReceived(Request("SP-210", "0311234567"));
  ASSERT_EQ(other.commands.size(), 1u);
  EXPECT_EQ(other.commands[0].callingNo, "80311234567");
  EXPECT_EQ(out.reply, "F0|SP-210|00|F3|F4|0311234567|F6|CUST7|");
}

TEST(DialRequestHandler, FailedMakeCallIsAnsweredNotPlacedAndLogged) {
  RecordingPhone phone;
  phone.makeCallResult = 3014;
  DialRequestHandler handler(phone);
  const std::string req = Request("SP-100", "12345");
  DialOutcome out = handler.HandleReceived(req);
  EXPECT_EQ(out.reply, "F0|SP-110|04|F3|F4|12345|F6|CUST7|");
  EXPECT_EQ(phone.caption, "대기");
  EXPECT_EQ(phone.log, (std::vector<std::string>{"[RECV]" + req, "전화걸기 실패  Ret : 3014",
                                                 "[SEND]" + *out.reply}));
  // the next request is not refused as "in a call"
  phone.makeCallResult = 1;
  EXPECT_EQ(handler.HandleReceived(req).reply, "F0|SP-110|00|F3|F4|12345|F6|CUST7|");
}

TEST(DialRequestHandler, MalformedAndOversizedReadsCloseWithoutReply) {
  RecordingPhone phone;
  DialRequestHandler handler(phone, /*maxRequestBytes=*/64);
  DialOutcome out = handler.HandleReceived("a|b|c|d|e|f|g|h");
  EXPECT_TRUE(out.close);
  EXPECT_FALSE(out.reply);
  out = handler.HandleReceived("");
  EXPECT_TRUE(out.close);

  const std::string big = Request("SP-100", "1234") + std::string(60, 'x');  // over 64 bytes
  out = handler.HandleReceived(big);
  EXPECT_TRUE(out.close);
  EXPECT_FALSE(out.reply);
  EXPECT_TRUE(phone.commands.empty());
  ASSERT_EQ(phone.log.size(), 3u);
  EXPECT_EQ(phone.log[0], "전문형식이 틀림 [RECV]a|b|c|d|e|f|g|h");
  EXPECT_EQ(phone.log[1], "전문형식이 틀림 [RECV]");
  EXPECT_EQ(phone.log[2], "전문형식이 틀림 [RECV]" + big);

  // a refused read's log line carries no more than a bounded part of it
  RecordingPhone p2;
  DialRequestHandler h2(p2);
  h2.HandleReceived(std::string(kMaxDialRequestBytes + 1, '|'));
  ASSERT_EQ(p2.log.size(), 1u);
  EXPECT_EQ(p2.log[0].size(), std::string("전문형식이 틀림 [RECV]").size() +
                                  DialRequestHandler::kLoggedBytes);
}

TEST(DialRequestHandler, AnAnsweredRequestUpToTheLimitIsLoggedBounded) {
  // nine fields, 64 KiB in all: taken and answered, but its log lines carry only their head
  const std::string pad(kMaxDialRequestBytes - 40, 'k');
  const std::string req = Request("SP-100", "1234", pad);
  ASSERT_LE(req.size(), kMaxDialRequestBytes);
  RecordingPhone phone;
  phone.caption = "대기";
  phone.makeCallResult = 1;
  DialRequestHandler handler(phone);
  const DialOutcome out = handler.HandleReceived(req);
  ASSERT_TRUE(out.reply);
  EXPECT_EQ(*out.reply, "F0|SP-110|00|F3|F4|1234|F6|" + pad + "|") << "the reply stays whole";
  ASSERT_EQ(phone.log.size(), 2u);
  EXPECT_EQ(phone.log[0], "[RECV]" + req.substr(0, DialRequestHandler::kLoggedBytes));
  EXPECT_EQ(phone.log[1], "[SEND]" + out.reply->substr(0, DialRequestHandler::kLoggedBytes));
}

}  // namespace
}  // namespace agentphone
