#include "platform/sockets/wake_event.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace vomtel {

WakeEvent::WakeEvent() noexcept : fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

WakeEvent::~WakeEvent() {
  if (fd_ >= 0) ::close(fd_);
}

void WakeEvent::Signal() noexcept {
  if (fd_ < 0) return;
  const std::uint64_t one = 1;
  // A full counter (EAGAIN) is still readable, which is all a signal needs.
  [[maybe_unused]] const ssize_t written = ::write(fd_, &one, sizeof one);
}

void WakeEvent::Drain() noexcept {
  if (fd_ < 0) return;
  std::uint64_t value = 0;
  [[maybe_unused]] const ssize_t got = ::read(fd_, &value, sizeof value);
}

}  // namespace vomtel
