#include "vomtel/requests/call/request_exchange.h"

#include <algorithm>
#include <atomic>
#include <string>

#include "vomtel/core/frame.h"
#include "vomtel/core/logger.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/core/session.h"
#include "vomtel/requests/call/late_replies.h"

namespace vomtel {

namespace {

std::uint16_t EchoOf(const Stream& frame) {
  return static_cast<std::uint16_t>((frame.At(12) << 8) | frame.At(13));
}

std::uint32_t ResultOf(const Stream& frame) {
  return (static_cast<std::uint32_t>(frame.At(8)) << 24) |
         (static_cast<std::uint32_t>(frame.At(9)) << 16) |
         (static_cast<std::uint32_t>(frame.At(10)) << 8) | frame.At(11);
}

std::atomic<std::uint16_t> last_number{1};

}  // namespace

std::uint16_t LastRequestNumber() { return last_number.load(); }

int CheckTexts(std::initializer_list<TextLimit> limits) {
  for (const TextLimit& limit : limits) {
    if (limit.text.size() > limit.limit) return kTextTooLong;
  }
  return kOk;
}

Stream& PutData16(Stream& body, std::string_view text) {
  if (text.size() > 0xFFFF) {
    body.MarkFailed();
    return body;
  }
  return body.PutStr16(SizedString(text));
}

Stream& PutSecretData16(Stream& body, std::string_view text) {
  PutData16(body, text);
  if (!body.Failed()) body.SetSecret({body.Size() - text.size(), body.Size()});
  return body;
}

RequestExchange::RequestExchange(OrbaAdapter& adapter, int gate)
    : adapter_(adapter),
      gate_(gate),
      session_(adapter.Proxy().FindActive(gate)),
      timings_(session_ ? session_->GetTimings() : adapter.GetTimings()) {}

RequestExchange::~RequestExchange() = default;

std::uint32_t RequestExchange::SessionId() const { return session_ ? session_->SessionId() : 0; }

Stream& RequestExchange::BeginBody() {
  body_ = Stream();
  numbered_ = false;
  number_offset_ = 4;
  body_.PutU32(SessionId()).PutU16(0);
  return body_;
}

Stream& RequestExchange::BeginAnswerBody(std::uint32_t serverRequestId) {
  body_ = Stream();
  numbered_ = false;
  number_offset_ = 8;
  body_.PutU32(SessionId()).PutU32(serverRequestId).PutU16(0);
  return body_;
}

int RequestExchange::NumberRequest() {
  if (!session_) return kNoSession;
  if (body_.Failed() || body_.Size() < number_offset_ + 2 ||
      body_.Size() > Stream::kCapacity - kRequestHeadSize) {
    return kTextTooLong;
  }
  number_ = adapter_.NextRequestNumber();
  last_number.store(number_);
  body_.Data()[number_offset_] = static_cast<std::uint8_t>(number_ >> 8);
  body_.Data()[number_offset_ + 1] = static_cast<std::uint8_t>(number_);
  numbered_ = true;
  return kOk;
}

void RequestExchange::Log(std::string_view text) const noexcept {
  if (session_) session_->Logger().Write(text, kLogInfo);
}

bool RequestExchange::LogEnabled() const noexcept {
  return session_ && session_->Logger().Enabled(kLogInfo);
}

void RequestExchange::LogOutcome(std::string_view name, std::int64_t result) const noexcept {
  LogWith([&] { return OutcomeLine(name, result, number_); });
}

int RequestExchange::Send(std::uint8_t cls, std::uint8_t code) {
  return SendFrame(cls, code, true);
}

int RequestExchange::SendWithoutReply(std::uint8_t cls, std::uint8_t code) {
  return SendFrame(cls, code, false);
}

int RequestExchange::SendFrame(std::uint8_t cls, std::uint8_t code, bool awaited) {
  if (!session_) return kNotConnected;
  if (!numbered_) return kInternalError;
  StreamPtr frame = BuildRequestFrame(body_, cls, code, session_->Version(), 0);
  if (frame->Failed()) return kTextTooLong;
  if (!lock_.owns_lock()) lock_ = session_->LockExchange();
  LateReplies::Instance().Forget(session_, number_);
  const int result = session_->Send(*frame);
  if (result == kTimeout || (result == kOk && !awaited)) GiveUp();
  return result;
}

void RequestExchange::GiveUp() noexcept {
  if (!session_) return;
  try {
    LateReplies::Instance().GiveUp(session_, number_);
  } catch (...) {
    // Out of memory: the number is not remembered and its late reply is taken as a reply.
  }
}

int RequestExchange::WaitReply(std::chrono::milliseconds wait) {
  const int result = ReadReply(reply_, std::chrono::steady_clock::now() + wait);
  if (result != kOk) return result;
  ReadReplyHeader(reply_, result_, echoed_);
  return kOk;
}

int RequestExchange::ReadReply(Stream& out, std::chrono::steady_clock::time_point deadline) {
  if (!session_) return kNotConnected;
  if (!lock_.owns_lock()) lock_ = session_->LockExchange();
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    const int result = session_->ReadReply(out, std::max(left, std::chrono::milliseconds(0)));
    if (result != kOk) {
      if (result == kTimeout && numbered_) GiveUp();
      return result;
    }
    const std::uint16_t echo = EchoOf(out);
    if (echo == number_ || !LateReplies::Instance().IsLate(session_, echo)) return kOk;
    LogWith([&] {
      return "<RequestExchange>late reply dropped: invoke[" + std::to_string(echo) + "] result[" +
             std::to_string(ResultOf(out)) + "]";
    });
    // Late replies that are always queued already must not carry the wait past its end.
    if (std::chrono::steady_clock::now() >= deadline) {
      if (numbered_) GiveUp();
      return kTimeout;
    }
  }
}

int RequestExchange::ReadListPacket(Stream& out) {
  if (!session_) return kNotConnected;
  return session_->ReadListPacket(out);
}

void RequestExchange::DiscardListPackets() {
  if (session_) session_->DiscardListPackets();
}

void RequestExchange::Finish() {
  if (lock_.owns_lock()) lock_.unlock();
}

}  // namespace vomtel
