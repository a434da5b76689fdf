#include "vomtel/requests/service/reply_reader.h"

#include "vomtel/core/frame.h"
#include "vomtel/core/result_codes.h"

namespace vomtel {

void ReplyReader::Head(std::uint32_t& result, std::uint16_t& number) {
  ReadReplyHeader(reply_, result, number);
}

std::uint16_t ReplyReader::OutboundHead() {
  reply_.Seek(0);
  reply_.ClearError();  // a head read over a short frame is not this reading's fault
  complete_ = true;
  reply_.Skip(4);
  return U16();
}

std::uint8_t ReplyReader::U8() {
  std::uint8_t value = 0;
  reply_.GetU8(value);
  return value;
}

std::uint16_t ReplyReader::U16() {
  std::uint16_t value = 0;
  reply_.GetU16(value);
  return value;
}

std::uint32_t ReplyReader::U32() {
  std::uint32_t value = 0;
  reply_.GetU32(value);
  return value;
}

std::string ReplyReader::Str8() {
  std::string value;
  reply_.GetStr8(value);
  return value;
}

SizedString ReplyReader::Str16() {
  SizedString value;
  reply_.GetStr16(value);
  return value;
}

void ReplyReader::Skip(std::size_t count) { reply_.Skip(count); }

bool ReplyReader::Fits(std::uint64_t count, std::size_t entryBytes) {
  if (count == 0) return true;
  if (entryBytes == 0 || count > Remaining() / entryBytes) {
    complete_ = false;
    return false;
  }
  return true;
}

std::int32_t SettleReply(std::uint32_t result, bool complete) {
  if (complete || result != static_cast<std::uint32_t>(kOk)) return static_cast<std::int32_t>(result);
  return kReplyMismatch;
}

}  // namespace vomtel
