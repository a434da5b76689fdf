// Waiting on a condition while the program's event loop runs: events (and the deletions they
// leave behind) are processed until the condition holds. The patience is only the bound of a
// test that would otherwise hang; nothing is timed by it.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QThread>
#include <functional>

namespace agentphone::net_testing {

inline constexpr int kPatienceMs = 30000;

inline bool WaitUntil(const std::function<bool()>& done, int patienceMs = kPatienceMs) {
  QDeadlineTimer deadline(patienceMs);
  for (;;) {
    if (done()) return true;
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // what the test polls itself (a plain socket, a file) is not an event of the loop
    QThread::usleep(500);
  }
}

}  // namespace agentphone::net_testing
