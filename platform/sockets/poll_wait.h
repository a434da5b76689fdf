// One wait of the socket service: a socket and a wake-up descriptor under poll(2).
#pragma once

#include <chrono>

namespace vomtel {

struct PollOutcome {
  int status = 0;          // 1 something is ready, 0 timed out, -1 poll failed
  bool readable = false;   // the socket has data, an error or a hang-up to report
  bool writable = false;   // the socket can take more bytes (asked for with wantWrite)
  bool woken = false;      // the wake-up descriptor was signalled
};

// Waits at most `timeout` for `fd` to become readable (when `wantRead`; writable when
// `wantWrite`) or for `wakeFd` to become readable. A negative `wakeFd` is not watched; nor is
// `fd` when neither is wanted. An interrupted poll is resumed with the time left to the same
// deadline.
PollOutcome PollSocket(int fd, bool wantWrite, int wakeFd, std::chrono::milliseconds timeout,
                       bool wantRead = true);

}  // namespace vomtel
