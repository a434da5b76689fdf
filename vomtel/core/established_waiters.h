// EstablishedWaiters: the process-wide rendezvous of the one-step conference. A caller arms a
// waiter for a device, sends its request and waits for the established event (code 6) whose
// monitored device is that device; every receive side reports each such event with Notify.
// Several waiters, for the same device or others, may be armed at once; each sees only the
// events that arrive after it was armed.
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
  // text is empty). The token stays valid until Disarm.
  Token Arm(std::string device);
  // Blocks until an event for the armed device has been notified since Arm, or until
  // `deadline`. True when seen (also when it was seen before the call); false on time-out or
  // for an unknown token.
  bool Wait(Token token, std::chrono::steady_clock::time_point deadline);
  // Stops watching; unknown tokens are ignored.
  void Disarm(Token token);
  // Marks every waiter armed for `device` as seen and wakes it. Never blocks for long.
  void Notify(std::string_view device);

 private:
  struct Waiter {
    std::string device;
    bool seen = false;
  };

  std::mutex mutex_;
  std::condition_variable signal_;
  std::map<Token, Waiter> waiters_;
  Token next_token_ = 1;
};

}  // namespace vomtel
