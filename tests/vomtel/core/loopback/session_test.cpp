// CSession against the simulator: open in both modes, the session-level requests and their
// counters, the device list, close, and the reconnect loop that the session owns.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/vomtel/core/loopback/loopback_fixture.h"
#include "vomtel/core/frame.h"
#include "vomtel/core/result_codes.h"
#include "vomtel/core/session.h"
#include "vomtel/core/socket_service.h"

namespace vomtel::test {
namespace {

using ctisim::SimServer;

struct OpenCase {
  SessionMode mode;
  std::uint8_t flag;  // active flag of the server's open reply
  SessionState state;
};

class SessionOpen : public ::testing::TestWithParam<OpenCase> {};

TEST_P(SessionOpen, StateCountersAndHeader) {
  ctisim::SimOptions options = SimAt("127.0.0.1", GetParam().flag, 0x80000001);
  options.open.version = 0x50;
  SimServer server(options);
  CSession session(server.Port(), 4, "127.0.0.1", "3001", "agentapp", ShortTimings());
  session.SetDType(1);
  session.SetVersion(0x28);
  session.SetHeaderWord(0x0102);

  ASSERT_EQ(session.Open(GetParam().mode), kOk);
  EXPECT_EQ(session.State(), GetParam().state);
  EXPECT_EQ(session.SessionId(), 0x80000001u);  // the top bit set is a session like any other
  EXPECT_EQ(session.Version(), 0x50);           // taken from the open reply
  EXPECT_EQ(session.OpenMode(), GetParam().mode);
  EXPECT_EQ(session.Counter(), 2);
  ASSERT_EQ(session.MonitorStart(), kOk);

  const auto open = server.WaitForRequest(kClassSession, kCodeOpen, kPatience);
  ASSERT_TRUE(open);
  const ctisim::OpenBody body = ctisim::DecodeOpenBody(open->body);
  EXPECT_EQ(body.device_type, 1);
  EXPECT_EQ(body.ext, 4);
  EXPECT_EQ(body.dn, "3001");
  EXPECT_EQ(body.application, "agentapp");
  EXPECT_EQ(body.counter, 1);
  EXPECT_EQ(open->version, 0x28);
  EXPECT_EQ(open->word, 0x0102);

  const auto monitor = server.WaitForRequest(kClassMonitor, kCodeMonitorStart, kPatience);
  ASSERT_TRUE(monitor);
  EXPECT_EQ(monitor->number, 3);
  EXPECT_EQ(monitor->session_id, 0x80000001u);
  EXPECT_EQ(monitor->version, 0x50);
  EXPECT_EQ(monitor->word, 0x0102);
}

INSTANTIATE_TEST_SUITE_P(Modes, SessionOpen,
                         ::testing::Values(OpenCase{SessionMode::kHa, 1, kStateActive},
                                           OpenCase{SessionMode::kHa, 0, kStateStandby},
                                           OpenCase{SessionMode::kHa, 2, kStateStandby},
                                           OpenCase{SessionMode::kSingle, 0, kStateActive}));

// Every failed open leaves the state as it was and no connection behind.
TEST(Session, FailedOpenLeavesNoConnection) {
  SimServer server(SimAt("127.0.0.1"));
  CSession session(server.Port(), 0, "127.0.0.1", "3001", "app", ShortTimings());

  ctisim::ReplyRule refused;
  refused.result = 7;
  refused.session_id = 0x1234;
  server.AddOnceRule(kClassSession, kCodeOpen, refused);
  EXPECT_EQ(session.Open(SessionMode::kHa), 7);
  EXPECT_EQ(session.SessionId(), 0x1234u);  // read before the result is looked at
  EXPECT_EQ(session.State(), kStateConstructed);
  EXPECT_TRUE(server.WaitForLiveConnections(0, kPatience));

  ctisim::ReplyRule withheld;
  withheld.withhold = true;
  server.AddOnceRule(kClassSession, kCodeOpen, withheld);
  EXPECT_EQ(session.Open(SessionMode::kHa), kTimeout);
  EXPECT_TRUE(server.WaitForLiveConnections(0, kPatience));

  CSession nowhere(1, 0, "127.0.0.1", "3001", "app", ShortTimings());
  EXPECT_EQ(nowhere.Open(SessionMode::kSingle), kNotConnected);

  CSession longDn(server.Port(), 0, "127.0.0.1", std::string(256, '1'), "app", ShortTimings());
  EXPECT_EQ(longDn.Open(SessionMode::kSingle), kTextTooLong);
  EXPECT_EQ(server.AcceptedConnections(), 2);  // nothing connected for the too long DN
}

TEST(Session, DeviceList) {
  SimServer server(SimAt("127.0.0.1"));
  CSession session(server.Port(), 0, "127.0.0.1", "3001", "app", ShortTimings());
  EXPECT_EQ(session.AddDevice("3001", 1, 0), kNotConnected);  // not open: nothing sent
  ASSERT_EQ(session.Open(SessionMode::kSingle), kOk);

  EXPECT_EQ(session.AddDevice("3001", 1, 0), kOk);
  EXPECT_EQ(session.AddDevice("3001", 1, 0), kOk);
  EXPECT_EQ(session.AddDevice("3002", 2, 1), kOk);
  ctisim::ReplyRule refused;
  refused.result = 9;
  server.AddOnceRule(kClassSession, kCodeAddDevice, refused);
  EXPECT_EQ(session.AddDevice("3003", 1, 0), 9);
  EXPECT_EQ(session.Devices(),
            (std::vector<DeviceEntry>{{"3001", 1, 0}, {"3002", 2, 1}}));

  EXPECT_EQ(session.RemoveDevice("3001"), kOk);
  EXPECT_EQ(session.Devices(), (std::vector<DeviceEntry>{{"3002", 2, 1}}));
  EXPECT_EQ(session.AddDevice(std::string(256, '9'), 1, 0), kTextTooLong);
}

// A request waiting for its reply when the link ends learns so at once (3014) instead of
// waiting out its reply wait; a reply that came before the end is still its reply.
TEST(Session, EndOfTheLinkEndsTheReplyWait) {
  struct Case {
    const char* name;
    bool answered;  // the reply goes out before the link is dropped
    int result;
  };
  for (const Case& c : {Case{"dropped while the reply is awaited", false, kNotConnected},
                        Case{"answered, then dropped", true, kOk}}) {
    SimServer server(SimAt("127.0.0.1"));
    Timings timings = ShortTimings();
    timings.replyUnit = milliseconds(5000);  // AddDevice waits 15 s
    CSession session(server.Port(), 0, "127.0.0.1", "3001", "app", timings);
    ASSERT_EQ(session.Open(SessionMode::kSingle), kOk) << c.name;
    ctisim::ReplyRule rule;
    rule.withhold = !c.answered;
    rule.drop_after = true;
    server.AddOnceRule(kClassSession, kCodeAddDevice, rule);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(session.AddDevice("3001", 1, 0), c.result) << c.name;
    EXPECT_LT(std::chrono::steady_clock::now() - started, milliseconds(5000)) << c.name;
    EXPECT_TRUE(WaitLinkLost(session)) << c.name << ": the notice is queued for the fetch";
    EXPECT_EQ(session.Devices().size(), c.answered ? 1u : 0u) << c.name;
  }
}

// Writers that race the end of the link: every one returns at once, 1 while its bytes went out
// and 3014 once the link has ended, never 3013 after its send wait.
TEST(Session, WritersRacingTheEndOfTheLinkFailAtOnce) {
  SimServer server(SimAt("127.0.0.1"));
  Timings timings = ShortTimings();
  timings.sendWait = milliseconds(20000);
  CSession session(server.Port(), 0, "127.0.0.1", "3001", "app", timings);
  ASSERT_EQ(session.Open(SessionMode::kSingle), kOk);
  Stream body;
  body.PutU32(session.SessionId()).PutU16(9);
  std::vector<std::thread> writers;
  std::vector<std::vector<int>> results(4);
  std::vector<std::chrono::steady_clock::duration> longest(4, std::chrono::steady_clock::duration::zero());
  for (std::size_t i = 0; i < results.size(); ++i) {
    writers.emplace_back([&, i] {
      for (;;) {
        StreamPtr frame = BuildRequestFrame(body, kClassMonitor, kCodeMonitorStart, 0, 0);
        const auto started = std::chrono::steady_clock::now();
        const int result = session.Send(*frame);
        longest[i] = std::max(longest[i], std::chrono::steady_clock::now() - started);
        results[i].push_back(result);
        if (result != kOk) return;
        // Paced a little: a flood that never lets up would only measure the simulator's thread.
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      }
    });
  }
  EXPECT_TRUE(server.WaitForRequestCount(200, kPatience));
  server.DropConnections(true);
  for (auto& writer : writers) writer.join();
  for (std::size_t i = 0; i < results.size(); ++i) {
    EXPECT_EQ(results[i].back(), kNotConnected) << "writer " << i;
    EXPECT_LT(longest[i], milliseconds(5000)) << "writer " << i;
  }
}

// A reply that comes after its request gave up answers nothing that is asked later: neither
// the session's own next request nor a request operation reading through the session takes it.
TEST(Session, LateRepliesAreNotTakenForLaterRequests) {
  SimServer server(SimAt("127.0.0.1"));
  Timings timings = ShortTimings();
  timings.replyUnit = milliseconds(200);
  CSession session(server.Port(), 0, "127.0.0.1", "3001", "app", timings);
  ASSERT_EQ(session.Open(SessionMode::kSingle), kOk);
  auto replyQueued = [&] {
    return WaitUntil([&] { return session.Socket().RecvQueue().ReplyCount() == 1; });
  };
  // A monitor start that gives up; its reply is sent once it has.
  ctisim::ReplyRule withheld;
  withheld.withhold = true;
  auto monitorStartGivesUp = [&] {
    server.AddOnceRule(kClassMonitor, kCodeMonitorStart, withheld);
    EXPECT_EQ(session.MonitorStart(), kTimeout);
    const auto request = server.WaitForRequest(kClassMonitor, kCodeMonitorStart, kPatience,
                                               server.CountRequests(kClassMonitor, kCodeMonitorStart));
    ASSERT_TRUE(request);
    ASSERT_EQ(server.Send(ctisim::ReplyFrame({kClassMonitor, kCodeMonitorStart, 0, 0}, 7,
                                             request->number)),
              1);
  };

  // The session's own request gives up, then the next one comes.
  monitorStartGivesUp();
  ASSERT_TRUE(replyQueued());
  EXPECT_EQ(session.AddDevice("3001", 1, 0), kOk);
  EXPECT_EQ(session.Devices().size(), 1u);

  // A reply of a request operation that gave up, then the session's own request.
  session.GivenUp().GiveUp(kClassCall, kCodeMakeCall, 999, false);
  ASSERT_EQ(server.Send(ctisim::ReplyFrame({kClassCall, kCodeMakeCall, 0, 0}, 9, 999)), 1);
  ASSERT_TRUE(replyQueued());
  EXPECT_EQ(session.AddDevice("3002", 1, 0), kOk);
  EXPECT_EQ(session.Devices().size(), 2u);

  // The session's own request gives up, then a request operation waits for its reply.
  monitorStartGivesUp();
  ASSERT_TRUE(replyQueued());
  Stream reply;
  EXPECT_EQ(session.ReadReply(reply, milliseconds(50)), kTimeout);
  EXPECT_EQ(session.Socket().RecvQueue().ReplyCount(), 0u);
}

// A server that numbers its replies otherwise than the requests: the session's own requests
// take the next reply all the same, and the close's monitor stop does not wait out its time.
TEST(Session, OwnRequestsTakeTheNextReplyWhateverItsNumber) {
  SimServer server(SimAt("127.0.0.1"));
  ctisim::ReplyRule otherNumber;
  otherNumber.number = 0xBEEF;
  for (const auto& [cls, code] : {std::pair{kClassMonitor, kCodeMonitorStart},
                                  std::pair{kClassMonitor, kCodeMonitorStop},
                                  std::pair{kClassSession, kCodeAddDevice},
                                  std::pair{kClassSession, ctisim::kCodeRemoveDevice}}) {
    server.SetRule(cls, code, otherNumber);
  }
  const Timings timings = ShortTimings();
  CSession session(server.Port(), 0, "127.0.0.1", "3001", "app", timings);
  ASSERT_EQ(session.Open(SessionMode::kSingle), kOk);

  EXPECT_EQ(session.MonitorStart(), kOk);
  EXPECT_EQ(session.AddDevice("3001", 1, 0), kOk);
  EXPECT_EQ(session.Devices().size(), 1u);
  EXPECT_EQ(session.RemoveDevice("3001"), kOk);
  EXPECT_TRUE(session.Devices().empty());
  EXPECT_EQ(session.MonitorStop(), kOk);

  const auto start = std::chrono::steady_clock::now();
  session.Close();
  EXPECT_LT(std::chrono::steady_clock::now() - start, timings.ReplyWait(3));
  ASSERT_TRUE(server.WaitForRequest(kClassSession, kCodeClose, kPatience));
  EXPECT_EQ(session.Socket().RecvQueue().ReplyCount(), 0u);
}

TEST(Session, CloseStopsMonitorAndSendsClose) {
  SimServer server(SimAt("127.0.0.1"));
  {
    CSession never(server.Port(), 0, "127.0.0.1", "3001", "app", ShortTimings());
    never.Close();  // never opened: nothing to send
  }
  EXPECT_EQ(server.AcceptedConnections(), 0);

  CSession session(server.Port(), 0, "127.0.0.1", "3001", "app", ShortTimings());
  ASSERT_EQ(session.Open(SessionMode::kSingle), kOk);
  session.Close();
  EXPECT_TRUE(session.Stopped());
  ASSERT_TRUE(server.WaitForRequestCount(3, kPatience));
  EXPECT_EQ(ClassesAndCodes(server.Received()),
            (std::vector<std::pair<int, int>>{
                {kClassSession, kCodeOpen}, {kClassMonitor, kCodeMonitorStop}, {kClassSession, kCodeClose}}));
  EXPECT_TRUE(server.WaitForLiveConnections(0, kPatience));
}

// At process exit the sessions go without a word to the server.
TEST(Session, DestructionSendsNothing) {
  SimServer server(SimAt("127.0.0.1"));
  {
    CSession session(server.Port(), 0, "127.0.0.1", "3001", "app", ShortTimings());
    ASSERT_EQ(session.Open(SessionMode::kSingle), kOk);
  }
  EXPECT_TRUE(server.WaitForLiveConnections(0, kPatience));
  EXPECT_EQ(server.RequestCount(), 1u);  // the open only
}

// A monitor start that fails makes the loop open again on a new connection; once it succeeds
// the listed devices are registered again, in their order.
TEST(Session, ReconnectLoopReopensAndRegistersDevices) {
  SimServer server(SimAt("127.0.0.1"));
  CSession session(server.Port(), 0, "127.0.0.1", "3001", "app", ShortTimings());
  ASSERT_EQ(session.Open(SessionMode::kSingle), kOk);
  ASSERT_EQ(session.AddDevice("3001", 1, 0), kOk);
  ASSERT_EQ(session.AddDevice("3002", 1, 0), kOk);

  server.DropConnections();
  ASSERT_TRUE(WaitUntil([&] { return session.Stopped(); }));
  server.ClearReceived();
  ctisim::ReplyRule refused;
  refused.result = 5;
  server.AddOnceRule(kClassMonitor, kCodeMonitorStart, refused);

  session.StartTryOpen(SessionMode::kSingle);
  session.StartTryOpen(SessionMode::kSingle);  // one loop at a time
  ASSERT_TRUE(WaitUntil([&] { return !session.Reconnecting(); }));
  EXPECT_EQ(session.State(), kStateActive);
  EXPECT_FALSE(session.Stopped());

  const auto received = server.Received();
  EXPECT_EQ(ClassesAndCodes(received),
            (std::vector<std::pair<int, int>>{{kClassSession, kCodeOpen},
                                              {kClassMonitor, kCodeMonitorStart},
                                              {kClassSession, kCodeOpen},
                                              {kClassMonitor, kCodeMonitorStart},
                                              {kClassSession, kCodeAddDevice},
                                              {kClassSession, kCodeAddDevice}}));
  ASSERT_EQ(received.size(), 6u);
  EXPECT_NE(received[0].connection, received[2].connection);  // reopened on a new connection
  EXPECT_EQ(received[4].body.back(), '1');                    // 3001 first, then 3002
  EXPECT_EQ(received[5].body.back(), '2');
  EXPECT_EQ(server.LiveConnections(), 1);
}

// A link that ends while the loop registers the devices is opened again by the same loop,
// but no sooner than one retry period after the attempt before.
TEST(Session, ReconnectLoopKeepsItsPeriodWhenTheLinkEndsAtOnce) {
  SimServer server(SimAt("127.0.0.1"));
  CSession session(server.Port(), 0, "127.0.0.1", "3001", "app", ShortTimings());
  ASSERT_EQ(session.Open(SessionMode::kSingle), kOk);
  ASSERT_EQ(session.AddDevice("3001", 1, 0), kOk);
  ASSERT_EQ(session.AddDevice("3002", 1, 0), kOk);
  server.DropConnections();
  ASSERT_TRUE(WaitUntil([&] { return session.Stopped(); }));
  server.ClearReceived();

  ctisim::ReplyRule dropping;
  dropping.drop_after = true;  // answered, then the link goes
  server.AddOnceRule(kClassSession, kCodeAddDevice, dropping);
  session.StartTryOpen(SessionMode::kSingle);
  ASSERT_TRUE(server.WaitForRequest(kClassSession, kCodeOpen, kPatience, 2));
  ASSERT_TRUE(WaitUntil([&] { return !session.Reconnecting(); }));
  EXPECT_EQ(session.State(), kStateActive);
  EXPECT_FALSE(session.Stopped());

  std::vector<ctisim::Request> opens;
  for (const auto& request : server.Received()) {
    if (request.cls == kClassSession && request.code == kCodeOpen) opens.push_back(request);
  }
  ASSERT_EQ(opens.size(), 2u);
  // A loop that did not keep its period would try again at once (a gap of a few milliseconds);
  // the server's stamps may each come late on a busy machine, so half the period is the floor.
  EXPECT_GE(opens[1].received_at - opens[0].received_at, ShortTimings().retryPeriod / 2);
}

// Close ends the reconnect loop and waits for it: no attempt completes after Close, and no
// connection of the session stays up.
TEST(Session, CloseDuringRetryLeavesNoConnection) {
  SimServer server(SimAt("127.0.0.1"));
  CSession session(server.Port(), 0, "127.0.0.1", "3001", "app", ShortTimings());

  // Between attempts: the server refuses connections.
  server.StopListening();
  session.StartTryOpen(SessionMode::kSingle);
  ASSERT_TRUE(session.Reconnecting());
  session.Close();
  EXPECT_FALSE(session.Reconnecting());
  ASSERT_TRUE(server.ResumeListening());
  EXPECT_EQ(AcceptedBeforeProbe(server), 0);
}

TEST(Session, CloseDuringAnAttemptLeavesNoConnection) {
  SimServer server(SimAt("127.0.0.1"));
  CSession session(server.Port(), 0, "127.0.0.1", "3001", "app", ShortTimings());
  // The attempt is under way when Close comes: its open reply is on its way.
  ctisim::ReplyRule late;
  late.shape.delay = milliseconds(150);
  server.AddOnceRule(kClassSession, kCodeOpen, late);
  session.StartTryOpen(SessionMode::kSingle);
  ASSERT_TRUE(server.WaitForRequest(kClassSession, kCodeOpen, kPatience));
  session.Close();
  EXPECT_FALSE(session.Reconnecting());
  EXPECT_TRUE(server.WaitForLiveConnections(0, kPatience));
  EXPECT_EQ(AcceptedBeforeProbe(server), 1);
  EXPECT_EQ(server.LiveConnections(), 0);
}

}  // namespace
}  // namespace vomtel::test
