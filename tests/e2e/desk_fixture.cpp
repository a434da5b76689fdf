#include "tests/e2e/desk_fixture.h"

namespace desk::test {

DeskPrograms Programs() { return {DESK_AGENTPHONE, DESK_MODULE, DESK_REGISTER_TOOL}; }

DeskConfig LocalDesk(std::uint16_t serverPort, const HttpRecorder& web,
                     const std::function<void(DeskConfig&)>& edit) {
  DeskConfig config;
  config.serverPort = serverPort;
  config.customerWeb = web.BaseUrl();
  config.recordingWeb = web.BaseUrl();
  config.rec = web.BaseUrl() + "/rec/";
  // A process's first requests through the network stack take seconds under a sanitizer on a
  // busy machine; the web server of the tests always answers.
  config.httpTimeoutMs = 20000;
  if (edit) edit(config);
  return config;
}

DeskTest::DeskTest() : server_(std::make_unique<DeskServer>("4001")) {}

void DeskTest::TearDown() {
  if (desk_) {
    const bool crashed = desk_->Process() && !desk_->Running();
    const int status = desk_->Stop();
    if (crashed) ADD_FAILURE() << "the program ended by itself: " << ChildProcess::Describe(status);
    if (HasFailure()) std::cerr << Report();
  }
}

void DeskTest::StartDesk(const std::function<void(DeskConfig&)>& edit) {
  desk_ = std::make_unique<AgentDesk>(Programs(), LocalDesk(server_->Port(), web_, edit));
  std::string why;
  ASSERT_TRUE(desk_->Start(&why)) << why;
}

void DeskTest::StartLoggedIn(const std::function<void(DeskConfig&)>& edit) {
  ASSERT_NO_FATAL_FAILURE(StartDesk(edit));
  ASSERT_TRUE(server_->WaitForAgentState(kReady, kWait)) << Report();
  // The switch's ready event shown: the window takes other work (a dial request) between two
  // events, and one that came before it would find the agent not ready yet.
  ASSERT_TRUE(PollUntil([&] { return desk_->Trace().Handled(kLoggedOn + kReady); }, kWait))
      << Report();
}

std::uint16_t DeskTest::DialPort() {
  const std::optional<std::uint16_t> port = desk_->DialPort(kWait);
  EXPECT_TRUE(port) << "the program does not listen for dial requests\n" << Report();
  return port.value_or(0);
}

std::optional<AgentStateRequest> DeskTest::AgentStateAfter(std::size_t mark) {
  std::optional<AgentStateRequest> found;
  PollUntil(
      [&] {
        const std::vector<AgentStateRequest> all = server_->AgentStates();
        if (all.size() > mark) found = all[mark];
        return found.has_value();
      },
      kWait);
  return found;
}

}  // namespace desk::test
