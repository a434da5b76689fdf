// The frames of a flow's events: a FlowEvent filled in from the request that triggered it
// (if any), the flow's device and the connection's version byte.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "tools/ctisim/flow.h"
#include "tools/ctisim/frame.h"
#include "tools/ctisim/request.h"

namespace ctisim {

struct FlowContext {
  std::string device;                  // the flow's device, or the one the client registered
  std::uint8_t version = 0;            // version byte of the connection's session
  const Request* request = nullptr;    // the triggering request, if any
};

struct BuiltEvent {
  std::uint8_t code = 0;
  Bytes body;
  std::uint32_t call = 0;  // call events: the call id used
};

// Fields the event leaves unset come from an agent-state request (device, agent id, group,
// reason, work mode) or a make-call request (calling device, called party, call id 1000 + the
// request number) that triggered it, else from the context's device; a call id defaults to 1,
// and the party of a cleared connection to the device itself (the agent's own connection
// ended). Private events are the sub-code, then the event's bytes.
BuiltEvent BuildFlowEvent(const FlowEvent& event, const FlowContext& context);

// An event head with this version byte and the local time `now` as its time stamp.
EventHead FlowEventHead(std::uint8_t version, std::chrono::system_clock::time_point now);

}  // namespace ctisim
