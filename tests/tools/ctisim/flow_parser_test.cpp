// Flow files: what a good file gives, and every kind of bad line refused with its line number.
#include <gtest/gtest.h>

#include <string>

#include "tools/ctisim/flow_parser.h"

namespace ctisim {
namespace {

TEST(FlowParser, ReadsStatementsFieldsQuotesAndNesting) {
  const std::string text =
      "# a demo\r\n"
      "device 2001\n"
      "on agent-state mode=login push loggedon agent=a1 after=0x10\n"
      "on 0x41:0x65 push delivered party=\"02 123 #45\" after=0500\n"
      "\n"
      "await agent-state mode=3   # ready\n"
      "repeat 2\n"
      "  repeat\n"
      "    wait 250\n"
      "    push established call=5001 cnid=90001 queue=1101 uei=\"a b^c\"\n"
      "  end\n"
      "  push private sub=107 hex=00ff\n"
      "end\n"
      "drop reset\n"
      "push 250 hex=\n";
  FlowError error;
  const auto flow = ParseFlow(text, &error);
  ASSERT_TRUE(flow) << error.line << ": " << error.message;
  EXPECT_EQ(flow->device, "2001");

  ASSERT_EQ(flow->triggers.size(), 2u);
  EXPECT_EQ(flow->triggers[0].line, 3);
  EXPECT_EQ(flow->triggers[0].match.code, 0xDD);
  EXPECT_EQ(flow->triggers[0].match.mode, 0);
  EXPECT_EQ(flow->triggers[0].event.code, 201);
  EXPECT_EQ(flow->triggers[0].event.agent, "a1");
  EXPECT_EQ(flow->triggers[0].event.after, Millis{16});
  EXPECT_EQ(flow->triggers[1].match.cls, 0x41);
  EXPECT_EQ(flow->triggers[1].match.code, 0x65);
  EXPECT_FALSE(flow->triggers[1].match.mode);
  EXPECT_EQ(flow->triggers[1].event.party, "02 123 #45");
  EXPECT_EQ(flow->triggers[1].event.after, Millis{500});  // a leading 0 is no octal mark

  ASSERT_EQ(flow->steps.size(), 4u);
  EXPECT_EQ(flow->steps[0].kind, FlowStep::Kind::kAwait);
  EXPECT_EQ(flow->steps[0].match.mode, 3);
  const FlowStep& outer = flow->steps[1];
  EXPECT_EQ(outer.kind, FlowStep::Kind::kRepeat);
  EXPECT_EQ(outer.count, 2u);
  ASSERT_EQ(outer.body.size(), 2u);
  const FlowStep& inner = outer.body[0];
  EXPECT_EQ(inner.count, 0u);  // for ever
  ASSERT_EQ(inner.body.size(), 2u);
  EXPECT_EQ(inner.body[0].wait, Millis{250});
  const FlowEvent& established = inner.body[1].event;
  EXPECT_EQ(established.line, 10);
  EXPECT_EQ(established.kind, FlowEventKind::kCall);
  EXPECT_EQ(established.code, 6);
  EXPECT_EQ(established.call, 5001u);
  EXPECT_EQ(established.cnid, 90001u);
  EXPECT_EQ(established.queue, 1101u);
  EXPECT_EQ(established.uei, "a b^c");
  EXPECT_EQ(outer.body[1].event.kind, FlowEventKind::kPrivate);
  EXPECT_EQ(outer.body[1].event.sub, 107u);
  EXPECT_EQ(outer.body[1].event.bytes, (Bytes{0x00, 0xFF}));
  EXPECT_EQ(flow->steps[2].kind, FlowStep::Kind::kDrop);
  EXPECT_TRUE(flow->steps[2].abortive);
  EXPECT_EQ(flow->steps[3].event.kind, FlowEventKind::kRaw);
  EXPECT_EQ(flow->steps[3].event.code, 250);
}

struct BadFlow {
  const char* name;
  std::string text;
  int line;
  const char* message;  // a part of the error message
};

class FlowParserRefuses : public testing::TestWithParam<BadFlow> {};

TEST_P(FlowParserRefuses, TheFirstBadLineWithItsNumber) {
  FlowError error;
  EXPECT_FALSE(ParseFlow(GetParam().text, &error));
  EXPECT_EQ(error.line, GetParam().line) << error.message;
  EXPECT_NE(error.message.find(GetParam().message), std::string::npos) << error.message;
}

const std::string kOk = "wait 1\n";

INSTANTIATE_TEST_SUITE_P(
    Lines, FlowParserRefuses,
    testing::Values(
        BadFlow{"UnknownStatement", kOk + "jump 3\n", 2, "unknown statement"},
        BadFlow{"UnknownEvent", kOk + "push ringing\n", 2, "unknown event"},
        BadFlow{"UnknownRequest", "await dial\n", 1, "unknown request"},
        BadFlow{"UnknownField", "push delivered colour=red\n", 1, "unknown field"},
        BadFlow{"FieldOfAnotherEvent", "push ready party=3\n", 1, "does not belong"},
        BadFlow{"FieldTwice", "push held call=1 call=2\n", 1, "twice"},
        BadFlow{"NoKeyValue", "push held call\n", 1, "KEY=VALUE"},
        BadFlow{"NotANumber", "wait soon\n", 1, "not a number"},
        BadFlow{"NegativeNumber", "wait -5\n", 1, "not a number"},
        BadFlow{"HexNegative", "wait 0x-5\n", 1, "not a number"},
        BadFlow{"WaitAboveAnHour", "wait 3600001\n", 1, "above"},
        BadFlow{"CallIdAbove32Bits", "push held call=4294967296\n", 1, "above"},
        BadFlow{"CodeAbove255", "push 256\n", 1, "above"},
        BadFlow{"RequestClassAbove255", "await 0x141:0x10\n", 1, "above"},
        BadFlow{"DeviceOver255Bytes", "device " + std::string(256, '1') + "\n", 1, "at most 255"},
        BadFlow{"UeiOver1024Bytes", "push delivered uei=" + std::string(1025, 'u') + "\n", 1,
                "at most 1024"},
        BadFlow{"OddHex", "push 7 hex=abc\n", 1, "odd"},
        BadFlow{"NotHex", "push 7 hex=zz\n", 1, "hex digit"},
        BadFlow{"HexOver4096Bytes", "push 7 hex=" + std::string(8194, '0') + "\n", 1, "4096"},
        BadFlow{"QuoteNotClosed", kOk + "push delivered uei=\"a b\n", 2, "not closed"},
        BadFlow{"ModeOnOtherRequest", "await make-call mode=ready\n", 1, "agent-state"},
        BadFlow{"UnknownMode", "await agent-state mode=sleepy\n", 1, "not a number"},
        BadFlow{"AfterInPush", "push ready after=10\n", 1, "\"on\" only"},
        BadFlow{"OnWithoutPush", "on agent-state loggedon\n", 1, "push"},
        BadFlow{"OnInsideRepeat", "repeat 2\non open push ready\nend\n", 2, "inside"},
        BadFlow{"DeviceTwice", "device 1\ndevice 2\n", 2, "twice"},
        BadFlow{"DropWhat", "drop hard\n", 1, "drop [reset]"},
        BadFlow{"EndWithoutRepeat", kOk + "end\n", 2, "without \"repeat\""},
        BadFlow{"RepeatWithoutEnd", kOk + "repeat 3\nwait 1\n", 2, "without \"end\""},
        BadFlow{"RepeatZero", "repeat 0\nwait 1\nend\n", 1, "count of 0"},
        BadFlow{"ForeverWithoutPause", "repeat\npush ready\nwait 0\nend\n", 4, "for ever"},
        BadFlow{"TooDeep", [] {
                  std::string s;
                  for (int i = 0; i < 17; ++i) s += "repeat 1\n";
                  return s;
                }(),
                17, "nested"},
        BadFlow{"NulByte", kOk + std::string("wait 1\0", 7) + "\n", 2, "NUL"},
        BadFlow{"LongLine", "# " + std::string(16384, 'x') + "\n", 1, "longer than"}),
    [](const testing::TestParamInfo<BadFlow>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ctisim
