#include "platform/sockets/socket_watch.h"

#include <sys/epoll.h>
#include <unistd.h>

#include <cerrno>

namespace vomtel {
namespace {

// What an event of the set stands for.
constexpr std::uint64_t kWakeTag = 1;
constexpr std::uint64_t kSocketTag = 2;

}  // namespace

SocketWatch::SocketWatch(int wakeFd) noexcept : wake_fd_(wakeFd) {
  epoll_fd_ = ::epoll_create1(EPOLL_CLOEXEC);
  if (epoll_fd_ < 0 || wake_fd_ < 0) return;
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.u64 = kWakeTag;
  if (::epoll_ctl(epoll_fd_, EPOLL_CTL_ADD, wake_fd_, &event) != 0) {
    ::close(epoll_fd_);  // a set without its wake-up could not be ended: poll instead
    epoll_fd_ = -1;
  }
}

SocketWatch::~SocketWatch() {
  if (epoll_fd_ >= 0) ::close(epoll_fd_);
}

void SocketWatch::Attach(int fd) noexcept {
  // Whatever the set held is dropped, even under the same number: the socket it was may have
  // been closed and the number given to a new one.
  if (registered_) ::epoll_ctl(epoll_fd_, EPOLL_CTL_DEL, fd_, nullptr);
  registered_ = false;
  registered_events_ = 0;
  fd_ = fd;
  Apply();
}

void SocketWatch::SetInterest(bool read, bool write) noexcept {
  read_ = read;
  write_ = write;
  Apply();
}

void SocketWatch::Apply() noexcept {
  if (epoll_fd_ < 0 || fd_ < 0) return;
  const std::uint32_t events = (read_ ? EPOLLIN | EPOLLRDHUP : 0u) | (write_ ? EPOLLOUT : 0u);
  if (registered_ && events == registered_events_) return;
  if (events == 0) {
    // Out of the set: an error or a hang-up, which epoll reports whatever the interest, then
    // wakes only the thread that reads the socket.
    ::epoll_ctl(epoll_fd_, EPOLL_CTL_DEL, fd_, nullptr);
    registered_ = false;
    registered_events_ = 0;
    return;
  }
  epoll_event event{};
  event.events = events;
  event.data.u64 = kSocketTag;
  if (::epoll_ctl(epoll_fd_, registered_ ? EPOLL_CTL_MOD : EPOLL_CTL_ADD, fd_, &event) == 0) {
    registered_ = true;
    registered_events_ = events;
  }
}

PollOutcome SocketWatch::Wait(std::chrono::milliseconds timeout) noexcept {
  if (epoll_fd_ < 0) return PollSocket(fd_, write_, wake_fd_, timeout, read_);
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + timeout;
  PollOutcome outcome;
  for (;;) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() < 0) left = std::chrono::milliseconds(0);
    epoll_event events[2];
    const int ready = ::epoll_wait(epoll_fd_, events, 2, static_cast<int>(left.count()));
    if (ready < 0) {
      if (errno == EINTR) continue;
      outcome.status = -1;
      return outcome;
    }
    if (ready == 0) return outcome;
    for (int i = 0; i < ready; ++i) {
      const std::uint32_t got = events[i].events;
      if (events[i].data.u64 == kWakeTag) {
        outcome.woken = true;
        continue;
      }
      outcome.readable = (got & (EPOLLIN | EPOLLRDHUP | EPOLLERR | EPOLLHUP)) != 0;
      outcome.writable = (got & EPOLLOUT) != 0;
    }
    outcome.status = 1;
    return outcome;
  }
}

}  // namespace vomtel
