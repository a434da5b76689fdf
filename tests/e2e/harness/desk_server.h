// The CTI server of the desk tests: the simulator (ctisim) playing a switch for one agent. It
// answers the agent-state requests with the agent-state events the switch reports, and the
// call-control requests with the call events that follow them (answer: established; hold:
// held; consultation: originated, delivered, established of the new call; transfer:
// transferred; ...), and lets a test push inbound calls and any other event.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/harness/desk_events.h"
#include "tools/ctisim/sim_server.h"

namespace desk {

using Millis = std::chrono::milliseconds;

// Agent-state request fields.
struct AgentStateRequest {
  std::string dn;
  int mode = -1;
  std::string agentId, agentGroup, agentPart;
  int reason = 0;
  int workMode = 0;
  int connection = 0;
};

std::optional<AgentStateRequest> DecodeAgentState(const ctisim::Request& r);

// The called number of a make-call request, the destination of a consultation.
std::string CalledNumber(const ctisim::Request& r);

// Call-control request codes (class 0x41).
inline constexpr std::uint8_t kAgentStateCode = 0xDD;
inline constexpr std::uint8_t kMakeCallCode = 0x65;
inline constexpr std::uint8_t kAnswerCode = 0x14;
inline constexpr std::uint8_t kClearCode = 0x28;
inline constexpr std::uint8_t kHoldCode = 0x5A;
inline constexpr std::uint8_t kRetrieveCode = 0x78;
inline constexpr std::uint8_t kConsultationCode = 0x3C;
inline constexpr std::uint8_t kTransferCode = 0x82;
inline constexpr std::uint8_t kConferenceCode = 0x32;
inline constexpr std::uint8_t kReconnectCode = 0x6E;

class DeskServer {
 public:
  DeskServer(std::string agentDn, ctisim::SimOptions options = {});
  ~DeskServer();
  DeskServer(const DeskServer&) = delete;
  DeskServer& operator=(const DeskServer&) = delete;

  ctisim::SimServer& Sim() { return *sim_; }
  std::uint16_t Port() const { return sim_->Port(); }
  const std::string& AgentDn() const { return dn_; }

  // The switch's answers (on by default); off, every request gets the plain result 1.
  void PlaySwitch(bool on);
  // A dialled call is reported cleared right after it was established (for long runs).
  void EndDialledCalls(bool on);

  // Pushes to every live connection; the number of connections reached.
  int Push(CallEvent e);
  // Pushes the events in one write, in order, as a busy switch sends them.
  int PushAll(const std::vector<CallEvent>& events);
  int PushAgentState(int mode, std::uint8_t reason = 0);
  // An inbound call from `caller`: delivered with the UEI and queue (the call becomes the
  // switch's current call). Its id.
  std::uint32_t PushDelivered(const std::string& caller, const std::string& uei,
                              std::optional<std::uint32_t> queue);
  // The current call established (answered at the phone), with the recording id `cnid`.
  int PushEstablished(std::uint32_t cnid);
  // The current call cleared by the agent's side.
  int PushCleared();
  // A whole inbound call in one write: delivered, established and cleared.
  std::uint32_t PushWholeCall(const std::string& caller, std::uint32_t cnid);

  std::uint32_t CurrentCall() const;

  // Agent-state requests received so far, in order.
  std::vector<AgentStateRequest> AgentStates() const;
  // The nth agent-state request of `mode`, waiting up to `timeout`.
  std::optional<AgentStateRequest> WaitForAgentState(int mode, Millis timeout, std::size_t nth = 1);
  std::size_t CountAgentStates(int mode) const;

 private:
  struct Call {
    std::uint32_t id = 0;
    std::string other;
  };
  void InstallRules();
  std::vector<ctisim::Bytes> Answer(const ctisim::Request& r);
  ctisim::Bytes EventFrameOf(CallEvent e) const;
  std::uint32_t NextId();

  std::string dn_;
  std::unique_ptr<ctisim::SimServer> sim_;
  mutable std::mutex mu_;
  bool play_ = true;
  bool endDialled_ = false;
  std::uint8_t version_ = 0;
  std::uint32_t nextId_ = 1000;
  Call current_;
  Call held_;
  Call consult_;
};

}  // namespace desk
