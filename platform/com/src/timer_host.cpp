// Window-timer bookkeeping for a host's event loop.
#include <algorithm>

#include "vomcom/client_site.h"

namespace vomcom {

TimerHost::Timer* TimerHost::Find(IVcTimerSink* sink, UINT_PTR id) {
  for (Timer& t : timers_)
    if (t.sink.Get() == sink && t.id == id) return &t;
  return nullptr;
}

UINT_PTR TimerHost::Set(IVcTimerSink* sink, UINT_PTR id, UINT elapseMs, uint64_t nowMs) {
  if (!sink || id == 0) return 0;
  const uint64_t interval = std::max<uint64_t>(elapseMs, minimumMs_ == 0 ? 1 : minimumMs_);
  if (Timer* t = Find(sink, id)) {
    // A replacement: a new period from now, and no tick left over from the old timer.
    t->intervalMs = interval;
    t->dueMs = nowMs + interval;
    t->pending = false;
    t->serial = nextSerial_++;
    return id;
  }
  timers_.push_back({ComPtr<IVcTimerSink>(sink), id, interval, nowMs + interval, false,
                     nextSerial_++});
  return id;
}

bool TimerHost::Kill(IVcTimerSink* sink, UINT_PTR id) {
  auto it = std::find_if(timers_.begin(), timers_.end(),
                         [&](const Timer& t) { return t.sink.Get() == sink && t.id == id; });
  if (it == timers_.end()) return false;
  ComPtr<IVcTimerSink> keep = std::move(it->sink);  // released after the list is consistent
  timers_.erase(it);
  return true;
}

void TimerHost::KillAll() {
  std::vector<Timer> gone;
  gone.swap(timers_);
}

size_t TimerHost::MarkDue(uint64_t nowMs) {
  size_t pending = 0;
  for (Timer& t : timers_) {
    if (nowMs >= t.dueMs) {
      t.pending = true;
      // Missed periods merge into the one pending tick; the next is due a period later.
      const uint64_t missed = (nowMs - t.dueMs) / t.intervalMs + 1;
      t.dueMs += missed * t.intervalMs;
    }
    if (t.pending) ++pending;
  }
  return pending;
}

size_t TimerHost::DeliverPending() {
  struct Due {
    ComPtr<IVcTimerSink> sink;
    UINT_PTR id;
    uint64_t serial;
  };
  std::vector<Due> due;
  for (const Timer& t : timers_)
    if (t.pending) due.push_back({t.sink, t.id, t.serial});
  size_t delivered = 0;
  for (Due& d : due) {
    // The timer may have been killed, replaced or delivered by a nested loop meanwhile.
    Timer* t = Find(d.sink.Get(), d.id);
    if (!t || t->serial != d.serial || !t->pending) continue;
    t->pending = false;
    ++delivered;
    d.sink->OnTimer(d.id);
  }
  return delivered;
}

std::optional<uint64_t> TimerHost::NextDueMs() const {
  std::optional<uint64_t> next;
  for (const Timer& t : timers_)
    if (!next || t.dueMs < *next) next = t.dueMs;
  return next;
}

bool TimerHost::HasId(UINT_PTR id) const {
  return std::any_of(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.id == id; });
}

size_t TimerHost::PendingCount() const {
  return static_cast<size_t>(
      std::count_if(timers_.begin(), timers_.end(), [](const Timer& t) { return t.pending; }));
}

}  // namespace vomcom
