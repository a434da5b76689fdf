// StateSignal: wakes the threads that wait for a session of a gate to change its state (the
// fail-over wait of the gate proxy). Sessions ring it on every state change; a waiter notes
// the generation, tests its condition and sleeps until the generation moves or its deadline.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace vomtel {

class StateSignal {
 public:
  using Clock = std::chrono::steady_clock;

  void Ring() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ++generation_;
    }
    changed_.notify_all();
  }

  std::uint64_t Generation() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return generation_;
  }

  // Returns when the generation differs from `seen` or at `deadline`, whichever is first.
  void WaitChange(std::uint64_t seen, Clock::time_point deadline) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_until(lock, deadline, [&] { return generation_ != seen; });
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::uint64_t generation_ = 0;
};

}  // namespace vomtel
