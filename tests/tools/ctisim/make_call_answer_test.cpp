// The program's answer to a make call: the reply first, then the call's events in order, even
// when the events are due at once.
#include "tools/ctisim/make_call_answer.h"

#include <gtest/gtest.h>

#include "tools/ctisim/call_events.h"
#include "tools/ctisim/frame.h"
#include "tools/ctisim/frame_reader.h"
#include "tools/ctisim/loopback_client.h"
#include "tools/ctisim/sim_server.h"

namespace ctisim {
namespace {

constexpr Millis kWait{10000};

TEST(MakeCallAnswer, TheReplyGoesOutBeforeTheCallsEvents) {
  SimServer sim;
  int asked_for = 0;
  MakeCallEvents events;
  events.count = 5;
  events.spacing = Millis{0};  // every event due as soon as it is queued
  sim.SetRule(kClassCall, kCodeMakeCall, MakeCallRule(sim, events, [&](int connection) {
                asked_for = connection;
                return std::uint8_t{0};
              }));
  LoopbackClient client(sim.Address(), sim.Port());
  ASSERT_TRUE(client.connected());
  Frame call;
  call.PutU32(0x00010001).PutU16(7).PutStr8("3001").PutStr8("0212345678");
  ASSERT_TRUE(client.Write(RequestFrame({kClassCall, kCodeMakeCall, 0, 0}, call.bytes())));

  const auto reply = client.ReadFrame(kWait);
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[0], kReplyFrame);
  EXPECT_EQ(FrameReader(*reply, 8).GetU32(), 1u);
  EXPECT_EQ(FrameReader(*reply, 12).GetU16(), 7);
  for (std::uint8_t code : {kEventOriginated, kEventDelivered, kEventEstablished,
                            kEventConnectionCleared, kEventOriginated}) {
    const auto event = client.ReadFrame(kWait);
    ASSERT_TRUE(event);
    EXPECT_EQ((*event)[0], 0xA1);
    EXPECT_EQ((*event)[4], code);
    FrameReader body(*event, 30);
    EXPECT_EQ(body.GetStr8(), "3001");
    EXPECT_EQ(body.GetU32(), 1007u);  // the call id follows the request's number
  }
  EXPECT_EQ(asked_for, 1);
}

}  // namespace
}  // namespace ctisim
