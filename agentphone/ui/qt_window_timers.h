// The main window's three timers on the Qt event loop; each expiry goes to the sink (the core).
// A timer is periodic until stopped; a start with an interval of 0 or less stops it.
#pragma once

#include <QObject>
#include <QTimer>
#include <array>

#include "agentphone/core/timers.h"

namespace agentphone::ui {

class QtWindowTimers final : public QObject, public TimerService {
 public:
  explicit QtWindowTimers(QObject* parent = nullptr);

  void SetSink(TimerSink* sink) { sink_ = sink; }

  void Start(TimerId id, int32_t intervalMs) override;
  void Stop(TimerId id) override;
  bool IsRunning(TimerId id) const override;

 private:
  QTimer& Of(TimerId id) { return timers_[static_cast<size_t>(id)]; }

  TimerSink* sink_ = nullptr;
  std::array<QTimer, 3> timers_;
};

}  // namespace agentphone::ui
