#include "vomtel/core/reply_policy.h"

#include <algorithm>

#include "vomtel/core/frame.h"

namespace vomtel {

void GivenUpReplies::GiveUp(std::uint8_t cls, std::uint8_t code, std::uint16_t number, bool own,
                            bool whole) noexcept {
  std::lock_guard<std::mutex> lock(mutex_);
  const Entry entry{cls, code, whole ? std::uint16_t{0} : number, own, whole};
  const bool listed = std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) {
    return e.cls == entry.cls && e.code == entry.code && e.number == entry.number &&
           e.own == entry.own && e.whole == entry.whole;
  });
  if (listed) return;
  try {
    if (entries_.size() >= kKept) entries_.erase(entries_.begin());
    entries_.push_back(entry);
  } catch (...) {
    // Out of memory: this request's late reply will be taken as a reply.
  }
}

void GivenUpReplies::Forget(const AwaitedReply& request) {
  const bool whole = request.kind == AwaitedReply::Kind::kWhole;
  std::lock_guard<std::mutex> lock(mutex_);
  std::erase_if(entries_, [&](const Entry& e) {
    return e.cls == request.cls && e.code == request.code && e.whole == whole &&
           (whole || e.number == request.number);
  });
}

ReplyVerdict GivenUpReplies::Judge(const Stream& reply, const AwaitedReply& awaited) {
  const std::uint8_t cls = reply.At(3);
  const std::uint8_t code = reply.At(4);
  const std::uint16_t number = ReplyNumber(reply);
  const auto sameRequest = [&](const Entry& e) { return e.cls == cls && e.code == code; };

  std::lock_guard<std::mutex> lock(mutex_);
  const auto own = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
    return e.own && sameRequest(e) && e.number == number;
  });
  if (own != entries_.end()) {
    entries_.erase(own);
    return ReplyVerdict::kLateOwn;
  }
  switch (awaited.kind) {
    case AwaitedReply::Kind::kNumbered:
      if (number == awaited.number) return ReplyVerdict::kTake;
      break;
    case AwaitedReply::Kind::kWhole:
      // A reply of its own kind is its answer: the number cannot tell it from a late one.
      if (cls == awaited.cls && code == awaited.code) return ReplyVerdict::kTake;
      break;
    case AwaitedReply::Kind::kAny:
      break;
  }
  const bool late = std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) {
    return !e.own && sameRequest(e) && (e.whole || e.number == number);
  });
  return late ? ReplyVerdict::kLateRequest : ReplyVerdict::kTake;
}

bool GivenUpReplies::IsGivenUp(std::uint16_t number) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::any_of(entries_.begin(), entries_.end(),
                     [&](const Entry& e) { return !e.whole && e.number == number; });
}

void GivenUpReplies::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  entries_.clear();
}

}  // namespace vomtel
