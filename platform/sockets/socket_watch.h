// SocketWatch: the socket service's wait on its socket and its wake-up descriptor, an epoll set
// whose interest in the socket another thread may change while the loop waits in it. A thread
// that reads the socket itself takes it out of the loop's interest, so that what then arrives
// wakes that thread alone, and puts it back when it is done: what arrived meanwhile and was not
// read then wakes the loop at once.
//
// Threads: Wait is called by one thread (the loop); Attach, SetInterest and Detach may be
// called by any thread while it waits, one at a time (the owner serialises them).
// When the epoll set cannot be made, Wait falls back to poll(2) over the same descriptors with
// the interest as it stood when the wait began; an owner then changes it only between waits.
#pragma once

#include <chrono>
#include <cstdint>

#include "platform/sockets/poll_wait.h"

namespace vomtel {

class SocketWatch {
 public:
  // `wakeFd` is watched for reading for as long as this lives (none when negative).
  explicit SocketWatch(int wakeFd) noexcept;
  ~SocketWatch();
  SocketWatch(const SocketWatch&) = delete;
  SocketWatch& operator=(const SocketWatch&) = delete;

  // False when the epoll set could not be made: interest changes do not reach a wait under way.
  bool Shared() const { return epoll_fd_ >= 0; }

  // Watches `fd` from now on, for what `SetInterest` says; the socket watched before is dropped
  // from the set. Detach the socket before closing it.
  void Attach(int fd) noexcept;
  // Stops watching the socket (before it is closed).
  void Detach() noexcept { Attach(-1); }
  // Watches the socket for reading, writing, both or neither.
  void SetInterest(bool read, bool write) noexcept;

  // Waits at most `timeout` for the socket (as far as it is watched) or the wake-up descriptor.
  // `readable` also reports an error or a hang-up of the socket. An interrupted wait is resumed
  // with the time left to the same deadline.
  PollOutcome Wait(std::chrono::milliseconds timeout) noexcept;

 private:
  void Apply() noexcept;

  int epoll_fd_ = -1;
  int wake_fd_ = -1;
  int fd_ = -1;
  bool read_ = false;
  bool write_ = false;
  bool registered_ = false;           // fd_ is in the set
  std::uint32_t registered_events_ = 0;
};

}  // namespace vomtel
