// The desktop session ending under a ready desk: the signals of a logout or a shut-down end the
// program as closing its window does, without the question: the agent logged out, the monitor
// stopped and the gate closed, then the program exits with 0.
#include <signal.h>

#include <string>
#include <vector>

#include "tests/e2e/desk_fixture.h"

namespace desk::test {
namespace {

using ctisim::Request;

// The requests from `first` on, as steps of a shut-down.
std::vector<std::string> StepsFrom(const std::vector<Request>& received, std::size_t first) {
  std::vector<std::string> steps;
  for (std::size_t i = first; i < received.size(); ++i) {
    const Request& r = received[i];
    if (const std::optional<AgentStateRequest> a = DecodeAgentState(r)) {
      steps.push_back("state " + std::to_string(a->mode));
    } else if (r.cls == 0x42 && r.code == 0x28) {
      steps.push_back("monitor stop");
    } else if (r.cls == 0x45 && r.code == 0x1E) {
      steps.push_back("close");
    } else {
      steps.push_back("other " + std::to_string(r.cls) + ":" + std::to_string(r.code));
    }
  }
  return steps;
}

class SessionEndTest : public DeskTest, public ::testing::WithParamInterface<int> {};

TEST_P(SessionEndTest, LogsOutStopsTheMonitorClosesTheGateAndExitsZero) {
  ASSERT_NO_FATAL_FAILURE(StartLoggedIn());
  const std::size_t mark = server_->Sim().Received().size();

  desk_->Process()->Signal(GetParam());
  const std::optional<int> status = desk_->Process()->WaitExit(kWait);
  ASSERT_TRUE(status) << "still running after the signal\n" << Report();
  EXPECT_EQ(ChildProcess::Describe(*status), "exit 0") << Report();

  // the close gets no answer: the program may be gone before the server has read it
  ASSERT_TRUE(server_->Sim().WaitForRequest(0x45, 0x1E, kWait)) << Report();
  // the program's monitor stop, then the library's own as it closes the gate, as when the
  // window is closed
  EXPECT_EQ(StepsFrom(server_->Sim().Received(), mark),
            (std::vector<std::string>{"state " + std::to_string(kLogout), "monitor stop",
                                      "monitor stop", "close"}))
      << Report();
  const std::optional<AgentStateRequest> logout = server_->WaitForAgentState(kLogout, kWait, 2);
  ASSERT_TRUE(logout) << "the login's own log-out, then the shut-down's\n" << Report();
  EXPECT_EQ(logout->dn, "4001");
  EXPECT_EQ(logout->agentId, "A100");
  EXPECT_TRUE(desk_->Log().WaitForText("SoftPhone LogOut Start", kWait)) << Report();
  desk_.reset();  // ended as it should; nothing is left for the fixture to stop
}

INSTANTIATE_TEST_SUITE_P(EndSignals, SessionEndTest, ::testing::Values(SIGTERM, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::string(info.param == SIGTERM ? "SIGTERM" : "SIGHUP");
                         });

}  // namespace
}  // namespace desk::test
