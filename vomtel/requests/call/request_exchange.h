// The request and reply exchange shared by every request operation of the adapter.
//
// One request is one RequestExchange, used in this order:
//   1. construct it for the gate: it looks up the gate's active session ONCE and keeps it for
//      the whole request (a fail-over between the steps never moves the request to another
//      session); HasSession() false means the request returns kNoSession (3007);
//   2. CheckTexts: the operation's text limits (3025, nothing logged or numbered);
//   3. BeginBody or BeginAnswerBody, then the fields with the Stream puts (PutData16 for str16);
//   4. NumberRequest: 3025 when a field did not fit (a str8 text over 255 bytes, a frame over
//      8192 bytes); otherwise the request takes the next number of the adapter's counter, which
//      goes into the body; nothing has been logged or numbered before this step;
//   5. Log the request log (RequestLog, with RequestNumber()), built only when LogEnabled();
//   6. Send (or SendWithoutReply): frames the body on the session and sends it. From here until
//      the exchange ends the session's exchange lock is held: no other request of the session,
//      the session's own requests included, sends or waits in between;
//   7. WaitReply: the reply of this request; the head is read (Result, EchoedNumber) and Reply()
//      stands on the first byte of the reply data (byte 14; Seek(0) for readers that start at
//      the frame's first byte). Multi-frame readers read further frames with ReadReply and
//      ReadListPacket under the same lock;
//   8. LogOutcome with one of the outcome line forms (request_log.h); return the result.
//
// Replies: which reply a request takes, and which late replies it drops, is the session's
// reply policy (vomtel/core/reply_policy.h). Missing reply fields read as 0 (Stream).
// Logging never changes a result. Guarded turns any exception into kInternalError (3112).
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string_view>

#include "vomtel/core/result_codes.h"
#include "vomtel/core/session.h"
#include "vomtel/core/stream.h"
#include "vomtel/core/timings.h"
#include "vomtel/requests/call/request_log.h"

namespace vomtel {

class CSession;
class OrbaAdapter;

// Text limits of the request operations, in bytes. A text of exactly its limit passes.
inline constexpr std::size_t kUuiLimit = 32;     // user-to-user information
inline constexpr std::size_t kCiLimit = 128;     // CI data
inline constexpr std::size_t kDataLimit = 1024;  // UEI data and the other long data texts
inline constexpr std::size_t kStr8Limit = 255;   // any str8 field

inline constexpr std::uint8_t kCallClass = 0x41;     // call control, agent state, features
inline constexpr std::uint8_t kMonitorClass = 0x42;  // monitor
inline constexpr std::uint8_t kServiceClass = 0x45;  // session, devices and services
inline constexpr std::uint8_t kIvrClass = 0x57;      // IVR routing

// The usual reply wait, in seconds (Timings::ReplyWait turns it into time).
inline constexpr int kReplyWaitSeconds = 3;

struct TextLimit {
  std::string_view text;
  std::size_t limit;
};

// kOk when every text is within its limit, else kTextTooLong.
int CheckTexts(std::initializer_list<TextLimit> limits);

// A str16 field: the text's size as uint16, then the text. A text that a uint16 length cannot
// describe sets the body's error flag (NumberRequest then gives 3025) instead of going out cut.
Stream& PutData16(Stream& body, std::string_view text);
// PutData16 for a password: the text's bytes become the body's secret range, which no packet
// dump of the session's log shows.
Stream& PutSecretData16(Stream& body, std::string_view text);

// Runs `operation` and returns its result; any exception, of whatever type, gives 3112.
template <class Operation>
int Guarded(Operation&& operation) noexcept {
  try {
    return operation();
  } catch (...) {
    return kInternalError;
  }
}

class RequestExchange {
 public:
  RequestExchange(OrbaAdapter& adapter, int gate);
  ~RequestExchange();
  RequestExchange(const RequestExchange&) = delete;
  RequestExchange& operator=(const RequestExchange&) = delete;

  // False when the gate had no active session: the request returns kNoSession.
  bool HasSession() const { return session_ != nullptr; }
  // The session of this request; only when HasSession().
  CSession& Session() const { return *session_; }
  std::uint32_t SessionId() const;
  int Gate() const { return gate_; }
  OrbaAdapter& Adapter() const { return adapter_; }
  // The session's timings (the adapter's when there is no session).
  const Timings& GetTimings() const { return timings_; }
  std::chrono::milliseconds ReplyWait(int seconds) const { return timings_.ReplyWait(seconds); }

  // A new body with the request prefix: session id (uint32), then the request number slot.
  Stream& BeginBody();
  // A new body with the prefix of an answer to a server request: session id, the server's
  // request id (uint32), then the request number slot.
  Stream& BeginAnswerBody(std::uint32_t serverRequestId);
  Stream& Body() { return body_; }

  // kTextTooLong when the body's error flag is set or the frame would not fit its buffer:
  // nothing is numbered. Otherwise takes OrbaAdapter::NextRequestNumber, writes it into the
  // body and returns kOk.
  int NumberRequest();
  // The number taken by NumberRequest (0 before).
  std::uint16_t RequestNumber() const { return number_; }

  // Writes the text at level 1 into the session's log (nothing without a session).
  void Log(std::string_view text) const noexcept;
  // Whether Log writes a line: a session whose log threshold is at least 1. A text that costs
  // something to build is built only then.
  bool LogEnabled() const noexcept;
  // Writes the text that `compose` returns; an exception while composing drops the line.
  // `compose` is not called when the log would not write the line.
  template <class Compose>
  void LogWith(Compose&& compose) const noexcept {
    if (!LogEnabled()) return;
    try {
      Log(compose());
    } catch (...) {
      // The line is dropped; the result stands.
    }
  }
  // The first outcome form with the result word and this request's number.
  void LogOutcome(std::string_view name, std::int64_t result) const noexcept;

  // Frames the body with the class and code and sends it on the session (which stamps its
  // version byte and header word): 1, 2 (no room), 3013 (not sent in time), 3014 (not
  // connected). Takes the session's exchange lock first, unless it is already held.
  int Send(std::uint8_t cls, std::uint8_t code);
  // The same for a request whose reply nobody waits for: a reply the server may still send to
  // it is dropped by later waits instead of being taken as their reply.
  int SendWithoutReply(std::uint8_t cls, std::uint8_t code);

  // Waits up to `wait` (or ReplyWait(seconds)) for this request's reply: 1 with the head read,
  // 3013 when none came in time (the request counts as given up), 3014 when not connected.
  int WaitReply(std::chrono::milliseconds wait);
  int WaitReply(int seconds) { return WaitReply(ReplyWait(seconds)); }
  // The same for an answer read from its first byte, whose bytes 12-13 carry data, not the
  // request number (nothing of it is read): 1, 3013 or 3014.
  int WaitWholeReply(std::chrono::milliseconds wait);
  Stream& Reply() { return reply_; }
  std::uint32_t Result() const { return result_; }
  std::uint16_t EchoedNumber() const { return echoed_; }

  // Further frames of a multi-frame answer, on the same session under the same lock.
  // ReadReply: the next reply frame (late replies of requests that gave up are dropped, as in
  // WaitReply), waiting until the deadline; 1, 3013 or 3014. The frame is read from its first
  // byte (nothing of its head has been read).
  int ReadReply(Stream& out, std::chrono::steady_clock::time_point deadline);
  // The next list frame (0xA0) without waiting: 1, or 3010 when none is queued.
  int ReadListPacket(Stream& out);
  // Drops list frames left over from an earlier query.
  void DiscardListPackets();

  // Ends the exchange early: the exchange lock is released (the destructor does it too).
  void Finish();
  // Marks this request as given up on the exchange's own session (whatever session the gate
  // serves on now): its reply, or the rest of its answer, is dropped by later waits. Out of
  // memory, it is not remembered.
  void GiveUp() noexcept;

 private:
  int SendFrame(std::uint8_t cls, std::uint8_t code, bool awaited);
  // This request as its session's reply policy knows it.
  AwaitedReply Awaited() const;

  OrbaAdapter& adapter_;
  const int gate_;
  std::shared_ptr<CSession> session_;
  const Timings timings_;
  ExchangeLock lock_;
  Stream body_;
  std::size_t number_offset_ = 4;
  bool numbered_ = false;
  std::uint16_t number_ = 0;
  std::uint8_t cls_ = 0;   // of the frame sent
  std::uint8_t code_ = 0;
  bool whole_ = false;     // its answer is read from the first byte
  Stream reply_;
  std::uint32_t result_ = 0;
  std::uint16_t echoed_ = 0;
};

}  // namespace vomtel
