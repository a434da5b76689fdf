// The session table and the gate proxy without a server: table order, selection and
// promotion, gate numbering, and the proxy's answers for gates that cannot serve.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

#include "vomtel/core/frame.h"
#include "vomtel/core/result_codes.h"
#include "vomtel/core/session.h"
#include "vomtel/core/session_proxy.h"
#include "vomtel/core/session_table.h"

namespace vomtel {
namespace {

using SessionPtr = std::shared_ptr<CSession>;

SessionPtr MakeSession(SessionState state) {
  auto session = std::make_shared<CSession>(9709, 0, "127.0.0.1", "3001", "app");
  session->SetState(state);
  return session;
}

Timings ShortTimings() {
  Timings timings;
  timings.connectTimeout = std::chrono::milliseconds(100);
  timings.activeCheckPeriod = std::chrono::milliseconds(10);
  timings.activeChecks = 5;
  return timings;
}

TEST(SessionTable, SelectsAndPromotesInTableOrder) {
  CSessionTable table;
  const SessionPtr standby1 = MakeSession(kStateStandby);
  const SessionPtr active = MakeSession(kStateActive);
  const SessionPtr standby2 = MakeSession(kStateStandby);
  table.Add(4, standby1);
  table.Add(4, active);
  table.Add(4, standby2);
  EXPECT_EQ(table.Count(4), 3);
  EXPECT_EQ(table.Sessions(4), (std::vector<SessionPtr>{standby1, active, standby2}));

  EXPECT_EQ(table.FindActive(4), active);  // found without a selection: the one in state 17

  active->SetState(kStateDown);
  EXPECT_TRUE(table.PromoteStandby(4));
  EXPECT_EQ(standby1->State(), kStateActive);
  EXPECT_EQ(standby2->State(), kStateStandby);
  EXPECT_EQ(table.FindActive(4), standby1);

  standby1->SetState(kStateDown);
  standby2->SetState(kStateDown);
  EXPECT_FALSE(table.PromoteStandby(4));
  // No session serves: the entry stays, whatever its state.
  EXPECT_EQ(table.FindActive(4), standby1);

  table.Remove(4);
  EXPECT_EQ(table.Count(4), 0);
  EXPECT_EQ(table.FindActive(4), nullptr);
}

// A session that its reconnect loop made active again serves, though the active entry still
// names the other, lost one.
TEST(SessionTable, ReselectsASessionThatCameBackActive) {
  CSessionTable table;
  const SessionPtr first = MakeSession(kStateActive);
  const SessionPtr second = MakeSession(kStateStandby);
  table.Add(0, first);
  table.Add(0, second);
  table.SelectActive(0);
  first->SetState(kStateDown);
  ASSERT_TRUE(table.PromoteStandby(0));
  second->SetState(kStateDown);
  first->SetState(kStateActive);  // its reconnect opened it as active
  EXPECT_EQ(table.FindActive(0), first);
}

// A session demoted to standby is not the one that takes its role over.
TEST(SessionTable, PromotesAStandbyOtherThanTheDemotedSession) {
  CSessionTable table;
  const SessionPtr demoted = MakeSession(kStateStandby);
  const SessionPtr standby = MakeSession(kStateStandby);
  table.Add(0, demoted);
  table.Add(0, standby);
  EXPECT_TRUE(table.PromoteStandby(0, demoted.get()));
  EXPECT_EQ(demoted->State(), kStateStandby);
  EXPECT_EQ(table.FindActive(0), standby);
  EXPECT_FALSE(table.PromoteStandby(0, demoted.get()));
}

TEST(SessionTable, LowestFreeGate) {
  struct Case {
    std::vector<int> used;
    int expected;
  };
  const Case cases[] = {
      {{}, 0}, {{0}, 1}, {{1}, 0}, {{0, 1, 2}, 3}, {{0, 2}, 1}, {{-1, 0}, 1}, {{1, 2, 5}, 0},
  };
  for (const Case& c : cases) {
    CSessionTable table;
    for (const int gate : c.used) table.Add(gate, MakeSession(kStateConstructed));
    EXPECT_EQ(table.LowestFreeGate(), c.expected) << "case with " << c.used.size() << " gates";
  }
}

TEST(SessionProxy, GateWithoutSessions) {
  CSessionProxy proxy(ShortTimings());
  EXPECT_EQ(proxy.FindActive(0), nullptr);  // a request finds no session to send on
  EXPECT_EQ(proxy.MonitorStart(0), kNoSession);
  EXPECT_EQ(proxy.MonitorStop(0), kNoSession);
  EXPECT_EQ(proxy.AddDevice("3001", 1, 0, 0), kNoSession);
  EXPECT_EQ(proxy.RemoveDevice("3001", 0), kNoSession);
  EXPECT_FALSE(proxy.GetGateId(0).has_value());
  EXPECT_EQ(proxy.GetVersion(0), 0);
  EXPECT_EQ(proxy.GetExtMode(0), 0);
  EXPECT_FALSE(proxy.HasSessions(0));
  EXPECT_EQ(proxy.SetLogFile("/tmp", "vomtellog"), 0);
  proxy.Close(0);  // harmless
  proxy.Close(-1);
}

// A gate that has no session (never opened, or closed) gives the connection-lost frame at
// once, with the default fail-over wait of five seconds in force.
TEST(SessionProxy, NotifyOnGateWithoutSessionsAnswersAtOnce) {
  CSessionProxy proxy;  // default timings
  for (const int gate : {0, 3}) {
    Stream event;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(proxy.Notify(event, gate), kOk);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    ASSERT_EQ(event.Size(), 1u);
    EXPECT_EQ(event.At(0), kConnectionLost);
  }
}

// An open that makes no active session gives 3014, hands out its number all the same and
// leaves that number free: the next gate gets it again.
TEST(SessionProxy, FailedOpenFreesItsGateNumber) {
  CSessionProxy proxy(ShortTimings());
  for (int round = 0; round < 2; ++round) {
    proxy.AddSession(1, 0, 1, 0, 0, "127.0.0.1", "3001", "app");  // nothing listens on port 1
    EXPECT_EQ(proxy.NextGate(), 0);
    EXPECT_TRUE(proxy.HasSessions(0));
    int gate = -7;
    EXPECT_EQ(proxy.Open(40000, 0, 10000, &gate), kNotConnected);
    EXPECT_EQ(gate, 0);
    EXPECT_FALSE(proxy.HasSessions(0));
    EXPECT_EQ(proxy.NextGate(), 0);
  }
}

}  // namespace
}  // namespace vomtel
