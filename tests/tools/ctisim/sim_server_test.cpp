// The simulator as a peer: a plain POSIX client talks to it over loopback.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>

#include "tools/ctisim/envelope.h"
#include "tools/ctisim/frame.h"
#include "tools/ctisim/frame_reader.h"
#include "tools/ctisim/loopback_client.h"
#include "tools/ctisim/sim_server.h"

namespace ctisim {
namespace {

using Clock = std::chrono::steady_clock;
constexpr Millis kWait{2000};

// The client side of every test: blocking, with a deadline on every read.
class Client : public LoopbackClient {
 public:
  using LoopbackClient::LoopbackClient;
  std::optional<Bytes> ReadFrame(Millis timeout = kWait) { return LoopbackClient::ReadFrame(timeout); }
  bool WaitClosed(Millis timeout = kWait) { return LoopbackClient::WaitClosed(timeout); }
  void Write(const Bytes& bytes) { ASSERT_TRUE(LoopbackClient::Write(bytes)); }
};

Bytes OpenFrame(std::uint16_t counter = 1, std::uint8_t version = 0) {
  Frame body;
  body.PutU8(1).PutU8(0).PutStr8("3001").PutStr8("test").PutU16(counter);
  return RequestFrame({kClassSession, kCodeOpen, version, 0}, body.bytes());
}

Bytes Request(std::uint8_t cls, std::uint8_t code, std::uint16_t number, const Bytes& fields = {}) {
  Frame body;
  body.PutU32(0x00010001).PutU16(number).PutBytes(fields);
  return RequestFrame({cls, code, 0, 0}, body.bytes());
}

std::uint32_t Result(const Bytes& reply) { return FrameReader(reply, 8).GetU32(); }
std::uint16_t Number(const Bytes& reply) { return FrameReader(reply, 12).GetU16(); }

TEST(CtisimServer, AnswersTheOpenAndEveryRequestByDefault) {
  SimOptions options;
  options.address = "127.0.0.2";
  options.open.session_id = 0x80000005;
  options.open.active_flag = 2;
  options.open.version = 0x50;
  SimServer sim(options);
  Client client("127.0.0.2", sim.Port());
  ASSERT_TRUE(client.connected());
  ASSERT_TRUE(sim.WaitForLiveConnections(1, kWait));

  client.Write(OpenFrame(1, 0x28));
  auto open = client.ReadFrame();
  ASSERT_TRUE(open);
  FrameReader r(*open, 5);
  EXPECT_EQ(r.GetU8(), 0x50);  // the configured version byte
  r.Skip(2);
  EXPECT_EQ(r.GetU32(), 1u);           // result, bytes 8-11
  EXPECT_EQ(r.GetU32(), 0x80000005u);  // session id, bytes 12-15
  EXPECT_EQ(r.GetU16(), 1);            // bytes 16-17
  r.Skip(4);
  EXPECT_EQ(r.GetU8(), 2);  // HA flag, byte 22

  client.Write(Request(kClassMonitor, kCodeMonitorStart, 3));
  auto reply = client.ReadFrame();
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[0], kReplyFrame);
  EXPECT_EQ((*reply)[3], kClassMonitor);
  EXPECT_EQ((*reply)[4], kCodeMonitorStart);
  EXPECT_EQ(Result(*reply), 1u);
  EXPECT_EQ(Number(*reply), 3);

  // The close request is sent without waiting and gets no reply.
  client.Write(Request(kClassSession, kCodeClose, 4));
  ASSERT_TRUE(sim.WaitForRequest(kClassSession, kCodeClose, kWait));
  EXPECT_FALSE(client.ReadFrame(Millis{100}));

  const std::vector<ctisim::Request> got = sim.Received();
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].number, 1);
  EXPECT_EQ(got[0].version, 0x28);
  EXPECT_EQ(got[1].session_id, 0x00010001u);
  EXPECT_EQ(got[2].connection, got[0].connection);
  EXPECT_EQ(sim.CountRequests(kClassMonitor, kCodeMonitorStart), 1u);
}

TEST(CtisimServer, ReassemblesSplitRequestsAndSkipsJunk) {
  SimServer sim;
  Client client(sim.Address(), sim.Port());
  Bytes stream{0x00, 0x7F};
  const Bytes first = Request(kClassCall, kCodeMakeCall, 10, Frame().PutStr8("3001").bytes());
  const Bytes second = Request(kClassCall, 0x66, 11);
  stream.insert(stream.end(), first.begin(), first.end());
  stream.insert(stream.end(), second.begin(), second.end());
  for (std::uint8_t b : stream) client.Write({b});
  ASSERT_TRUE(sim.WaitForRequestCount(2, kWait));
  const auto got = sim.Received();
  EXPECT_EQ(got[0].Fields().GetStr8(), "3001");
  EXPECT_EQ(got[0].frame, first);
  EXPECT_EQ(got[1].frame, second);
  EXPECT_EQ(sim.JunkReceived(), 2u);
  // Both replies come back, in order.
  EXPECT_EQ(Number(*client.ReadFrame()), 10);
  EXPECT_EQ(Number(*client.ReadFrame()), 11);
}

TEST(CtisimServer, ScriptedWithheldAndDelayedReplies) {
  SimServer sim;
  Client client(sim.Address(), sim.Port());
  ReplyRule failing;
  failing.result = 3500;
  failing.number = 0x7777;
  failing.data = {0xDE, 0xAD};
  sim.SetRule(kClassCall, 0x70, failing);
  ReplyRule withheld;
  withheld.withhold = true;
  sim.AddOnceRule(kClassCall, kCodeMakeCall, withheld);
  ReplyRule late;
  late.shape.delay = Millis{150};
  sim.AddOnceRule(kClassCall, kCodeMakeCall, late);

  client.Write(Request(kClassCall, 0x70, 5));
  auto reply = client.ReadFrame();
  ASSERT_TRUE(reply);
  EXPECT_EQ(Result(*reply), 3500u);
  EXPECT_EQ(Number(*reply), 0x7777);
  EXPECT_EQ(Bytes(reply->begin() + 14, reply->end()), (Bytes{0xDE, 0xAD}));

  client.Write(Request(kClassCall, kCodeMakeCall, 6));  // withheld
  ASSERT_TRUE(sim.WaitForRequest(kClassCall, kCodeMakeCall, kWait));
  EXPECT_FALSE(client.ReadFrame(Millis{100}));

  const auto sent_at = Clock::now();
  client.Write(Request(kClassCall, kCodeMakeCall, 7));  // delayed
  reply = client.ReadFrame();
  ASSERT_TRUE(reply);
  EXPECT_GE(Clock::now() - sent_at, Millis{150});
  EXPECT_EQ(Number(*reply), 7);

  client.Write(Request(kClassCall, kCodeMakeCall, 8));  // once-rules used up: the default
  reply = client.ReadFrame();
  ASSERT_TRUE(reply);
  EXPECT_EQ(Number(*reply), 8);
  EXPECT_EQ(Result(*reply), 1u);

  sim.SetSilent(true);
  client.Write(Request(kClassCall, 0x70, 9));
  ASSERT_TRUE(sim.WaitForRequest(kClassCall, 0x70, kWait, 2));
  EXPECT_FALSE(client.ReadFrame(Millis{100}));
  auto ninth = sim.WaitForRequestMatching([](const ctisim::Request& r) { return r.number == 9; },
                                          kWait);
  ASSERT_TRUE(ninth);
  EXPECT_EQ(ninth->code, 0x70);
  EXPECT_FALSE(sim.WaitForRequest(kClassCall, 0x70, Millis{0}, 3));
}

TEST(CtisimServer, MultiFrameAnswersAndHooks) {
  SimServer sim;
  Client client(sim.Address(), sim.Port());
  ReplyRule multi;
  multi.data = {1};
  multi.more = {{1}, {0}};
  multi.lists = {{0xAB, 0xCD}};
  multi.gap = Millis{20};
  sim.SetRule(kClassSession, 0x71, multi);
  client.Write(Request(kClassSession, 0x71, 5));
  for (std::uint8_t more : {1, 1, 0}) {
    auto f = client.ReadFrame();
    ASSERT_TRUE(f);
    EXPECT_EQ((*f)[0], kReplyFrame);
    EXPECT_EQ((*f)[14], more);
  }
  auto list = client.ReadFrame();
  ASSERT_TRUE(list);
  EXPECT_EQ(*list, ListFrame({0xAB, 0xCD}));

  // A hook sees the decoded request, pushes an event before its own reply and drops the link.
  ReplyRule hook;
  hook.hook = [&sim](const ctisim::Request& r) {
    sim.PushEvent(6, Frame().PutStr8("3001").bytes(), {}, r.connection);
    return std::vector<Bytes>{ReplyFrame({r.cls, r.code, 0, 0}, 1, r.number)};
  };
  hook.drop_after = true;
  sim.SetRule(kClassCall, 0x72, hook);
  client.Write(Request(kClassCall, 0x72, 6));
  auto event = client.ReadFrame();
  ASSERT_TRUE(event);
  EXPECT_EQ((*event)[4], 6);
  auto reply = client.ReadFrame();
  ASSERT_TRUE(reply);
  EXPECT_EQ(Number(*reply), 6);
  EXPECT_TRUE(client.WaitClosed());
  EXPECT_TRUE(sim.WaitForLiveConnections(0, kWait));
}

TEST(CtisimServer, PushesFramesSplitCoalescedAndEnciphered) {
  SimServer sim;
  Client client(sim.Address(), sim.Port());
  ASSERT_TRUE(sim.WaitForLiveConnections(1, kWait));

  const Bytes event = EventFrame(4, Frame().PutStr8("3001").PutU32(1).bytes());
  SendShape split;
  split.chunks = {1, 1, 5};
  // Far apart, so that a reader kept from the processor on a busy machine still finds each
  // piece alone.
  split.chunk_gap = Millis{150};
  EXPECT_EQ(sim.Send(event, kAllConnections, split), 1);
  EXPECT_EQ(client.ReadFrame(), event);
  EXPECT_GE(client.reads(), 4);  // the pieces arrived apart

  Bytes both = HaNoticeFrame(false);
  const Bytes list = ListFrame({9});
  both.insert(both.end(), list.begin(), list.end());
  sim.Send(both);
  auto ha = client.ReadFrame();
  ASSERT_TRUE(ha);
  EXPECT_EQ((*ha)[4], kEventHaNotice);
  EXPECT_EQ((*ha)[31], 0);
  EXPECT_EQ(client.ReadFrame(), list);

  sim.PushEnvelope(event, CipheredNonce(5800));
  auto env = client.ReadFrame();
  ASSERT_TRUE(env);
  EXPECT_EQ(OpenEnvelope(*env), event);
  sim.PushEmptyEnvelope(0x83);
  EXPECT_EQ(client.ReadFrame(), EmptyEnvelope(0x83));

  // A delayed batch lets a later undelayed one pass.
  SendShape later;
  later.delay = Millis{100};
  sim.PushList({1}, kAllConnections, later);
  sim.PushList({2});
  EXPECT_EQ(client.ReadFrame(), ListFrame({2}));
  EXPECT_EQ(client.ReadFrame(), ListFrame({1}));
  EXPECT_TRUE(sim.WaitUntilSent(kWait));

  // Sealing everything the server builds: answers and pushed frames alike.
  sim.SetEnvelopeNonce(CipheredNonce(777));
  client.Write(Request(kClassCall, 0x70, 12));
  env = client.ReadFrame();
  ASSERT_TRUE(env);
  EXPECT_EQ(OpenEnvelope(*env), ReplyFrame({kClassCall, 0x70, 0, 0}, 1, 12));
  sim.PushHaNotice(true);
  env = client.ReadFrame();
  ASSERT_TRUE(env);
  EXPECT_EQ(OpenEnvelope(*env), HaNoticeFrame(true));
  sim.SetEnvelopeNonce(std::nullopt);

  sim.SetKeepAlive(Millis{10});
  for (int beat = 0; beat < 2; ++beat) {
    auto f = client.ReadFrame();
    ASSERT_TRUE(f);
    EXPECT_EQ(*f, EventFrame(0, {}));
  }
  sim.SetKeepAlive(Millis{0});
}

TEST(CtisimServer, DropsRefusesAndStopsListening) {
  SimServer sim;
  {
    Client a(sim.Address(), sim.Port());
    Client b(sim.Address(), sim.Port());
    ASSERT_TRUE(sim.WaitForLiveConnections(2, kWait));
    sim.DropConnections();
    EXPECT_EQ(sim.LiveConnections(), 0);
    EXPECT_TRUE(a.WaitClosed());
    EXPECT_TRUE(b.WaitClosed());
  }
  {
    Client c(sim.Address(), sim.Port());
    ASSERT_TRUE(sim.WaitForLiveConnections(1, kWait));
    sim.PushList({7});
    sim.CloseAfterSent();
    EXPECT_EQ(c.ReadFrame(), ListFrame({7}));
    EXPECT_TRUE(c.WaitClosed());
  }
  sim.SetAccepting(false);
  {
    Client d(sim.Address(), sim.Port());
    EXPECT_TRUE(d.WaitClosed());
    EXPECT_TRUE(sim.WaitForAccepted(4, kWait));
    EXPECT_EQ(sim.LiveConnections(), 0);
  }
  sim.SetAccepting(true);
  sim.StopListening();
  EXPECT_FALSE(Client(sim.Address(), sim.Port()).connected());
  ASSERT_TRUE(sim.ResumeListening());
  Client e(sim.Address(), sim.Port());
  ASSERT_TRUE(e.connected());
  e.Write(Request(kClassCall, 0x70, 1));
  EXPECT_TRUE(e.ReadFrame());
  sim.Stop();
  EXPECT_TRUE(e.WaitClosed());
}

TEST(CtisimServer, RefusesAddressesOutsideLoopback) {
  SimOptions options;
  options.address = "0.0.0.0";
  EXPECT_THROW(SimServer{options}, std::runtime_error);
}

}  // namespace
}  // namespace ctisim
