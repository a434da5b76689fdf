// The names that a flow file may use for request kinds, events and agent modes, and the names
// the simulator's trace gives them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tools/ctisim/flow.h"

namespace ctisim {

struct RequestName {
  std::string_view name;  // in flow files: "agent-state"
  std::uint8_t cls;
  std::uint8_t code;
};

struct EventName {
  std::string_view name;      // in flow files: "delivered"
  FlowEventKind kind;
  std::uint8_t code;
  std::string_view log_name;  // in the trace: "evtDelivered"
};

std::optional<RequestName> FindRequestName(std::string_view name);
// The name of a request kind, or "" when it has none.
std::string_view NameOfRequest(std::uint8_t cls, std::uint8_t code);

std::optional<EventName> FindEventName(std::string_view name);
// The trace name of an event code ("evtDelivered"), or "event N".
std::string EventLogName(std::uint8_t code);

// "login", "logout", "notready", "ready", "otherwork", "aftercallwork" -> 0-5.
std::optional<std::uint8_t> FindAgentMode(std::string_view name);

}  // namespace ctisim
