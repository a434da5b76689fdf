#include "agentphone/ui/qt_window_timers.h"

namespace agentphone::ui {

QtWindowTimers::QtWindowTimers(QObject* parent) : QObject(parent) {
  for (size_t i = 0; i < timers_.size(); ++i) {
    const auto id = static_cast<TimerId>(i);
    connect(&timers_[i], &QTimer::timeout, this, [this, id] {
      if (sink_) sink_->OnTimer(id);
    });
  }
}

void QtWindowTimers::Start(TimerId id, int32_t intervalMs) {
  if (intervalMs <= 0) {
    Of(id).stop();
    return;
  }
  Of(id).start(intervalMs);
}

void QtWindowTimers::Stop(TimerId id) { Of(id).stop(); }

bool QtWindowTimers::IsRunning(TimerId id) const {
  return timers_[static_cast<size_t>(id)].isActive();
}

}  // namespace agentphone::ui
