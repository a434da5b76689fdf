// Event bodies a switch reports to the agent's desk, built the way the server lays them out:
// call events (the common prefix, the event's parties, the tagged block with number id, UEI
// and queue) and agent-state events.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "tools/ctisim/frame.h"
#include "tools/ctisim/wire.h"

namespace desk {

// Event codes.
inline constexpr std::uint8_t kConferenced = 2;
inline constexpr std::uint8_t kConnectionCleared = 3;
inline constexpr std::uint8_t kDelivered = 4;
inline constexpr std::uint8_t kEstablished = 6;
inline constexpr std::uint8_t kHeld = 8;
inline constexpr std::uint8_t kOriginated = 10;
inline constexpr std::uint8_t kRetrieved = 12;
inline constexpr std::uint8_t kTransferred = 14;
inline constexpr std::uint8_t kLoggedOn = 201;  // + agent mode 0-5: 201 ... 206

struct CallEvent {
  std::uint8_t code = kDelivered;
  std::string monitored;  // the agent's extension
  std::string other;
  std::string third;
  std::string called;
  std::uint32_t callId = 1;
  std::uint32_t preOldCallId = 0, secOldCallId = 0;
  std::string uei;                     // tag 0xB3 when not empty
  std::optional<std::uint32_t> cnid;   // tag 0xB0
  std::optional<std::uint32_t> queue;  // tag 0xB5
  std::uint8_t version = 0;            // the session's version byte (0x50 adds the ucid)

  // A call event built field by field: CallEvent::Of(kHeld, id).Other("0312345678").
  static CallEvent Of(std::uint8_t code, std::uint32_t callId = 1) {
    CallEvent e;
    e.code = code;
    e.callId = callId;
    return e;
  }
  CallEvent& Other(std::string v) {
    other = std::move(v);
    return *this;
  }
  CallEvent& Third(std::string v) {
    third = std::move(v);
    return *this;
  }
  CallEvent& Called(std::string v) {
    called = std::move(v);
    return *this;
  }
  CallEvent& OldIds(std::uint32_t pre, std::uint32_t sec) {
    preOldCallId = pre;
    secOldCallId = sec;
    return *this;
  }
  CallEvent& Uei(std::string v) {
    uei = std::move(v);
    return *this;
  }
  CallEvent& Cnid(std::uint32_t v) {
    cnid = v;
    return *this;
  }
  CallEvent& Queue(std::optional<std::uint32_t> v) {
    queue = v;
    return *this;
  }
};

// The body from frame byte 30 of a call event of code 2, 3, 4, 6, 8, 10, 12 or 14.
ctisim::Bytes CallEventBody(const CallEvent& e);

struct AgentStateEvent {
  int mode = 0;  // 0 logged on ... 5 after-call work; the code is 201 + mode
  std::string monitored;
  std::string agentId;
  std::string agentGroup;
  std::uint8_t reason = 0;
  std::uint8_t workMode = 0;
};

std::uint8_t AgentStateCode(int mode);
ctisim::Bytes AgentStateBody(const AgentStateEvent& e);

// A UEI of `fields` texts joined by "^", field i being "u<i>" except field 5 (the customer's
// registration number), which is `regnum`.
std::string MakeUei(int fields, const std::string& regnum);

}  // namespace desk
