// What the service requests add to the common request exchange: the send-and-wait step of
// the requests with one reply, and the bounds of the answers that come in many frames.
#pragma once

#include <cstddef>
#include <cstdint>

#include "vomtel/requests/call/request_exchange.h"

namespace vomtel {

// The most entries one multi-frame answer may hand back (a frame without entries counts as
// one); a server that keeps sending more ends the request with kTooManyDevices (3040), the
// entries read so far kept.
inline constexpr std::size_t kMaxListEntries = 10000;
// The overall deadline of a multi-frame answer, in reply-wait seconds: however the server
// paces its frames, the caller is released by then (3013).
inline constexpr int kListAnswerSeconds = 30;
// The reply wait of the two agent directory queries, in seconds.
inline constexpr int kDirectoryWaitSeconds = 5;

// Sends the numbered body with the class and code and waits up to `seconds` for the reply:
// kOk with the reply head read, or the send's or the wait's failing code.
int SendAndWait(RequestExchange& exchange, std::uint8_t cls, std::uint8_t code,
                int seconds = kReplyWaitSeconds);

// The same for the outbound requests whose reply is read from its first byte: such a reply
// carries data, not the request number, at bytes 12-13 (RequestExchange::WaitWholeReply).
// Nothing of it has been read.
int SendAndWaitWhole(RequestExchange& exchange, std::uint8_t cls, std::uint8_t code,
                     int seconds = kReplyWaitSeconds);

// Marks the rest of a multi-frame answer that the request stops reading (cap reached, a frame
// it cannot read) as given up, so that its further frames are dropped instead of becoming
// the replies of the session's next requests.
void AbandonAnswer(RequestExchange& exchange) noexcept;

// The signed 32-bit result an operation returns for a result word.
inline std::int32_t AsResult(std::uint32_t word) { return static_cast<std::int32_t>(word); }

}  // namespace vomtel
