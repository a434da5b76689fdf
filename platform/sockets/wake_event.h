// WakeEvent: an eventfd that one thread signals and another watches in its poll set.
#pragma once

namespace vomtel {

class WakeEvent {
 public:
  // Creates the eventfd (non-blocking, close-on-exec). When that fails Fd() is -1 and the
  // watcher only wakes at its own time-out.
  WakeEvent() noexcept;
  ~WakeEvent();
  WakeEvent(const WakeEvent&) = delete;
  WakeEvent& operator=(const WakeEvent&) = delete;

  int Fd() const { return fd_; }
  // Makes Fd() readable. Safe from any thread.
  void Signal() noexcept;
  // Makes Fd() unreadable again.
  void Drain() noexcept;

 private:
  int fd_;
};

}  // namespace vomtel
