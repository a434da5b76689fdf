// The switch logs the agent off (as a supervisor does) and the agent logs in again with the
// login button, three times: each login first stops and closes the connection of the session
// before, so the switch holds one connection, the last login's.
#include <algorithm>

#include "tests/e2e/desk_fixture.h"
#include "tests/e2e/window_fixture.h"

namespace desk::test {
namespace {

constexpr int kCycles = 3;

TEST_F(WindowTest, EachLoginAfterAForcedLogOffClosesTheConnectionBefore) {
  ASSERT_NO_FATAL_FAILURE(StartLoggedIn(kReady));
  for (int i = 1; i <= kCycles; ++i) {
    SCOPED_TRACE("log-off " + std::to_string(i));
    server_->PushAgentState(kLogout);
    ASSERT_TRUE(Until([&] { return Caption() == "로그아웃" && Enabled("imgLogIn"); }))
        << Report();
    ASSERT_NO_FATAL_FAILURE(Press("imgLogIn"));
    // Logged in again up to ready (without the database not ready goes on to ready).
    ASSERT_TRUE(Until([&] {
      return server_->CountAgentStates(kReady) > static_cast<std::size_t>(i) &&
             Caption() == "대기";
    })) << Report();
  }

  ASSERT_TRUE(Until([&] { return server_->Sim().LiveConnections() == 1; }))
      << server_->Sim().LiveConnections() << " connections\n"
      << Report();
  EXPECT_EQ(server_->Sim().AcceptedConnections(), kCycles + 1);
  // The connections left behind were each stopped, then closed; the last one neither.
  for (int connection = 1; connection <= kCycles + 1; ++connection) {
    SCOPED_TRACE("connection " + std::to_string(connection));
    std::vector<std::pair<int, int>> ends;  // (class, code) of monitor stop and close, in order
    for (const ctisim::Request& r : server_->Sim().Received()) {
      if (r.connection != connection) continue;
      if ((r.cls == 0x42 && r.code == 0x28) || (r.cls == 0x45 && r.code == 0x1E)) {
        ends.emplace_back(r.cls, r.code);
      }
    }
    if (connection <= kCycles) {
      // The program's monitor stop, then the close (the library's own monitor stop before it).
      ASSERT_GE(ends.size(), 2u);
      EXPECT_EQ(ends.front(), std::make_pair(0x42, 0x28));
      EXPECT_EQ(ends.back(), std::make_pair(0x45, 0x1E));
      EXPECT_EQ(std::count(ends.begin(), ends.end(), std::make_pair(0x45, 0x1E)), 1);
    } else {
      EXPECT_TRUE(ends.empty());
    }
  }
  // The window goes on with the last connection: an inbound call shows.
  server_->PushDelivered("0312345678", MakeUei(12, "8001011234567"), 1105);
  EXPECT_TRUE(Until([&] { return Enabled("ImgAnswer"); })) << Report();
  EXPECT_TRUE(boxes_.informed.empty()) << Report();
}

}  // namespace
}  // namespace desk::test
