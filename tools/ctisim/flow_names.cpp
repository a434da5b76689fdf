#include "tools/ctisim/flow_names.h"

#include <array>

#include "tools/ctisim/agent_state_events.h"
#include "tools/ctisim/call_events.h"

namespace ctisim {
namespace {

constexpr std::array kRequests{
    RequestName{"open", kClassSession, kCodeOpen},
    RequestName{"close", kClassSession, kCodeClose},
    RequestName{"add-device", kClassSession, kCodeAddDevice},
    RequestName{"remove-device", kClassSession, kCodeRemoveDevice},
    RequestName{"monitor-start", kClassMonitor, kCodeMonitorStart},
    RequestName{"monitor-stop", kClassMonitor, kCodeMonitorStop},
    RequestName{"agent-state", kClassCall, 0xDD},
    RequestName{"make-call", kClassCall, kCodeMakeCall},
    RequestName{"answer", kClassCall, 0x14},
    RequestName{"clear", kClassCall, 0x28},
    RequestName{"hold", kClassCall, 0x5A},
    RequestName{"retrieve", kClassCall, 0x78},
    RequestName{"consultation", kClassCall, 0x3C},
    RequestName{"transfer", kClassCall, 0x82},
    RequestName{"conference", kClassCall, 0x32},
    RequestName{"reconnect", kClassCall, 0x6E},
    RequestName{"alternate", kClassCall, 0x0A},
    RequestName{"single-step-transfer", kClassCall, 0xAC},
};

constexpr std::array kEvents{
    EventName{"conferenced", FlowEventKind::kRaw, 2, "evtConferenced"},
    EventName{"cleared", FlowEventKind::kCall, kEventConnectionCleared, "evtConnectionCleared"},
    EventName{"delivered", FlowEventKind::kCall, kEventDelivered, "evtDelivered"},
    EventName{"diverted", FlowEventKind::kRaw, 5, "evtDiverted"},
    EventName{"established", FlowEventKind::kCall, kEventEstablished, "evtEstablished"},
    EventName{"failed", FlowEventKind::kRaw, 7, "evtFailed"},
    EventName{"held", FlowEventKind::kCall, kEventHeld, "evtHeld"},
    EventName{"network-reached", FlowEventKind::kRaw, 9, "evtNetworkReached"},
    EventName{"originated", FlowEventKind::kCall, kEventOriginated, "evtOriginated"},
    EventName{"queued", FlowEventKind::kRaw, 11, "evtQueued"},
    EventName{"retrieved", FlowEventKind::kCall, kEventRetrieved, "evtRetrieved"},
    EventName{"transferred", FlowEventKind::kRaw, 14, "evtTransferred"},
    EventName{"private", FlowEventKind::kPrivate, 200, "private event"},
    EventName{"loggedon", FlowEventKind::kAgentState, kEventLoggedOn, "evtLoggedOn"},
    EventName{"loggedoff", FlowEventKind::kAgentState, kEventLoggedOff, "evtLoggedOff"},
    EventName{"notready", FlowEventKind::kAgentState, kEventNotReady, "evtNotReady"},
    EventName{"ready", FlowEventKind::kAgentState, kEventReady, "evtReady"},
    EventName{"otherwork", FlowEventKind::kAgentState, kEventOtherWork, "evtOtherWork"},
    EventName{"aftercallwork", FlowEventKind::kAgentState, kEventAfterCallWork,
              "evtAfterCallWork"},
    EventName{"pwd-confirm", FlowEventKind::kRaw, 253, "evtPwdConfirm"},
};

constexpr std::array<std::string_view, 6> kModes{"login",  "logout",    "notready",
                                                 "ready",  "otherwork", "aftercallwork"};

}  // namespace

std::optional<RequestName> FindRequestName(std::string_view name) {
  for (const RequestName& r : kRequests) {
    if (r.name == name) return r;
  }
  return std::nullopt;
}

std::string_view NameOfRequest(std::uint8_t cls, std::uint8_t code) {
  for (const RequestName& r : kRequests) {
    if (r.cls == cls && r.code == code) return r.name;
  }
  return {};
}

std::optional<EventName> FindEventName(std::string_view name) {
  for (const EventName& e : kEvents) {
    if (e.name == name) return e;
  }
  return std::nullopt;
}

std::string EventLogName(std::uint8_t code) {
  for (const EventName& e : kEvents) {
    if (e.code == code) return std::string(e.log_name);
  }
  return "event " + std::to_string(code);
}

std::optional<std::uint8_t> FindAgentMode(std::string_view name) {
  for (std::size_t i = 0; i < kModes.size(); ++i) {
    if (kModes[i] == name) return static_cast<std::uint8_t>(i);
  }
  return std::nullopt;
}

}  // namespace ctisim
