// The simulator's unscripted replies, read the way the client library reads each request's
// reply: every field where the client looks for it, nothing missing and nothing left over.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "tools/ctisim/frame.h"
#include "tools/ctisim/frame_reader.h"
#include "tools/ctisim/loopback_client.h"
#include "tools/ctisim/sim_server.h"

namespace ctisim {
namespace {

constexpr Millis kWait{5000};
constexpr std::uint32_t kSession = 0x00010001;

class Peer : public LoopbackClient {
 public:
  explicit Peer(const SimServer& sim) : LoopbackClient("127.0.0.1", sim.Port()) {}
  // A request with the common prefix (session id, number) and `fields`.
  void Send(std::uint8_t cls, std::uint8_t code, std::uint16_t number, const Bytes& fields) {
    Write(RequestFrame({cls, code, 0, 0},
                       Frame().PutU32(kSession).PutU16(number).PutBytes(fields).bytes()));
  }
  // An answer to a server request: session id, server request id, number, fields.
  void Answer(std::uint8_t code, std::uint32_t server_id, std::uint16_t number,
              const Bytes& fields) {
    Write(RequestFrame({kClassSession, code, 0, 0}, Frame()
                                                        .PutU32(kSession)
                                                        .PutU32(server_id)
                                                        .PutU16(number)
                                                        .PutBytes(fields)
                                                        .bytes()));
  }
};

// Reads the reply data as the client does; the reader stands on the first data byte.
using DataReader = std::function<void(FrameReader&)>;

struct Kind {
  const char* name;
  std::uint8_t cls;
  std::uint8_t code;
  Bytes fields;
  bool from_byte6;  // read from the frame's first byte: number at 4-5, result at 6-9
  DataReader read;
};

void Str8(FrameReader& r) { r.GetStr8(); }
void Str16(FrameReader& r) { r.GetStr16(); }
void U8(FrameReader& r) { r.GetU8(); }
void U16(FrameReader& r) { r.GetU16(); }
void U32(FrameReader& r) { r.GetU32(); }
DataReader Seq(std::initializer_list<void (*)(FrameReader&)> fields) {
  std::vector<void (*)(FrameReader&)> all(fields);
  return [all](FrameReader& r) {
    for (auto f : all) f(r);
  };
}
// A list whose u16 count is 0.
void EmptyList(FrameReader& r) { EXPECT_EQ(r.GetU16(), 0); }

class DefaultReply : public testing::TestWithParam<Kind> {};

TEST_P(DefaultReply, HoldsWhatTheClientReadsAndSucceeds) {
  const Kind& kind = GetParam();
  SimServer sim;
  Peer peer(sim);
  ASSERT_TRUE(peer.connected());
  peer.Send(kind.cls, kind.code, 77, kind.fields);
  const auto reply = peer.ReadFrame(kWait);
  ASSERT_TRUE(reply);
  ASSERT_EQ((*reply)[0], kReplyFrame);
  FrameReader r(*reply, 4);
  if (kind.from_byte6) {
    EXPECT_EQ(r.GetU16(), 77);  // the outcome line's invoke number
  } else {
    r.Skip(4);
    EXPECT_EQ(r.GetU32(), 1u);
    EXPECT_EQ(r.GetU16(), 77);
  }
  kind.read(r);
  EXPECT_TRUE(r.ok()) << "the reply is shorter than what the client reads";
  EXPECT_EQ(r.remaining(), 0u) << "the reply holds more than the client reads";
}

DataReader Result1ThenNothing() {
  return [](FrameReader& r) { EXPECT_EQ(r.GetU32(), 1u); };
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DefaultReply,
    testing::Values(
        Kind{"AgentState", 0x41, 0xDD, {}, false, [](FrameReader&) {}},
        Kind{"ConsultationCallId", 0x41, 0x3C, {}, false, Seq({U32})},
        Kind{"Monitor", 0x42, 0x46, {}, false, Seq({U8})},
        Kind{"CallToCnid", 0x45, 0x5F, {}, false, Seq({U32})},
        Kind{"MultiAgentGet", 0x45, 0xE6, {}, false, EmptyList},
        Kind{"AgentCountAndSkills", 0x45, 0x5D, {}, false, Seq({U32})},
        Kind{"ReadyRate", 0x45, 0xFB, {}, false, Seq({U32})},
        Kind{"QueryAgentStatusEx", 0x45, 0x6E, {}, false, Seq({Str8, U8, U32, U8, U8, U16, U8})},
        Kind{"WaitTime", 0x45, 0x82, {}, false, Seq({U32, U32})},
        Kind{"NumberOfWait", 0x57, 0x3F, {}, false, Seq({U32})},
        Kind{"UeiData", 0x45, 0xAB, {}, false, Seq({Str16, Str16})},
        Kind{"AgentBlockingEx", 0x45, 0xCB, {}, false, Seq({U32, U32})},
        Kind{"WaitingCalls", 0x45, 0x84, {}, false,
             [](FrameReader& r) {
               r.GetStr8();
               EXPECT_EQ(r.GetU32(), 0u);
             }},
        Kind{"SkillMaster", 0x45, 0xD2, {}, false, EmptyList},
        Kind{"SqlQuery", 0x45, 0x5E, {}, false, Seq({U32, Str16})},
        Kind{"MaxCpsq", 0x45, 0xF6, Frame().PutU32(5).PutU32(6).Take(), false,
             Seq({U32, U32, U32})},
        Kind{"BusyList", 0x45, 0x97, {}, false, EmptyList},
        Kind{"ReadyList", 0x45, 0x98, {}, false, EmptyList},
        Kind{"ReadyListEx", 0x45, 0x60, {}, false, EmptyList},
        Kind{"AgentStatusLastFrame", 0x45, 0xBE, {}, false,
             [](FrameReader& r) { EXPECT_EQ(r.GetU8(), 0); }},  // "more" 0
        Kind{"AgentDirectoryEx", 0x45, 0xC7, {}, false, Seq({Str16, U32})},
        Kind{"MaxCallLoad", 0x45, 0xD6, {}, false,
             [](FrameReader& r) {
               EXPECT_EQ(r.GetU32(), 1u);  // status
               r.GetStr8();
               EXPECT_EQ(r.GetU16(), 0);
             }},
        Kind{"BlackListInsert", 0x45, 0xF7,
             Frame().PutStr8("k").PutStr8("n").PutStr8("d").PutStr8("t").PutStr8("a").Take(),
             true, Result1ThenNothing()},
        Kind{"CallbackCampaign", 0x45, 0xC8, Frame().PutU32(9).Take(), true,
             [](FrameReader& r) {
               EXPECT_EQ(r.GetU32(), 1u);
               EXPECT_EQ(r.GetU16(), 0);  // no campaigns
             }},
        Kind{"CallbackListInsert", 0x45, 0xC9, {}, true, Seq({U32, U32, U32, U32})},
        Kind{"CreateCampaign", 0x45, 0xFA, {}, true,
             [](FrameReader& r) {
               EXPECT_EQ(r.GetU32(), 1u);
               r.GetU32();  // campaign id
             }},
        Kind{"PreviewMakeCall", 0x45, 0xF8, {}, true, Result1ThenNothing()}),
    [](const testing::TestParamInfo<Kind>& info) { return std::string(info.param.name); });

TEST(DefaultReplies, CallingListServiceNamesTheServiceTypeInTheHeadWord) {
  SimServer sim;
  Peer peer(sim);
  ASSERT_TRUE(peer.connected());
  peer.Send(0x45, 0xD5, 3, Frame().PutU16(2).PutU32(1).PutU32(2).PutU32(3).PutU8(1).Take());
  const auto reply = peer.ReadFrame(kWait);
  ASSERT_TRUE(reply);
  FrameReader r(*reply, 6);
  EXPECT_EQ(r.GetU16(), 2);  // compared with the service type asked for
  EXPECT_EQ(r.GetU32(), 1u);
}

TEST(DefaultReplies, NothingAnswersWhatTheClientDoesNotWaitFor) {
  SimServer sim;
  Peer peer(sim);
  ASSERT_TRUE(peer.connected());
  peer.Send(0x45, 0x1E, 2, {});                          // close
  peer.Send(0x45, 0xC0, 3, Frame().PutStr16("trace").Take());
  peer.Send(0x45, 0xC1, 4, Frame().PutStr16("counsel").Take());
  peer.Answer(0xF6, 0x102, 5, Frame().PutU32(1).PutU32(5).PutU32(6).PutU32(30).Take());
  peer.Answer(0xF7, 0x103, 6, Frame().PutU32(1).Take());
  // Answers the client waits for echo their own number (after the server request id).
  peer.Answer(0xF5, 0x104, 7, Frame().PutU32(1).Take());
  peer.Answer(0xC8, 0x105, 8, Frame().PutU32(9).PutU16(1).PutU32(1).PutU32(2).PutU32(3).Take());
  for (std::uint16_t number : {7, 8}) {
    const auto reply = peer.ReadFrame(kWait);
    ASSERT_TRUE(reply);
    FrameReader r(*reply, 8);
    EXPECT_EQ(r.GetU32(), 1u);
    EXPECT_EQ(r.GetU16(), number);
    EXPECT_EQ(r.remaining(), 0u);
  }
  EXPECT_EQ(sim.RequestCount(), 7u);
}

TEST(DefaultReplies, ATestsOwnDefaultRuleStillLeavesTheCloseUnanswered) {
  SimServer sim;
  ReplyRule rule;
  rule.result = 3500;
  sim.SetDefaultRule(rule);
  Peer peer(sim);
  ASSERT_TRUE(peer.connected());
  peer.Send(0x45, 0x1E, 2, {});
  peer.Send(0x45, 0x5F, 3, {});
  const auto reply = peer.ReadFrame(kWait);
  ASSERT_TRUE(reply);
  FrameReader r(*reply, 8);
  EXPECT_EQ(r.GetU32(), 3500u);
  EXPECT_EQ(r.GetU16(), 3);
  EXPECT_EQ(r.remaining(), 0u);  // exactly the test's rule: no data of the kind's own
}

}  // namespace
}  // namespace ctisim
