// The client site services a control takes from the site its host sets (IVcTimerService,
// IVcUserInterface, declared in vomcom/automation.h), and vomcom::TimerHost, the bookkeeping of
// window-timer semantics that a host's event loop drives.
//
// Window-timer semantics: ids are per sink; setting an id the sink already has replaces the
// timer (restarting its period) and returns the id; timers are periodic; a tick is delivered
// only from the host's loop (DeliverPending), never inside Set; a timer that came due several
// times before the loop got to it has one tick pending, not several; Kill says whether the
// timer existed and drops its pending tick.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "vomcom/automation.h"
#include "vomcom/com_ptr.h"

namespace vomcom {

class VOMCOM_API TimerHost {
 public:
  // Intervals below minimumMs are raised to it (the platform's 10 ms floor).
  explicit TimerHost(UINT minimumMs = 10) : minimumMs_(minimumMs) {}
  TimerHost(const TimerHost&) = delete;
  TimerHost& operator=(const TimerHost&) = delete;

  // nowMs: the host's monotonic clock. Returns id, 0 for a null sink or id 0. The timer holds
  // a reference to the sink until it is killed.
  UINT_PTR Set(IVcTimerSink* sink, UINT_PTR id, UINT elapseMs, uint64_t nowMs);
  bool Kill(IVcTimerSink* sink, UINT_PTR id);
  void KillAll();
  // Timers due at nowMs become pending (at most one tick each); returns the pending count.
  size_t MarkDue(uint64_t nowMs);
  // Delivers the pending ticks, each once; a tick handler may call DeliverPending again (a
  // modal loop) and may set or kill timers. Returns the ticks delivered by this call.
  size_t DeliverPending();
  // The earliest due time, for a host that arms one system timer.
  std::optional<uint64_t> NextDueMs() const;
  size_t ActiveCount() const { return timers_.size(); }
  // Whether some sink has a timer of this id.
  bool HasId(UINT_PTR id) const;
  size_t PendingCount() const;

 private:
  struct Timer {
    ComPtr<IVcTimerSink> sink;
    UINT_PTR id;
    uint64_t intervalMs;
    uint64_t dueMs;
    bool pending;
    uint64_t serial;  // tells a replaced timer from the one it replaced
  };
  Timer* Find(IVcTimerSink* sink, UINT_PTR id);

  UINT minimumMs_;
  std::vector<Timer> timers_;
  uint64_t nextSerial_ = 1;
};

}  // namespace vomcom
