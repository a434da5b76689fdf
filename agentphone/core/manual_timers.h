// A TimerService on a manual clock, for tests: Advance(ms) delivers every expiry that falls in
// the interval, in time order, each timer periodic until stopped (as a window timer is).
#pragma once

#include <array>
#include <cstdint>

#include "agentphone/core/timers.h"

namespace agentphone {

class ManualTimers final : public TimerService {
 public:
  void SetSink(TimerSink* sink) { sink_ = sink; }

  void Start(TimerId id, int32_t intervalMs) override {
    Slot& s = slot(id);
    s.running = intervalMs > 0;
    s.interval = intervalMs;
    s.due = now_ + intervalMs;
    ++s.starts;
  }
  void Stop(TimerId id) override { slot(id).running = false; }
  bool IsRunning(TimerId id) const override { return slots_[static_cast<size_t>(id)].running; }
  int32_t Interval(TimerId id) const { return slots_[static_cast<size_t>(id)].interval; }
  int Starts(TimerId id) const { return slots_[static_cast<size_t>(id)].starts; }
  int64_t Now() const { return now_; }

  void Advance(int64_t ms) {
    const int64_t end = now_ + ms;
    for (;;) {
      int next = -1;
      for (size_t i = 0; i < slots_.size(); ++i) {
        if (slots_[i].running && slots_[i].due <= end &&
            (next < 0 || slots_[i].due < slots_[static_cast<size_t>(next)].due)) {
          next = static_cast<int>(i);
        }
      }
      if (next < 0) break;
      Slot& s = slots_[static_cast<size_t>(next)];
      now_ = s.due;
      s.due += s.interval;
      if (sink_) sink_->OnTimer(static_cast<TimerId>(next));
    }
    now_ = end;
  }

 private:
  struct Slot {
    bool running = false;
    int32_t interval = 0;
    int64_t due = 0;
    int starts = 0;
  };
  Slot& slot(TimerId id) { return slots_[static_cast<size_t>(id)]; }

  TimerSink* sink_ = nullptr;
  int64_t now_ = 0;
  std::array<Slot, 3> slots_{};
};

}  // namespace agentphone
