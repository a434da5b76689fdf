// A scripted flow of the simulator program: timed steps (pushed events, waits, waits for a
// request, link drops, repeated blocks) and pushes triggered by requests. Built by the flow
// parser (flow_parser.h) from a flow file, run by FlowRunner (flow_runner.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/ctisim/reply_rule.h"
#include "tools/ctisim/wire.h"

namespace ctisim {

enum class FlowEventKind {
  kCall,        // a call event (call_events.h)
  kAgentState,  // an agent-state event (agent_state_events.h)
  kPrivate,     // event 200: the sub-code, then the given bytes
  kRaw          // any event code with the given bytes as its body
};

// One event to push. Fields left unset take their value from the request that triggered the
// push (agent-state and make-call requests), else from the flow's device and defaults.
struct FlowEvent {
  int line = 0;  // line of the flow file, for the trace
  FlowEventKind kind = FlowEventKind::kRaw;
  std::uint8_t code = 0;  // wire event code
  std::optional<std::string> device;   // the monitored device
  std::optional<std::string> party;    // call events: the other party
  std::optional<std::uint32_t> call;   // call events: the call id
  std::optional<std::uint32_t> cnid;   // call events: the number id
  std::optional<std::uint32_t> queue;  // call events: the queue number
  std::optional<std::uint32_t> cause;  // call events: the event cause
  std::string uei;                     // call events
  std::string ci;                      // call events
  std::optional<std::string> agent;    // agent-state events: agent id
  std::optional<std::string> group;    // agent-state events: agent group
  std::optional<std::uint8_t> work;    // agent-state events: work mode
  std::optional<std::uint8_t> reason;  // agent-state events: reason code
  std::uint32_t sub = 0;               // private events: the sub-code
  Bytes bytes;                         // private and raw events: the body bytes
  Millis after{0};                     // triggered pushes: delay after the answer
};

// Which requests a trigger or a wait matches: class and code, and for the agent-state request
// optionally the agent mode it asks for.
struct RequestMatch {
  std::uint8_t cls = 0;
  std::uint8_t code = 0;
  std::optional<std::uint8_t> mode;
};

struct FlowTrigger {
  int line = 0;
  RequestMatch match;
  FlowEvent event;
};

struct FlowStep {
  enum class Kind {
    kWait,    // pause for `wait`
    kPush,    // push `event` to every live connection
    kAwait,   // wait for a request that `match` matches, received since the last await
    kDrop,    // close every live connection (with a reset when `abortive`)
    kRepeat   // run `body` `count` times (0: until the program stops)
  };
  Kind kind = Kind::kWait;
  int line = 0;
  Millis wait{0};
  FlowEvent event;
  RequestMatch match;
  bool abortive = false;
  std::uint64_t count = 0;
  std::vector<FlowStep> body;
};

struct Flow {
  std::optional<std::string> device;  // the `device` statement
  std::vector<FlowTrigger> triggers;
  std::vector<FlowStep> steps;
};

}  // namespace ctisim
