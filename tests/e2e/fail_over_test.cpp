// The servers going away under a logged-in desk. The active server goes and a standby takes
// over its address: the library reconnects (open, monitor start) within its fail-over wait and
// the agent's desk goes on without a visible change. When the standby goes too, the program
// hears that the servers are down and shows the logged-out state.
#include "tests/e2e/desk_fixture.h"

namespace desk::test {
namespace {

constexpr char kDownLine[] = "[EVENT orbaEK_CCSEDown]";

TEST_F(DeskTest, StandbyTakesOverUnseenAndBothGoneLogsOut) {
  ASSERT_NO_FATAL_FAILURE(StartLoggedIn());
  const std::uint16_t port = server_->Port();
  const std::size_t loginStates = server_->AgentStates().size();

  // The active server stops listening and drops its link; the standby listens on its address.
  server_->Sim().StopListening();
  ctisim::SimOptions options;
  options.port = port;
  auto standby = std::make_unique<DeskServer>("4001", options);
  server_->Sim().DropConnections();

  ASSERT_TRUE(standby->Sim().WaitForRequest(0x45, 0x46, kWait)) << Report();
  ASSERT_TRUE(standby->Sim().WaitForRequest(0x42, 0x1E, kWait)) << Report();
  // Nothing the agent sees: no new login and no logged-out state.
  standby->PushWholeCall("0212345678", 77);
  ASSERT_TRUE(standby->WaitForAgentState(kReady, kWait)) << "the call through the standby\n"
                                                         << Report();
  const std::vector<AgentStateRequest> states = standby->AgentStates();
  std::string modes;
  for (const AgentStateRequest& s : states) modes += " " + std::to_string(s.mode);
  EXPECT_TRUE(states.size() <= 2u) << "the end of the call only; the modes asked:" << modes;
  EXPECT_EQ(standby->CountAgentStates(kLogin), 0u);
  EXPECT_EQ(server_->AgentStates().size(), loginStates);
  EXPECT_EQ(desk_->Log().Count(kDownLine), 0u) << Report();

  // Both gone: the fail-over wait ends without an active server.
  standby->Sim().StopListening();
  standby->Sim().DropConnections();
  EXPECT_TRUE(desk_->Log().WaitForText(kDownLine, kWait)) << Report();
  DialClient client;
  ASSERT_TRUE(client.Connect(DialPort(), kWait));
  const std::optional<DialReply> reply = client.Ask(DialRequestText("SP-100", "1234", "K"), kWait);
  ASSERT_TRUE(reply) << Report();
  EXPECT_EQ(ReplyField(reply->text, 2), "02") << "logged out";
}

}  // namespace
}  // namespace desk::test
