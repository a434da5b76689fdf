#include "vomtel/core/established_waiters.h"

#include <utility>

namespace vomtel {

EstablishedWaiters& EstablishedWaiters::Instance() {
  static EstablishedWaiters instance;
  return instance;
}

EstablishedWaiters::Token EstablishedWaiters::Arm(std::string device, std::uint64_t link) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Token token = next_token_++;
  waiters_.emplace(token, Waiter{std::move(device), link, false, false});
  return token;
}

bool EstablishedWaiters::Wait(Token token, std::chrono::steady_clock::time_point deadline) {
  std::unique_lock<std::mutex> lock(mutex_);
  auto seen = [&] {
    const auto it = waiters_.find(token);
    return it == waiters_.end() || it->second.seen || it->second.ended;
  };
  signal_.wait_until(lock, deadline, seen);
  const auto it = waiters_.find(token);
  return it != waiters_.end() && it->second.seen;
}

void EstablishedWaiters::Disarm(Token token) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    waiters_.erase(token);
  }
  signal_.notify_all();  // a Wait on this token returns false at once
}

void EstablishedWaiters::Notify(std::string_view device) {
  bool any = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& [token, waiter] : waiters_) {
      if (!waiter.seen && waiter.device == device) {
        waiter.seen = true;
        any = true;
      }
    }
  }
  if (any) signal_.notify_all();
}

void EstablishedWaiters::EndLink(std::uint64_t link) {
  if (link == 0) return;
  bool any = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& [token, waiter] : waiters_) {
      if (waiter.link == link && !waiter.ended) {
        waiter.ended = true;
        any = true;
      }
    }
  }
  if (any) signal_.notify_all();
}

}  // namespace vomtel
