// EstablishedWaiters: the process-wide rendezvous of the one-step conference. A caller arms a
// waiter for a device, sends its request and waits for the established event (code 6) whose
// monitored device is that device; every receive side reports each such event with Notify.
// Several waiters, for the same device or others, may be armed at once; each sees only the
// events that arrive after it was armed. A waiter armed with the link (connection id) its
// request goes out on stops waiting when that link ends: the event cannot come any more.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

namespace vomtel {

class EstablishedWaiters {
 public:
  using Token = std::uint64_t;

  // The one registry of the process.
  static EstablishedWaiters& Instance();

  EstablishedWaiters() = default;
  EstablishedWaiters(const EstablishedWaiters&) = delete;
  EstablishedWaiters& operator=(const EstablishedWaiters&) = delete;

  // Starts watching for `device` (exact bytes; an empty device matches an event whose device
  // text is empty), on `link` (0: on no link in particular). The token stays valid until
  // Disarm.
  Token Arm(std::string device, std::uint64_t link = 0);
  // Blocks until an event for the armed device has been notified since Arm, until the
  // waiter's link has ended, or until `deadline`. True when seen (also when it was seen before
  // the call); false on time-out, at the link's end or for an unknown token.
  bool Wait(Token token, std::chrono::steady_clock::time_point deadline);
  // Stops watching; unknown tokens are ignored.
  void Disarm(Token token);
  // Marks every waiter armed for `device` as seen and wakes it. Never blocks for long.
  void Notify(std::string_view device);
  // The link ended (lost or closed): every waiter armed on it stops waiting. 0 is no link.
  void EndLink(std::uint64_t link);

 private:
  struct Waiter {
    std::string device;
    std::uint64_t link = 0;
    bool seen = false;
    bool ended = false;
  };

  std::mutex mutex_;
  std::condition_variable signal_;
  std::map<Token, Waiter> waiters_;
  Token next_token_ = 1;
};

}  // namespace vomtel
