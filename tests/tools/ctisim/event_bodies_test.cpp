// Event bodies as the client's decoder reads them: the agent-state layouts, and the tagged block
// of call events with the fields a desk needs (UEI, CI, queue, number id).
#include <gtest/gtest.h>

#include <string>

#include "tools/ctisim/agent_state_events.h"
#include "tools/ctisim/call_events.h"
#include "tools/ctisim/frame.h"
#include "tools/ctisim/frame_reader.h"

namespace ctisim {
namespace {

struct AgentLayout {
  std::uint8_t code;
  std::size_t gap;  // zero bytes between the third text and the work mode
};

class AgentStateBody : public testing::TestWithParam<AgentLayout> {};

TEST_P(AgentStateBody, WorkModeAndReasonFollowTheCodesOwnGap) {
  AgentStateParties p{"2001", 7, "agent01", "g10", "x", 2, 3};
  const Bytes body = AgentStateEventBody(GetParam().code, p);
  FrameReader in(body);
  EXPECT_EQ(in.GetStr8(), "2001");
  EXPECT_EQ(in.GetU32(), 7u);
  EXPECT_EQ(in.GetStr8(), "agent01");
  EXPECT_EQ(in.GetStr8(), "g10");
  EXPECT_EQ(in.GetStr8(), "x");
  for (std::size_t i = 0; i < GetParam().gap; ++i) EXPECT_EQ(in.GetU8(), 0) << i;
  EXPECT_EQ(in.GetU8(), 2);  // work mode
  EXPECT_EQ(in.GetU8(), 3);  // reason
  EXPECT_TRUE(in.ok());
  EXPECT_EQ(in.remaining(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Codes, AgentStateBody,
                         testing::Values(AgentLayout{kEventLoggedOn, 0},
                                         AgentLayout{kEventLoggedOff, 3},
                                         AgentLayout{kEventNotReady, 2},
                                         AgentLayout{kEventReady, 0},
                                         AgentLayout{kEventOtherWork, 0},
                                         AgentLayout{kEventAfterCallWork, 0}));

// The bytes from the tagged block's start marker to the end of the body.
Bytes TaggedBlock(const Bytes& body) {
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] == 0xAA) return Bytes(body.begin() + static_cast<std::ptrdiff_t>(i), body.end());
  }
  return {};
}

TEST(CallEventBody, TaggedBlockCarriesNumberIdUeiCiAndQueue) {
  CallParties p{"2001", "0212345678", 5001, 0};
  CallData d;
  d.uei = "a^b";
  d.ci = "c";
  d.cnid = 90001;
  d.queue = 1101;
  const Bytes expected = Frame()
                             .PutU8(0xAA)
                             .PutU8(0xB0).PutU32(90001)
                             .PutU8(0xB3).PutStr16("a^b")
                             .PutU8(0xB4).PutStr16("c")
                             .PutU8(0xB5).PutU32(1101)
                             .PutU8(0xFF)
                             .Take();
  EXPECT_EQ(TaggedBlock(CallEventBody(kEventDelivered, p, d)), expected);

  p.version = 0x28;  // numbers as texts
  const Bytes as_text = Frame()
                            .PutU8(0xAA)
                            .PutU8(0xB0).PutStr8("90001")
                            .PutU8(0xB3).PutStr16("a^b")
                            .PutU8(0xB4).PutStr16("c")
                            .PutU8(0xB5).PutStr8("1101")
                            .PutU8(0xFF)
                            .Take();
  EXPECT_EQ(TaggedBlock(CallEventBody(kEventEstablished, p, d)), as_text);
}

TEST(CallEventBody, WithoutExtrasTheBlockHoldsTheCallIdAsNumberId) {
  const Bytes block = TaggedBlock(CallEventBody(kEventHeld, {"2001", "3002", 77, 0}));
  EXPECT_EQ(block, Frame().PutU8(0xAA).PutU8(0xB0).PutU32(77).PutU8(0xFF).Take());
}

}  // namespace
}  // namespace ctisim
