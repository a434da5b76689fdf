// LateReplies: per session, the request numbers of requests that gave up on their reply (or
// never waited for one). A reply that echoes such a number is not the reply of the request
// that is waiting now; the exchange drops it. Each session keeps its most recent numbers only,
// and a number is forgotten when a new request takes it again (the counter wraps).
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>

namespace vomtel {

class CSession;

class LateReplies {
 public:
  static constexpr std::size_t kKept = 64;  // numbers remembered per session

  static LateReplies& Instance();

  void GiveUp(const std::shared_ptr<CSession>& session, std::uint16_t number);
  // A new request on the session carries `number`: its reply is awaited again.
  void Forget(const std::shared_ptr<CSession>& session, std::uint16_t number);
  bool IsLate(const std::shared_ptr<CSession>& session, std::uint16_t number) const;

 private:
  using Key = std::weak_ptr<CSession>;
  mutable std::mutex mutex_;
  std::map<Key, std::deque<std::uint16_t>, std::owner_less<Key>> numbers_;
};

}  // namespace vomtel
