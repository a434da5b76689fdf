// Fail-over: the states of a session and the one step that takes a session from one state to
// the next.
//
// A gate has one or two sessions (one per server). At most one of them serves the gate's
// requests and events: the active one. Everything that moves a session between states is a
// FailoverEvent, and NextStep tells, for the state it is in, the state it goes to and what
// the gate does next ("try next"): whether the gate's standby takes over and whether the
// session's reconnect loop retries its server. The callers (the gate's open, the event fetch,
// the reconnect loop) read the events off the wire and apply the step; nothing else changes a
// state.
#pragma once

#include <cstdint>

namespace vomtel {

// The values are those the log lines print.
enum class SessionState : std::uint8_t {
  kDown = 0,          // its connection was lost
  kConstructed = 3,   // never opened
  kActive = 17,       // open, serving the gate
  kStandby = 18,      // open, waiting to take over
};

inline constexpr SessionState kStateDown = SessionState::kDown;
inline constexpr SessionState kStateConstructed = SessionState::kConstructed;
inline constexpr SessionState kStateActive = SessionState::kActive;
inline constexpr SessionState kStateStandby = SessionState::kStandby;

// Both open states.
constexpr bool IsOpen(SessionState state) {
  return state == SessionState::kActive || state == SessionState::kStandby;
}
constexpr int StateNumber(SessionState state) { return static_cast<int>(state); }

enum class FailoverEvent : std::uint8_t {
  kOpenedActive,   // an open whose reply made the session active
  kOpenedStandby,  // an HA open whose reply made it a standby
  kOpenFailed,     // an open that failed: the state stays as it was
  kLinkLost,       // the connection-lost notice of its current connection
  kToStandby,      // the server's standby notice
  kTakeOver,       // the gate's active session went: this standby serves now
};

struct FailoverStep {
  SessionState next;
  bool promoteStandby;  // the gate's first other standby takes over
  bool reconnect;       // the session's reconnect loop retries its server (HA gates only
                        // for a failed open: a one-server gate that did not open is closed)
};

// `ha`: the gate has two sessions.
constexpr FailoverStep NextStep(SessionState state, FailoverEvent event, bool ha) {
  switch (event) {
    case FailoverEvent::kOpenedActive:
      return {SessionState::kActive, false, false};
    case FailoverEvent::kOpenedStandby:
      return {SessionState::kStandby, false, false};
    case FailoverEvent::kOpenFailed:
      return {state, false, ha};
    case FailoverEvent::kLinkLost:
      return {SessionState::kDown, true, true};
    case FailoverEvent::kToStandby:
      // Only an active session is demoted; a standby's notice changes nothing.
      if (state != SessionState::kActive) return {state, false, false};
      return {SessionState::kStandby, true, false};
    case FailoverEvent::kTakeOver:
      if (state != SessionState::kStandby) return {state, false, false};
      return {SessionState::kActive, false, false};
  }
  return {state, false, false};
}

}  // namespace vomtel
