// The automatic login at start: open, monitor start, log out, log in and not ready, each after
// the one before succeeded; the not-ready event then sends the agent straight on to ready. A
// server that does not answer the login leaves the agent logged out.
#include <algorithm>

#include "tests/e2e/desk_fixture.h"

namespace desk::test {
namespace {

using ctisim::Request;

// The requests of the login as the server receives them, in order.
std::vector<std::string> Steps(const std::vector<Request>& received) {
  std::vector<std::string> steps;
  for (const Request& r : received) {
    if (r.cls == 0x45 && r.code == 0x46) steps.push_back("open");
    if (r.cls == 0x42 && r.code == 0x1E) steps.push_back("monitor");
    if (const std::optional<AgentStateRequest> a = DecodeAgentState(r)) {
      steps.push_back("state " + std::to_string(a->mode));
    }
  }
  return steps;
}

TEST_F(DeskTest, LogsInAtStartAndReachesReady) {
  ASSERT_NO_FATAL_FAILURE(StartLoggedIn());

  const std::vector<std::string> steps = Steps(server_->Sim().Received());
  const std::vector<std::string> expected = {"open",    "monitor", "state 1",
                                             "state 0", "state 2", "state 3"};
  ASSERT_GE(steps.size(), expected.size()) << Report();
  EXPECT_EQ(std::vector<std::string>(steps.begin(), steps.begin() + 6), expected);

  const std::vector<AgentStateRequest> states = server_->AgentStates();
  for (const AgentStateRequest& a : states) {
    EXPECT_EQ(a.dn, "4001");
    EXPECT_EQ(a.agentId, "A100");
    EXPECT_EQ(a.workMode, 0);
    EXPECT_EQ(a.reason, 0);
  }
  const std::optional<Request> open = server_->Sim().WaitForRequest(0x45, 0x46, kWait);
  ASSERT_TRUE(open);
  EXPECT_EQ(ctisim::DecodeOpenBody(open->body).dn, "4001");
  EXPECT_TRUE(desk_->Log().WaitForText("SoftPhone Login Start", kWait)) << Report();
  EXPECT_EQ(desk_->Log().Count("실패"), 0u) << Report();
}

TEST_F(DeskTest, LoginRefusedByTheServerStopsBeforeLoggingIn) {
  // The monitor start fails: the login ends there (its message box stays open, nobody being
  // at the desk) and the agent stays logged out.
  ctisim::ReplyRule refuse;
  refuse.result = 3014;
  server_->Sim().SetRule(0x42, 0x1E, refuse);
  ASSERT_NO_FATAL_FAILURE(StartDesk());
  ASSERT_TRUE(server_->Sim().WaitForRequest(0x42, 0x1E, kWait)) << Report();

  // The window still serves the dial-request port while the box is open: logged out, a dial
  // request is refused with "02" and nothing is dialled.
  DialClient client;
  ASSERT_TRUE(client.Connect(DialPort(), kWait));
  const std::optional<DialReply> reply = client.Ask(DialRequestText("SP-100", "1234", "K1"), kWait);
  ASSERT_TRUE(reply) << Report();
  EXPECT_EQ(ReplyField(reply->text, 2), "02") << reply->text;
  EXPECT_TRUE(server_->AgentStates().empty());
  EXPECT_EQ(server_->Sim().CountRequests(0x41, kMakeCallCode), 0u);
}

}  // namespace
}  // namespace desk::test
