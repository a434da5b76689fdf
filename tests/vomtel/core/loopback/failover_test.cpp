// Gates over the simulator: HA open, the retry of an unreachable server, fail-over on a lost
// or demoted active session, one-server gates that come back or not, stale notices, close in
// the middle of a fail-over, and gate numbering.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/vomtel/core/loopback/loopback_fixture.h"
#include "vomtel/core/frame.h"
#include "vomtel/core/result_codes.h"
#include "vomtel/core/session.h"
#include "vomtel/core/session_proxy.h"
#include "vomtel/core/socket_service.h"

namespace vomtel::test {
namespace {

using ctisim::SimServer;

class GateTest : public ::testing::Test {
 protected:
  GateTest() : a_(SimAt("127.0.0.1", 1, 0x80001001)), b_(SimAt("127.0.0.2", 0, 0x2002)) {}

  void Add(SimServer& server) {
    proxy_.AddSession(server.Port(), 0, 1, 0, 0, server.Address(), "3001", "app");
  }
  int OpenGate(std::initializer_list<SimServer*> servers, int* gate, int heartbeatMs = 40000) {
    for (SimServer* server : servers) Add(*server);
    return proxy_.Open(heartbeatMs, 0, 10000, gate);
  }
  std::shared_ptr<CSession> SessionOf(int gate, const SimServer& server) {
    for (const auto& session : proxy_.Table().Sessions(gate)) {
      if (session->Ip() == server.Address() && session->Port() == server.Port()) return session;
    }
    return nullptr;
  }
  // One request on the gate, sent and answered: the server that answers it is its session's.
  // It takes the request operations' path: the gate's active session looked up once, its
  // exchange lock held (so that a reconnect loop's own requests do not run in between), the
  // frame sent on it and its reply awaited through the session's reply policy. The reply's
  // result word, or the library's code when there was no reply.
  int Request(int gate) {
    const std::shared_ptr<CSession> session = proxy_.FindActive(gate);
    if (!session) return kNotConnected;
    const auto exchange = session->LockExchange();
    constexpr std::uint16_t kNumber = 77;
    Stream body;
    body.PutU32(session->SessionId()).PutU16(kNumber);
    StreamPtr frame = BuildRequestFrame(body, kClassCall, kCodeMakeCall, 0, 0);
    const int sent = session->Send(*frame);
    if (sent != kOk) return sent;
    Stream reply;
    const AwaitedReply awaited{AwaitedReply::Kind::kNumbered, kClassCall, kCodeMakeCall, kNumber};
    const int replied = session->ReadReply(reply, session->GetTimings().ReplyWait(1), awaited);
    return replied == kOk ? static_cast<int>(ReplyResultWord(reply)) : replied;
  }
  // Fetches events until `done` holds; the last fetch's result.
  int FetchUntil(int gate, const std::function<bool()>& done, Stream& event,
                 milliseconds timeout = kPatience) {
    int result = kNoEvent;
    WaitUntil(
        [&] {
          result = proxy_.Notify(event, gate);
          return done();
        },
        timeout);
    return result;
  }

  SimServer a_;  // 127.0.0.1, answers the open as active
  SimServer b_;  // 127.0.0.2, answers the open as standby
  CSessionProxy proxy_{ShortTimings()};
};

TEST_F(GateTest, HaOpenTakesActiveAndStandby) {
  int gate = -1;
  ASSERT_EQ(OpenGate({&a_, &b_}, &gate), kOk);
  EXPECT_EQ(gate, 0);
  EXPECT_EQ(proxy_.FindActive(0), SessionOf(0, a_));
  EXPECT_EQ(SessionOf(0, b_)->State(), kStateStandby);
  EXPECT_EQ(proxy_.GetGateId(0), 0x80001001u);  // a session id with the top bit set is valid
  EXPECT_EQ(proxy_.MonitorStart(0), kOk);  // both register the monitor
  EXPECT_EQ(a_.CountRequests(kClassMonitor, kCodeMonitorStart), 1u);
  EXPECT_EQ(b_.CountRequests(kClassMonitor, kCodeMonitorStart), 1u);
  EXPECT_EQ(proxy_.NextGate(), 1);
}

// An open in which no session becomes active closes what it opened (the standby too).
TEST_F(GateTest, OpenWithoutActiveClosesItsConnections) {
  a_.SetActiveFlag(0);
  int gate = -1;
  EXPECT_EQ(OpenGate({&a_, &b_}, &gate), kNotConnected);
  EXPECT_EQ(gate, 0);
  EXPECT_TRUE(a_.WaitForLiveConnections(0, kPatience));
  EXPECT_TRUE(b_.WaitForLiveConnections(0, kPatience));
  EXPECT_FALSE(proxy_.HasSessions(0));
  EXPECT_EQ(proxy_.NextGate(), 0);
}

// The first server is unreachable: the second serves, the first is retried every retry period
// and comes back as standby with its monitor.
TEST_F(GateTest, UnreachableServerIsRetriedAndComesBackAsStandby) {
  b_.SetActiveFlag(1);
  a_.SetActiveFlag(0);
  a_.StopListening();
  int gate = -1;
  ASSERT_EQ(OpenGate({&a_, &b_}, &gate), kOk);
  EXPECT_EQ(proxy_.FindActive(gate), SessionOf(gate, b_));
  const auto first = SessionOf(gate, a_);
  EXPECT_TRUE(first->Reconnecting());

  // Attempts that reach the server but are refused show the period. The server stamps an
  // attempt when its thread gets to it, late by however long a loaded machine keeps it waiting,
  // so one gap can look short; five gaps still span four periods with the first stamp up to
  // a period late, which a loop retrying at four fifths of the period or faster cannot.
  ctisim::ReplyRule refused;
  refused.result = 7;
  a_.SetRule(kClassSession, kCodeOpen, refused);
  ASSERT_TRUE(a_.ResumeListening());
  constexpr std::size_t kAttempts = 7;
  ASSERT_TRUE(a_.WaitForRequest(kClassSession, kCodeOpen, kPatience, kAttempts));
  const auto opens = a_.Received();
  ASSERT_GE(opens.size(), kAttempts);
  const auto period = ShortTimings().retryPeriod;
  EXPECT_GE(opens[kAttempts - 1].received_at - opens[1].received_at, period * (kAttempts - 3));

  a_.ResetRules();
  ASSERT_TRUE(WaitUntil([&] { return !first->Reconnecting(); }));
  EXPECT_EQ(first->State(), kStateStandby);
  EXPECT_EQ(a_.CountRequests(kClassMonitor, kCodeMonitorStart), 1u);
  EXPECT_EQ(proxy_.FindActive(gate), SessionOf(gate, b_));
}

// The active session's link drops: the standby is promoted within the fail-over wait and
// requests go to it; the lost one returns as standby with monitor and devices, in order.
TEST_F(GateTest, LostActiveFailsOverToStandby) {
  int gate = -1;
  ASSERT_EQ(OpenGate({&a_, &b_}, &gate), kOk);
  ASSERT_EQ(proxy_.MonitorStart(gate), kOk);
  ASSERT_EQ(proxy_.AddDevice("3001", 1, 0, gate), kOk);
  ASSERT_EQ(proxy_.AddDevice("3002", 1, 0, gate), kOk);
  const auto lost = SessionOf(gate, a_);
  const auto standby = SessionOf(gate, b_);

  a_.SetActiveFlag(0);  // it comes back as standby
  a_.ClearReceived();
  const auto start = std::chrono::steady_clock::now();
  a_.DropConnections();
  Stream event;
  FetchUntil(gate, [&] { return standby->State() == kStateActive; }, event);
  EXPECT_EQ(standby->State(), kStateActive);
  EXPECT_LT(std::chrono::steady_clock::now() - start,
            ShortTimings().activeCheckPeriod * ShortTimings().activeChecks);
  EXPECT_EQ(proxy_.FindActive(gate), standby);
  EXPECT_EQ(Request(gate), kOk);
  EXPECT_EQ(b_.CountRequests(kClassCall, kCodeMakeCall), 1u);

  ASSERT_TRUE(WaitUntil([&] { return lost->State() == kStateStandby && !lost->Reconnecting(); }));
  EXPECT_EQ(ClassesAndCodes(a_.Received()), (std::vector<std::pair<int, int>>{{kClassSession, kCodeOpen},
                                                                  {kClassMonitor, kCodeMonitorStart},
                                                                  {kClassSession, kCodeAddDevice},
                                                                  {kClassSession, kCodeAddDevice}}));
  const auto received = a_.Received();
  EXPECT_EQ(received[2].body.back(), '1');
  EXPECT_EQ(received[3].body.back(), '2');
  EXPECT_EQ(proxy_.FindActive(gate), standby);  // the standby goes on serving
}

// The text of the session logs in `folder` whose file name holds `ip`.
std::string LogOf(const std::string& folder, const std::string& ip) {
  std::string text;
  if (!std::filesystem::is_directory(folder)) return text;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().filename().string().find(ip) != std::string::npos) {
      text += ReadFile(entry.path().string());
    }
  }
  return text;
}

// The lines the fail-over writes: the lost session's notice and its reconnect loop, the
// demotion, the close; and the all-down line of a one-server gate.
TEST_F(GateTest, FailoverLogLines) {
  TempDir dir;
  Add(a_);
  Add(b_);
  proxy_.SetLogLevel(3);
  ASSERT_EQ(proxy_.SetLogFile(dir.Path(), "vomtellog"), 1);
  int gate = -1;
  ASSERT_EQ(proxy_.Open(40000, 0, 10000, &gate), kOk);
  const auto first = SessionOf(gate, a_);
  const auto second = SessionOf(gate, b_);
  a_.SetActiveFlag(0);
  a_.DropConnections();
  Stream event;
  FetchUntil(gate, [&] { return second->State() == kStateActive; }, event);
  ASSERT_TRUE(WaitUntil([&] { return first->State() == kStateStandby && !first->Reconnecting(); }));
  b_.PushHaNotice(false);
  FetchUntil(gate, [&] { return second->State() == kStateStandby; }, event);
  proxy_.Close(gate);

  const std::string folder = dir / "vomtellog";
  const std::string logA = LogOf(folder, "127.0.0.1");
  for (const char* line : {"] <CSessionProxy::IsTerminatedSession>gate[2147487745] active down\n",
                           "] <CSession::TryOpen>start gate:mode[2147487745][1]\n",
                           "] <CSession::TryOpen>Open result[1]\n",
                           "] <CSession::TryOpen>Monitor result[1]\n",
                           "] <CSession::TryOpen>stop gate:mode[2147487745][18]\n",
                           "] vomtelMonitorStop: gate[2147487745] Inv[",
                           "] <CSession::Close>Send invoke["}) {
    EXPECT_NE(logA.find(line), std::string::npos) << line;
  }
  EXPECT_NE(LogOf(folder, "127.0.0.2").find("] <CSessionProxy::IsActiveToStandby>gate[8194] "
                                            "active to standby\n"),
            std::string::npos);

  // A one-server gate that does not come back.
  Add(a_);
  proxy_.SetLogLevel(3);
  ASSERT_EQ(proxy_.SetLogFile(dir.Path(), "alldown"), 1);
  a_.SetActiveFlag(1);
  ASSERT_EQ(proxy_.Open(40000, 0, 10000, &gate), kOk);
  a_.StopListening();
  a_.DropConnections();
  ASSERT_TRUE(WaitLinkLost(*SessionOf(gate, a_)));
  ASSERT_EQ(proxy_.Notify(event, gate), kOk);
  EXPECT_NE(LogOf(dir / "alldown", "127.0.0.1")
                .find("] <CSessionProxy::Notify>gate[" + std::to_string(gate) +
                      "] active - standby all down\n"),
            std::string::npos);
}

// The server tells the active session it is standby now: the roles swap. The promoted
// session comes later in table order, so the fetch gives its (empty) queue's 3010; with the
// order the other way round the caller gets the notice itself.
TEST_F(GateTest, StandbyNoticeSwapsRoles) {
  int gate = -1;
  ASSERT_EQ(OpenGate({&a_, &b_}, &gate), kOk);
  const auto first = SessionOf(gate, a_);
  const auto second = SessionOf(gate, b_);
  a_.PushHaNotice(false);
  Stream event;
  EXPECT_EQ(FetchUntil(gate, [&] { return first->State() == kStateStandby; }, event), kNoEvent);
  EXPECT_EQ(first->State(), kStateStandby);
  EXPECT_EQ(second->State(), kStateActive);
  EXPECT_EQ(Request(gate), kOk);
  EXPECT_EQ(b_.CountRequests(kClassCall, kCodeMakeCall), 1u);
  EXPECT_EQ(a_.CountRequests(kClassCall, kCodeMakeCall), 0u);

  // And back: now the notified session comes later, and the caller sees the notice.
  b_.PushHaNotice(false);
  EXPECT_EQ(FetchUntil(gate, [&] { return second->State() == kStateStandby; }, event), kOk);
  ASSERT_EQ(event.Size(), 1u);
  EXPECT_EQ(event.At(0), kHaStandby);
  EXPECT_EQ(first->State(), kStateActive);
  EXPECT_EQ(Request(gate), kOk);
  EXPECT_EQ(a_.CountRequests(kClassCall, kCodeMakeCall), 1u);
}

// Both servers of an HA gate answer the open as active (the simulator's default): an event
// taken from the first session is the caller's, whatever the second session's queue holds,
// and the second session's events wait for the next fetch.
TEST_F(GateTest, TwoActiveSessionsLoseNoEvent) {
  int gate = -1;
  ASSERT_EQ(OpenGate({&a_, &a_}, &gate), kOk);
  const auto sessions = proxy_.Table().Sessions(gate);
  ASSERT_EQ(sessions.size(), 2u);
  ASSERT_EQ(sessions[0]->State(), kStateActive);
  ASSERT_EQ(sessions[1]->State(), kStateActive);
  const auto ids = a_.ConnectionIds();  // in the order the sessions opened
  ASSERT_EQ(ids.size(), 2u);
  auto queued = [&](int index, std::size_t count) {
    return WaitUntil([&] { return sessions[index]->Socket().RecvQueue().EventCount() == count; });
  };

  // An event on the first session only: the second session's empty queue must not cover it.
  ASSERT_EQ(a_.PushEvent(3, {0x11}, {}, ids[0]), 1);
  ASSERT_TRUE(queued(0, 1));
  Stream event;
  ASSERT_EQ(proxy_.Notify(event, gate), kOk);
  EXPECT_EQ(event.At(4), 3);
  EXPECT_EQ(proxy_.Notify(event, gate), kNoEvent);

  // An event on each: one per fetch, the first session's first.
  ASSERT_EQ(a_.PushEvent(4, {0x22}, {}, ids[1]), 1);
  ASSERT_TRUE(queued(1, 1));
  ASSERT_EQ(a_.PushEvent(5, {0x33}, {}, ids[0]), 1);
  ASSERT_TRUE(queued(0, 1));
  ASSERT_EQ(proxy_.Notify(event, gate), kOk);
  EXPECT_EQ(event.At(4), 5);
  ASSERT_EQ(proxy_.Notify(event, gate), kOk);
  EXPECT_EQ(event.At(4), 4);
  EXPECT_EQ(proxy_.Notify(event, gate), kNoEvent);

  // The second session's link drops while the first has an event: the event comes out and
  // the lost session is still marked down and retried.
  ASSERT_EQ(a_.PushEvent(6, {0x44}, {}, ids[0]), 1);
  ASSERT_TRUE(queued(0, 1));
  a_.DropConnection(ids[1]);
  ASSERT_TRUE(queued(1, 1));
  ASSERT_EQ(proxy_.Notify(event, gate), kOk);
  EXPECT_EQ(event.At(4), 6);
  EXPECT_EQ(sessions[1]->Socket().RecvQueue().EventCount(), 0u);
  ASSERT_TRUE(WaitUntil([&] { return a_.CountRequests(kClassSession, kCodeOpen) == 3u; }));
  ASSERT_TRUE(WaitUntil([&] { return !sessions[1]->Reconnecting(); }));
  EXPECT_EQ(sessions[1]->State(), kStateActive);
}

// A one-server gate reopens in single mode: active again even though the server now answers
// the open as it would a standby, within the fail-over wait; the fetch gives 3010.
TEST_F(GateTest, OneServerGateComesBackWithinTheWait) {
  a_.SetActiveFlag(0);
  int gate = -1;
  ASSERT_EQ(OpenGate({&a_}, &gate), kOk);
  const auto session = SessionOf(gate, a_);
  a_.DropConnections();
  ASSERT_TRUE(WaitLinkLost(*session));
  Stream event;
  EXPECT_EQ(proxy_.Notify(event, gate), kNoEvent);
  EXPECT_EQ(session->State(), kStateActive);
  EXPECT_EQ(Request(gate), kOk);
  EXPECT_EQ(a_.CountRequests(kClassSession, kCodeOpen), 2u);
}

// A one-server gate whose server stays away: the connection-lost frame, the gate closed, and
// a new open works and gets gate 0 again.
TEST_F(GateTest, OneServerGateThatDoesNotComeBack) {
  int gate = -1;
  ASSERT_EQ(OpenGate({&a_}, &gate), kOk);
  const auto session = SessionOf(gate, a_);
  a_.StopListening();
  a_.DropConnections();
  ASSERT_TRUE(WaitLinkLost(*session));
  Stream event;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(proxy_.Notify(event, gate), kOk);
  EXPECT_GE(std::chrono::steady_clock::now() - start,
            ShortTimings().activeCheckPeriod * ShortTimings().activeChecks);
  ASSERT_EQ(event.Size(), 1u);
  EXPECT_EQ(event.At(0), kConnectionLost);
  EXPECT_FALSE(proxy_.HasSessions(gate));
  EXPECT_FALSE(session->Reconnecting());

  const int accepted = a_.AcceptedConnections();
  ASSERT_TRUE(a_.ResumeListening());
  EXPECT_EQ(AcceptedBeforeProbe(a_), accepted);  // the closed gate's loop is gone
  EXPECT_EQ(a_.LiveConnections(), 0);
  int again = -1;
  ASSERT_EQ(OpenGate({&a_}, &again), kOk);
  EXPECT_EQ(again, 0);
  EXPECT_EQ(Request(again), kOk);
}

// The heartbeat limit of the open reaches the sessions: a server silent for longer loses the
// link.
// The limit is well above an open's exchange on a busy machine under a sanitizer, so that the
// open itself is never cut short by it.
TEST_F(GateTest, OpenAppliesTheHeartbeatLimit) {
  int gate = -1;
  ASSERT_EQ(OpenGate({&a_}, &gate, 1500), kOk);
  const auto session = SessionOf(gate, a_);
  EXPECT_TRUE(WaitUntil([&] { return session->Stopped(); }));
  EXPECT_TRUE(a_.WaitForLiveConnections(0, kPatience));
}

// The same at the real timings: the fetch waits the five seconds of the fail-over wait.
TEST(GateRealTimings, OneServerGateThatDoesNotComeBack) {
  SimServer server(SimAt("127.0.0.1"));
  CSessionProxy proxy;
  proxy.AddSession(server.Port(), 0, 1, 0, 0, server.Address(), "3001", "app");
  int gate = -1;
  ASSERT_EQ(proxy.Open(40000, 0, 10000, &gate), kOk);
  server.StopListening();
  server.DropConnections();
  ASSERT_TRUE(WaitLinkLost(*proxy.FindActive(gate)));
  Stream event;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(proxy.Notify(event, gate), kOk);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, milliseconds(5000));
  EXPECT_LT(waited, milliseconds(9000));  // the retry attempt under way is waited for
  EXPECT_EQ(event.At(0), kConnectionLost);
  EXPECT_FALSE(proxy.HasSessions(gate));
}

// A reconnect attempt that connected and failed leaves a notice of its own connection; read
// after the next attempt succeeded, it must not mark the healthy session down.
TEST_F(GateTest, StaleConnectionLostNoticeIsIgnored) {
  int gate = -1;
  ASSERT_EQ(OpenGate({&a_}, &gate), kOk);
  const auto session = SessionOf(gate, a_);
  ctisim::ReplyRule refused;
  refused.result = 7;
  a_.AddOnceRule(kClassSession, kCodeOpen, refused);  // the first attempt connects and fails
  a_.DropConnections();
  ASSERT_TRUE(WaitLinkLost(*session));

  Stream event;
  EXPECT_EQ(proxy_.Notify(event, gate), kNoEvent);  // back within the wait
  ASSERT_EQ(session->State(), kStateActive);
  ASSERT_TRUE(WaitUntil([&] { return !session->Reconnecting(); }));
  const int accepted = a_.AcceptedConnections();
  EXPECT_EQ(accepted, 3);

  EXPECT_EQ(proxy_.Notify(event, gate), kNoEvent);  // the failed attempt's notice
  EXPECT_EQ(session->State(), kStateActive);
  EXPECT_FALSE(session->Reconnecting());
  EXPECT_EQ(Request(gate), kOk);
  EXPECT_EQ(a_.AcceptedConnections(), accepted);
}

// The active session is lost, then the promoted one too, and the first comes back as active:
// it serves again.
TEST_F(GateTest, SessionBackAsActiveServesAgain) {
  int gate = -1;
  ASSERT_EQ(OpenGate({&a_, &b_}, &gate), kOk);
  const auto first = SessionOf(gate, a_);
  const auto second = SessionOf(gate, b_);
  a_.StopListening();
  a_.DropConnections();
  Stream event;
  FetchUntil(gate, [&] { return second->State() == kStateActive; }, event);
  ASSERT_EQ(proxy_.FindActive(gate), second);

  b_.StopListening();
  b_.DropConnections();
  ASSERT_TRUE(WaitLinkLost(*second));
  ASSERT_TRUE(a_.ResumeListening());  // answers the open as active
  EXPECT_EQ(proxy_.Notify(event, gate), kNoEvent);
  EXPECT_EQ(first->State(), kStateActive);
  EXPECT_EQ(proxy_.FindActive(gate), first);
  EXPECT_EQ(Request(gate), kOk);
  EXPECT_EQ(a_.CountRequests(kClassCall, kCodeMakeCall), 1u);
}

// A reconnect whose open the server accepts and whose monitor start it refuses: the session
// serves on that link until the next attempt, which ends it just before it opens again. For
// the whole span every fetch returns at once and every request gets the server's answer; the
// attempts keep their period, each on a new link.
TEST_F(GateTest, RefusedMonitorStartKeepsTheLinkUntilTheNextAttempt) {
  constexpr milliseconds kPeriod{1000};
  constexpr milliseconds kSpan = kPeriod * 3;
  constexpr milliseconds kPace{10};  // the event control's pace between fetches
  Timings timings = ShortTimings();
  timings.retryPeriod = kPeriod;
  proxy_.SetTimings(timings);
  int gate = -1;
  ASSERT_EQ(OpenGate({&a_}, &gate), kOk);
  ASSERT_EQ(proxy_.MonitorStart(gate), kOk);
  const auto session = SessionOf(gate, a_);
  ctisim::ReplyRule refused;
  refused.result = 5;
  a_.SetRule(kClassMonitor, kCodeMonitorStart, refused);
  ctisim::ReplyRule answer;
  answer.result = 7;
  a_.SetRule(kClassCall, kCodeMakeCall, answer);
  a_.DropConnections();
  ASSERT_TRUE(WaitLinkLost(*session));
  Stream event;
  FetchUntil(gate, [&] { return session->State() == kStateActive; }, event);
  ASSERT_TRUE(a_.WaitForRequest(kClassMonitor, kCodeMonitorStart, kPatience, 2));

  std::vector<int> results;
  std::vector<int> fetched;
  int slowFetches = 0;  // fetches that waited half a period or longer
  int notServing = 0;
  const auto end = std::chrono::steady_clock::now() + kSpan;
  while (std::chrono::steady_clock::now() < end) {
    const auto start = std::chrono::steady_clock::now();
    fetched.push_back(proxy_.Notify(event, gate));
    if (std::chrono::steady_clock::now() - start >= kPeriod / 2) ++slowFetches;
    if (session->State() != kStateActive) ++notServing;
    results.push_back(Request(gate));
    std::this_thread::sleep_for(kPace);
  }
  const auto received = a_.Received();
  proxy_.Close(gate);

  EXPECT_EQ(std::count(fetched.begin(), fetched.end(), kNoEvent),
            static_cast<std::ptrdiff_t>(fetched.size()));
  // A fetch that waited for the next attempt would wait most of a period, once per attempt;
  // one fetch kept off the processor that long on a busy machine is let pass.
  EXPECT_LE(slowFetches, 1);
  EXPECT_EQ(notServing, 0);
  EXPECT_EQ(std::count(results.begin(), results.end(), 7),
            static_cast<std::ptrdiff_t>(results.size()));
  std::vector<ctisim::Request> attempts;
  for (const auto& request : received) {
    if (request.cls == kClassSession && request.code == kCodeOpen) attempts.push_back(request);
  }
  attempts.erase(attempts.begin());  // the gate's own open
  ASSERT_GE(attempts.size(), 3u);
  for (std::size_t i = 1; i < attempts.size(); ++i) {
    EXPECT_GT(attempts[i].connection, attempts[i - 1].connection) << "attempt " << i;
    // The stamps may each come late on a busy machine: half the period is the floor.
    EXPECT_GE(attempts[i].received_at - attempts[i - 1].received_at, kPeriod / 2)
        << "attempt " << i;
  }
}

// The server goes away while a refused monitor start's link is kept: the next attempt ends
// that link and cannot connect, and the gate learns of the loss as of any other.
TEST_F(GateTest, KeptLinkThatCannotBeReplacedIsALoss) {
  int gate = -1;
  ASSERT_EQ(OpenGate({&a_}, &gate), kOk);
  const auto session = SessionOf(gate, a_);
  ctisim::ReplyRule refused;
  refused.result = 5;
  a_.SetRule(kClassMonitor, kCodeMonitorStart, refused);
  a_.DropConnections();
  ASSERT_TRUE(WaitLinkLost(*session));
  Stream event;
  FetchUntil(gate, [&] { return session->State() == kStateActive; }, event);
  ASSERT_TRUE(a_.WaitForRequest(kClassMonitor, kCodeMonitorStart, kPatience));
  a_.StopListening();

  const int result = FetchUntil(gate, [&] { return !proxy_.HasSessions(gate); }, event);
  EXPECT_FALSE(proxy_.HasSessions(gate));
  EXPECT_EQ(result, kOk);
  ASSERT_EQ(event.Size(), 1u);
  EXPECT_EQ(event.At(0), kConnectionLost);
  EXPECT_FALSE(session->Reconnecting());
}

// Close of a gate in the middle of a fail-over, with a reconnect loop running: nothing stays
// connected and the loop is gone.
TEST_F(GateTest, CloseAllDuringFailover) {
  int gate = -1;
  ASSERT_EQ(OpenGate({&a_, &b_}, &gate), kOk);
  const auto lost = SessionOf(gate, a_);
  a_.SetAcceptMode(ctisim::AcceptMode::kCloseAtOnce);
  a_.DropConnections();
  Stream event;
  FetchUntil(gate, [&] { return lost->Reconnecting(); }, event);
  ASSERT_TRUE(lost->Reconnecting());

  proxy_.CloseAll();
  EXPECT_FALSE(lost->Reconnecting());
  EXPECT_FALSE(proxy_.HasSessions(gate));
  EXPECT_TRUE(b_.WaitForLiveConnections(0, kPatience));
  const int attempts = AcceptedBeforeProbe(a_);
  EXPECT_GE(attempts, 1);
  EXPECT_EQ(AcceptedBeforeProbe(a_), attempts + 1) << "only the first probe since";
  EXPECT_EQ(a_.LiveConnections(), 0);
}

// A fetch is in its fail-over wait when the gate is closed and a new gate takes its number:
// the fetch ends with the connection-lost frame and leaves the new gate alone.
TEST_F(GateTest, FailoverWaitLeavesANewGateOfTheSameNumberAlone) {
  int gate = -1;
  ASSERT_EQ(OpenGate({&a_}, &gate), kOk);
  const auto session = SessionOf(gate, a_);
  a_.StopListening();
  a_.DropConnections();
  ASSERT_TRUE(WaitLinkLost(*session));

  Stream event;
  int fetched = 0;
  std::thread fetch([&] { fetched = proxy_.Notify(event, gate); });
  const bool down = WaitUntil([&] { return session->State() == kStateDown; });
  proxy_.CloseAll();
  int again = -1;
  const int opened = OpenGate({&b_}, &again);  // a single open: active
  fetch.join();
  ASSERT_TRUE(down);
  ASSERT_EQ(opened, kOk);
  EXPECT_EQ(again, gate);
  EXPECT_EQ(fetched, kOk);
  ASSERT_EQ(event.Size(), 1u);
  EXPECT_EQ(event.At(0), kConnectionLost);
  EXPECT_TRUE(proxy_.HasSessions(again));
  EXPECT_EQ(Request(again), kOk);
  EXPECT_EQ(b_.LiveConnections(), 1);
}

// Gate numbers: each open takes the lowest number no gate uses; a lost gate never makes the
// next one join a live gate.
TEST_F(GateTest, GatesTakeTheLowestFreeNumber) {
  int first = -1;
  int second = -1;
  ASSERT_EQ(OpenGate({&a_}, &first), kOk);
  ASSERT_EQ(OpenGate({&b_}, &second), kOk);  // b_ answers standby, but a single open is active
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 1);

  b_.StopListening();
  b_.DropConnections();
  Stream event;
  ASSERT_TRUE(WaitLinkLost(*SessionOf(1, b_)));
  ASSERT_EQ(proxy_.Notify(event, 1), kOk);  // all down: gate 1 closed
  ASSERT_EQ(event.At(0), kConnectionLost);

  int third = -1;
  ASSERT_EQ(OpenGate({&a_}, &third), kOk);
  EXPECT_EQ(third, 1);
  EXPECT_EQ(proxy_.Table().Count(0), 1);  // gate 0 kept to itself

  proxy_.Close(0);
  int fourth = -1;
  ASSERT_EQ(OpenGate({&a_}, &fourth), kOk);
  EXPECT_EQ(fourth, 0);
  EXPECT_EQ(proxy_.Table().Count(1), 1);
  EXPECT_EQ(Request(1), kOk);
}

}  // namespace
}  // namespace vomtel::test
