// Bodies of the agent-state events (logged on, logged off, not ready, ready, other work,
// after-call work), as the server sends them when an agent's state changes.
#pragma once

#include <cstdint>
#include <string>

#include "tools/ctisim/wire.h"

namespace ctisim {

inline constexpr std::uint8_t kEventLoggedOn = 201;
inline constexpr std::uint8_t kEventLoggedOff = 202;
inline constexpr std::uint8_t kEventNotReady = 203;
inline constexpr std::uint8_t kEventReady = 204;
inline constexpr std::uint8_t kEventOtherWork = 205;
inline constexpr std::uint8_t kEventAfterCallWork = 206;

struct AgentStateParties {
  std::string device;            // the agent's extension (the monitored device)
  std::uint32_t monitor_id = 0;
  std::string agent_id;
  std::string group;
  std::string extra;             // the third text of the body
  std::uint8_t work_mode = 0;
  std::uint8_t reason = 0;       // the not-ready reason
};

// The body (from frame byte 30) of agent-state event `code` (201-206): device, monitor id, agent
// id, group, the third text, then for logged off a u16 and a u8 and for not ready two u8 (all
// zero), then work mode and reason.
Bytes AgentStateEventBody(std::uint8_t code, const AgentStateParties& parties);

}  // namespace ctisim
