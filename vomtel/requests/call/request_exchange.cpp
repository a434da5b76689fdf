#include "vomtel/requests/call/request_exchange.h"

#include <algorithm>
#include <string>

#include "vomtel/core/frame.h"
#include "vomtel/core/logger.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/core/session.h"

namespace vomtel {

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
  cls_ = cls;
  code_ = code;
  session_->GivenUp().Forget(Awaited());
  const int result = session_->Send(*frame);
  if (result == kTimeout || (result == kOk && !awaited)) GiveUp();
  return result;
}

AwaitedReply RequestExchange::Awaited() const {
  return AwaitedReply{whole_ ? AwaitedReply::Kind::kWhole : AwaitedReply::Kind::kNumbered, cls_,
                      code_, number_};
}

void RequestExchange::GiveUp() noexcept {
  if (session_) session_->GivenUp().GiveUp(cls_, code_, number_, false, whole_);
}

int RequestExchange::WaitReply(std::chrono::milliseconds wait) {
  const int result = ReadReply(reply_, std::chrono::steady_clock::now() + wait);
  if (result != kOk) return result;
  ReadReplyHeader(reply_, result_, echoed_);
  return kOk;
}

int RequestExchange::WaitWholeReply(std::chrono::milliseconds wait) {
  whole_ = true;
  return ReadReply(reply_, std::chrono::steady_clock::now() + wait);
}

int RequestExchange::ReadReply(Stream& out, std::chrono::steady_clock::time_point deadline) {
  if (!session_) return kNotConnected;
  if (!lock_.owns_lock()) lock_ = session_->LockExchange();
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  const int result =
      session_->ReadReply(out, std::max(left, std::chrono::milliseconds(0)), Awaited());
  if (result == kTimeout && numbered_) GiveUp();
  return result;
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
