#include "platform/sockets/poll_wait.h"

#include <poll.h>

#include <cerrno>

namespace vomtel {

PollOutcome PollSocket(int fd, bool wantWrite, int wakeFd, std::chrono::milliseconds timeout,
                       bool wantRead) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + timeout;
  pollfd fds[2] = {};
  fds[0].fd = wantRead || wantWrite ? fd : -1;  // a negative fd is skipped by poll
  fds[0].events = static_cast<short>((wantRead ? POLLIN : 0) | (wantWrite ? POLLOUT : 0));
  fds[1].fd = wakeFd;  // a negative fd is skipped by poll
  fds[1].events = POLLIN;
  const nfds_t count = wakeFd >= 0 ? 2 : 1;

  PollOutcome outcome;
  for (;;) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() < 0) left = std::chrono::milliseconds(0);
    const int ready = ::poll(fds, count, static_cast<int>(left.count()));
    if (ready < 0) {
      if (errno == EINTR) continue;
      outcome.status = -1;
      return outcome;
    }
    if (ready == 0) return outcome;
    const short got = fds[0].revents;
    if (got & POLLNVAL) {
      outcome.status = -1;
      return outcome;
    }
    outcome.readable = wantRead && (got & (POLLIN | POLLERR | POLLHUP)) != 0;
    outcome.writable = (got & POLLOUT) != 0;
    outcome.woken = count == 2 && (fds[1].revents & POLLIN) != 0;
    outcome.status = 1;
    return outcome;
  }
}

}  // namespace vomtel
