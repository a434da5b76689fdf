// Flows run against the in-process server, with a loopback client in the agent program's place.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tools/ctisim/flow_parser.h"
#include "tools/ctisim/flow_runner.h"
#include "tools/ctisim/frame.h"
#include "tools/ctisim/frame_reader.h"
#include "tools/ctisim/loopback_client.h"
#include "tools/ctisim/sim_server.h"

namespace ctisim {
namespace {

constexpr Millis kWait{5000};

Flow Parse(const std::string& text) {
  FlowError error;
  auto flow = ParseFlow(text, &error);
  EXPECT_TRUE(flow) << error.line << ": " << error.message;
  return flow ? *flow : Flow{};
}

// A client that has opened its session with `version` as its version byte.
class Desk : public LoopbackClient {
 public:
  Desk(const SimServer& sim, std::uint8_t version) : LoopbackClient("127.0.0.1", sim.Port()) {
    Frame open;
    open.PutU8(1).PutU8(0).PutStr8("2001").PutStr8("desk").PutU16(1);
    Write(RequestFrame({kClassSession, kCodeOpen, version, 0}, open.bytes()));
    opened_ = ReadFrame(kWait).has_value();
  }
  bool opened() const { return opened_; }

  void Send(std::uint8_t cls, std::uint8_t code, const Bytes& fields) {
    Write(RequestFrame({cls, code, 0, 0},
                       Frame().PutU32(0x00010001).PutU16(++number_).PutBytes(fields).bytes()));
  }
  void AgentState(std::uint8_t mode) {
    Send(kClassCall, 0xDD,
         Frame().PutStr8("2001").PutU8(mode).PutStr8("a1").PutStr8("g1").PutStr8("p1")
             .PutU8(2).PutU8(1).Take());
  }
  std::uint16_t number() const { return number_; }

  // The next frame: its first byte and, for events, the code at byte 4.
  std::optional<Bytes> Next() { return ReadFrame(kWait); }

 private:
  bool opened_ = false;
  std::uint16_t number_ = 1;
};

std::uint8_t Code(const Bytes& frame) { return frame.size() > 4 ? frame[4] : 0; }

TEST(FlowRunner, TriggersAnswerAgentStateAndMakeCallRequestsAfterTheReply) {
  SimServer sim;
  FlowRunner runner(sim,
                    Parse("on agent-state mode=login push loggedon\n"
                          "on agent-state mode=ready push ready after=20\n"
                          "on make-call push originated\n"
                          "on make-call push cleared after=10\n"),
                    {});
  runner.Start();
  Desk desk(sim, 0);
  ASSERT_TRUE(desk.opened());

  desk.AgentState(0);
  auto reply = desk.Next();
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[0], kReplyFrame);
  auto event = desk.Next();
  ASSERT_TRUE(event);
  EXPECT_EQ((*event)[0], kRequestOrEvent);
  EXPECT_EQ(Code(*event), 201);
  FrameReader body(*event, kEventHead);
  EXPECT_EQ(body.GetStr8(), "2001");
  body.GetU32();
  EXPECT_EQ(body.GetStr8(), "a1");  // agent id, group, then work mode and reason of the request
  EXPECT_EQ(body.GetStr8(), "g1");
  body.GetStr8();
  EXPECT_EQ(body.GetU8(), 1);
  EXPECT_EQ(body.GetU8(), 2);

  desk.AgentState(2);  // no trigger for not ready: its reply, then the next request's
  desk.AgentState(3);
  for (std::uint8_t first : {kReplyFrame, kReplyFrame, kRequestOrEvent}) {
    auto frame = desk.Next();
    ASSERT_TRUE(frame);
    EXPECT_EQ((*frame)[0], first);
    if (first == kRequestOrEvent) {
      EXPECT_EQ(Code(*frame), 204);
    }
  }

  desk.Send(kClassCall, kCodeMakeCall,
            Frame().PutStr8("2001").PutStr8("0212345678").PutStr8("").Take());
  const std::uint32_t call_id = 1000u + desk.number();
  reply = desk.Next();
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[0], kReplyFrame);
  for (auto [code, other] : {std::pair<std::uint8_t, const char*>{10, "0212345678"},
                            std::pair<std::uint8_t, const char*>{3, "2001"}}) {
    event = desk.Next();
    ASSERT_TRUE(event);
    ASSERT_EQ(Code(*event), code);
    FrameReader call(*event, kEventHead);
    EXPECT_EQ(call.GetStr8(), "2001");
    call.GetU32();
    call.GetStr8();
    EXPECT_EQ(call.GetU32(), call_id);
    call.Skip(8);
    EXPECT_EQ(call.GetTaggedStr8().second, other) << int(code);
  }
}

TEST(FlowRunner, TimedStepsWaitForTheLoginThenPushACallAndDropTheLink) {
  SimServer sim;
  FlowRunner runner(
      sim,
      Parse("await agent-state mode=login\n"
            "push delivered call=5001 party=0212345678 queue=1101 uei=\"0^1^2^3^4^5^6^7^8^9^10^11\"\n"
            "push established call=5001 party=0212345678 cnid=90001\n"
            "push cleared call=5001\n"
            "drop\n"),
      {});
  runner.Start();
  Desk desk(sim, 0x28);  // numbers of the tagged block as texts
  ASSERT_TRUE(desk.opened());
  desk.Send(kClassSession, kCodeAddDevice, Frame().PutU8(1).PutU8(0).PutStr8("2001").Take());
  ASSERT_TRUE(desk.Next());
  desk.AgentState(3);  // not the login: the flow still waits
  ASSERT_TRUE(desk.Next());
  desk.AgentState(0);
  ASSERT_TRUE(desk.Next());

  const char* others[] = {"0212345678", "0212345678", "2001"};
  std::size_t i = 0;
  for (std::uint8_t code : {4, 6, 3}) {
    const auto event = desk.Next();
    ASSERT_TRUE(event) << int(code);
    ASSERT_EQ(Code(*event), code);
    EXPECT_EQ((*event)[5], 0x28);  // the session's version byte
    FrameReader call(*event, kEventHead);
    EXPECT_EQ(call.GetStr8(), "2001");  // the registered device
    call.GetU32();
    call.GetStr8();
    EXPECT_EQ(call.GetU32(), 5001u);
    call.Skip(8);
    EXPECT_EQ(call.GetTaggedStr8().second, others[i++]);
    const std::string rest(event->begin() + static_cast<std::ptrdiff_t>(call.position()),
                           event->end());
    if (code == 4) {
      EXPECT_NE(rest.find("0^1^2^3^4^5^6^7^8^9^10^11"), std::string::npos);
      EXPECT_NE(rest.find("\xB5\x04" "1101"), std::string::npos);
    }
    if (code == 6) {
      EXPECT_NE(rest.find("\xAA\xB0\x05" "90001"), std::string::npos);
    }
  }
  EXPECT_TRUE(desk.WaitClosed(kWait));
  EXPECT_TRUE(runner.WaitFinished(kWait));
}

// The demo desk's flow: the outbound call of a dial request is reported as a switch reports it
// on the calling extension, every event naming the make-call's device, call and number, and
// the call rings (delivered, without the last inbound call's UEI) before it is answered.
TEST(FlowRunner, TheDemoFlowReportsTheOutboundCallFromDialToHangUp) {
  FlowError error;
  std::optional<Flow> flow = LoadFlowFile(CTISIM_FLOWS_DIR "/demo.flow", &error);
  ASSERT_TRUE(flow) << error.line << ": " << error.message;
  SimServer sim;
  FlowRunner runner(sim, *flow, {});
  runner.Start();
  Desk desk(sim, 0);
  ASSERT_TRUE(desk.opened());
  desk.Send(kClassCall, kCodeMakeCall,
            Frame().PutStr8("4001").PutStr8("831234567").PutStr8("").Take());
  const std::uint32_t call_id = 1000u + desk.number();
  const auto reply = desk.Next();
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[0], kReplyFrame);

  const auto block = [](std::uint32_t cnid) {  // the tagged block: the number id alone
    return Frame().PutU8(0xAA).PutU8(0xB0).PutU32(cnid).PutU8(0xFF).Take();
  };
  struct Expected {
    std::uint8_t code;
    const char* other;
    std::size_t skip;  // the event's fields after its first party, up to the tagged block:
                       // a tagged number 11 bytes, a tagged device 6, an empty party 1
    Bytes tail;
  };
  const Expected expected[] = {
      {10, "831234567", 11 + 6, block(call_id)},
      {4, "831234567", 1 + 11 + 6 + 13, block(call_id)},
      {6, "831234567", 1 + 11, block(90100)},
      {3, "4001", 0, block(call_id)},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(int(e.code));
    const auto event = desk.ReadFrame(Millis{20000});  // the flow's own pace: ends in 8 s
    ASSERT_TRUE(event);
    ASSERT_EQ(Code(*event), e.code);
    FrameReader call(*event, kEventHead);
    EXPECT_EQ(call.GetStr8(), "4001");
    call.GetU32();
    call.GetStr8();
    EXPECT_EQ(call.GetU32(), call_id);
    call.Skip(8);
    EXPECT_EQ(call.GetTaggedStr8().second, e.other);
    call.Skip(e.skip);
    EXPECT_EQ(call.GetBytes(call.remaining()), e.tail);
  }
  runner.Stop();
}

TEST(FlowRunner, RepeatsPushToEveryLiveConnection) {
  SimServer sim;
  Desk first(sim, 0);
  Desk second(sim, 0);
  ASSERT_TRUE(first.opened() && second.opened());
  FlowRunner runner(sim, Parse("repeat 3\n push ready\n wait 1\nend\n"), {});
  runner.Start();
  for (Desk* desk : {&first, &second}) {
    for (int i = 0; i < 3; ++i) {
      const auto event = desk->Next();
      ASSERT_TRUE(event) << i;
      EXPECT_EQ(Code(*event), 204);
    }
  }
  EXPECT_TRUE(runner.WaitFinished(kWait));
}

TEST(FlowRunner, StopEndsAFlowThatRunsForEverAndItsTriggers) {
  SimServer sim;
  std::optional<FlowRunner> runner;
  runner.emplace(sim, Parse("on open push ready\nrepeat\n wait 3600000\nend\n"), FlowRunner::Options{});
  runner->Start();
  runner->Stop();
  EXPECT_FALSE(runner->WaitFinished(Millis{0}));
  runner.reset();
  Desk desk(sim, 0);  // its open is answered, and nothing is pushed after it
  ASSERT_TRUE(desk.opened());
  desk.AgentState(0);
  const auto frame = desk.Next();
  ASSERT_TRUE(frame);
  EXPECT_EQ((*frame)[0], kReplyFrame);
}

}  // namespace
}  // namespace ctisim
