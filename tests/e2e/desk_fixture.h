// The fixture of the desk tests: a switch (the CTI server simulator for agent 4001), a web
// server standing in for the customer and recording servers, and the agent program on a desk
// folder that points at both. Waits are bounded and generous: the program runs in its own
// process on a machine that may be busy.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "tests/e2e/harness/agent_desk.h"
#include "tests/e2e/harness/desk_server.h"
#include "tests/e2e/harness/dial_client.h"
#include "tests/e2e/harness/http_recorder.h"

namespace desk::test {

inline constexpr std::chrono::milliseconds kWait{30000};

// Agent modes of the agent-state requests.
enum Mode {
  kLogin = 0,
  kLogout = 1,
  kNotReady = 2,
  kReady = 3,
  kOtherWork = 4,
  kAfterCallWork = 5
};

DeskPrograms Programs();

// A desk of the local switch and web server, edited by the test before it starts.
DeskConfig LocalDesk(std::uint16_t serverPort, const HttpRecorder& web,
                     const std::function<void(DeskConfig&)>& edit);

class DeskTest : public ::testing::Test {
 protected:
  DeskTest();
  void TearDown() override;

  // Starts the program on a desk made from the default configuration changed by `edit`.
  void StartDesk(const std::function<void(DeskConfig&)>& edit = {});
  // Starts it and waits until the automatic login has reached the ready state: the READY that
  // the not-ready display sends back (the database flag off) has reached the server and the
  // switch's ready event has been shown.
  void StartLoggedIn(const std::function<void(DeskConfig&)>& edit = {});

  // The program's dial-request port (read from /proc once it listens).
  std::uint16_t DialPort();

  // Index of the next agent-state request, for "what came after" checks.
  std::size_t AgentStateMark() const { return server_->AgentStates().size(); }
  // The first agent-state request after `mark`, waiting for it.
  std::optional<AgentStateRequest> AgentStateAfter(std::size_t mark);

  std::string Report() const { return desk_ ? desk_->Report() : std::string(); }

  std::unique_ptr<DeskServer> server_;
  HttpRecorder web_;
  std::unique_ptr<AgentDesk> desk_;
};

}  // namespace desk::test
