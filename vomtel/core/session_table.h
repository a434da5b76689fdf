// CSessionTable: the locked index of sessions by gate.
//
// Each operation holds the table's mutex for its whole run. Session states are atomics; the
// one lock taken beneath the table's is a session's short state lock, when PromoteStandby
// sets a state (no session lock is ever held while the table's is taken). The table owns its sessions through shared pointers;
// a session removed from the index lives on while a caller still holds it.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "vomtel/core/session.h"

namespace vomtel {

class CSessionTable {
 public:
  using SessionPtr = std::shared_ptr<CSession>;

  // Appends the session to the gate's sessions (order of addition is table order).
  void Add(int gate, SessionPtr session);
  // Drops the gate's sessions and its active entry.
  void Remove(int gate);
  // The same, only while the gate's sessions are still `sessions` (a gate closed and made
  // again under the same number is left alone). True when removed.
  bool RemoveIfSame(int gate, const std::vector<SessionPtr>& sessions);
  // The first active session of the gate becomes the active entry; none: unchanged.
  void SelectActive(int gate);
  // The first standby session of the gate other than `except` takes over (FailoverEvent::
  // kTakeOver) and becomes the active entry: true. None: false, nothing changes.
  bool PromoteStandby(int gate, const CSession* except = nullptr);
  int Count(int gate) const;
  // The session that serves the gate: the active entry while it is active, else the first
  // active session of the gate (a reconnect brought it back as active), else the entry as it
  // is (possibly down), or null. Nothing is selected.
  SessionPtr FindActive(int gate) const;
  // The gate's sessions, in table order (a copy: walk it without the lock).
  std::vector<SessionPtr> Sessions(int gate) const;
  // Every gate number that has sessions, ascending.
  std::vector<int> Gates() const;
  // The lowest gate number of 0 or more that has no sessions.
  int LowestFreeGate() const;

 private:
  // Mutex held.
  SessionPtr FirstInState(int gate, SessionState state, const CSession* except = nullptr) const;

  mutable std::mutex mutex_;
  std::map<int, std::vector<SessionPtr>> all_;
  std::map<int, SessionPtr> active_;
};

}  // namespace vomtel
