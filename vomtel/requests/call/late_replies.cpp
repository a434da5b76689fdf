#include "vomtel/requests/call/late_replies.h"

#include <algorithm>

namespace vomtel {

LateReplies& LateReplies::Instance() {
  static LateReplies instance;
  return instance;
}

void LateReplies::GiveUp(const std::shared_ptr<CSession>& session, std::uint16_t number) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::erase_if(numbers_, [](const auto& entry) { return entry.first.expired(); });
  auto& numbers = numbers_[session];
  if (std::find(numbers.begin(), numbers.end(), number) != numbers.end()) return;
  numbers.push_back(number);
  if (numbers.size() > kKept) numbers.pop_front();
}

void LateReplies::Forget(const std::shared_ptr<CSession>& session, std::uint16_t number) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = numbers_.find(session);
  if (it == numbers_.end()) return;
  std::erase(it->second, number);
  if (it->second.empty()) numbers_.erase(it);
}

bool LateReplies::IsLate(const std::shared_ptr<CSession>& session, std::uint16_t number) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto it = numbers_.find(session);
  return it != numbers_.end() &&
         std::find(it->second.begin(), it->second.end(), number) != it->second.end();
}

}  // namespace vomtel
