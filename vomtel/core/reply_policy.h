// Which reply belongs to which waiting request, on one session.
//
// One exchange runs at a time per session (its exchange lock), and replies are queued in the
// order the server sends them. A waiting request takes the next reply of its session unless
// that reply is late: the reply of a request of this session that gave up on it (its send or
// wait ended in 3013, it was sent without a wait, or it stopped reading a multi-frame answer).
// A given-up request is known by its class, code and request number; its late reply carries
// the same class and code (bytes 3-4) and echoes the number (bytes 12-13, ReplyNumber).
//
// - Numbered requests (the session's own monitor start and stop, device add and remove,
//   numbered by the session's counter, and the adapter's requests, numbered by the adapter's)
//   take the next reply that is not late, whatever number it echoes (a server may number its
//   replies otherwise); a reply echoing their own number is always theirs.
// - Answers read from their first byte (outbound answers: data, not the number, at bytes
//   12-13) cannot be told by number. Waiting for one, a reply of its own class and code is
//   taken; replies of other requests that gave up are still dropped. Given up, such an
//   answer is known by class and code alone: its late reply is dropped by the other requests.
//
// The set is the session's, so a request that gave up on a session whose gate has failed over
// meanwhile still marks its own session. A new connection clears it: no late reply of the
// last one can come.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "vomtel/core/stream.h"

namespace vomtel {

// The request a reply wait is for.
struct AwaitedReply {
  enum class Kind : std::uint8_t {
    kAny,       // no particular request (the next reply that is not late)
    kNumbered,  // a numbered request: the next reply that is not late, its own always
    kWhole,     // an answer read from its first byte: no number to tell it by
  };
  Kind kind = Kind::kAny;
  std::uint8_t cls = 0;
  std::uint8_t code = 0;
  std::uint16_t number = 0;
};

// What a wait does with the reply it read.
enum class ReplyVerdict : std::uint8_t {
  kTake,         // the waiting request's reply
  kLateOwn,      // late, of one of the session's own requests
  kLateRequest,  // late, of one of the adapter's requests
};

class GivenUpReplies {
 public:
  static constexpr std::size_t kKept = 64;  // the most recent given-up requests kept

  // `whole`: the request's answer is read from its first byte (known by class and code).
  // `own`: a session-level request. Out of memory, nothing is remembered (never throws).
  void GiveUp(std::uint8_t cls, std::uint8_t code, std::uint16_t number, bool own,
              bool whole = false) noexcept;
  // The request is sent (again): its reply is awaited, no longer late.
  void Forget(const AwaitedReply& request);
  // The verdict on `reply` for the wait for `awaited`. A late reply of one of the session's
  // own requests is forgotten once dropped (it has one reply); the others stay, since a
  // multi-frame answer may send several.
  ReplyVerdict Judge(const Stream& reply, const AwaitedReply& awaited);
  // Whether any request with this number has given up.
  bool IsGivenUp(std::uint16_t number) const;
  void Clear();

 private:
  struct Entry {
    std::uint8_t cls;
    std::uint8_t code;
    std::uint16_t number;
    bool own;
    bool whole;
  };
  mutable std::mutex mutex_;
  std::vector<Entry> entries_;  // oldest first
};

}  // namespace vomtel
