// The main window's timers. The host runs them on its event loop (one-shot or periodic is the
// core's business: every handler stops its own timer first) and delivers each expiry by calling
// the core's OnTimer; a tick never arrives inside Start.
#pragma once

#include <cstdint>

namespace agentphone {

enum class TimerId : uint8_t {
  Timer2,  // delayed recording link of an outbound call, 3000 ms
  Timer3,  // the consultation dialog outside the click, 1000 ms
  Timer4,  // the database check, 60000 ms
};

class TimerService {
 public:
  virtual ~TimerService() = default;
  // Starts (or restarts) the timer with the interval; a running timer takes the new interval.
  virtual void Start(TimerId id, int32_t intervalMs) = 0;
  // Stops the timer; a stopped timer delivers no tick.
  virtual void Stop(TimerId id) = 0;
  virtual bool IsRunning(TimerId id) const = 0;
};

class TimerSink {
 public:
  virtual ~TimerSink() = default;
  virtual void OnTimer(TimerId id) = 0;
};

}  // namespace agentphone
