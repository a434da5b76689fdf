#include "tools/ctisim/frame.h"

namespace ctisim {

Frame& Frame::PutU8(std::uint8_t value) {
  bytes_.push_back(value);
  return *this;
}

Frame& Frame::PutU16(std::uint16_t value) {
  bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
  bytes_.push_back(static_cast<std::uint8_t>(value));
  return *this;
}

Frame& Frame::PutU32(std::uint32_t value) {
  PutU16(static_cast<std::uint16_t>(value >> 16));
  return PutU16(static_cast<std::uint16_t>(value));
}

Frame& Frame::PutStr8(std::string_view text) {
  PutU8(static_cast<std::uint8_t>(text.size()));
  return PutText(text);
}

Frame& Frame::PutStr16(std::string_view text) {
  PutU16(static_cast<std::uint16_t>(text.size()));
  return PutText(text);
}

Frame& Frame::PutTaggedStr8(std::uint8_t type, std::string_view text) {
  if (text.empty() && type == 0) return PutU8(0);
  PutU8(static_cast<std::uint8_t>(text.size() + 1));
  PutU8(type);
  return PutText(text);
}

Frame& Frame::PutBytes(const Bytes& bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

Frame& Frame::PutText(std::string_view text) {
  bytes_.insert(bytes_.end(), text.begin(), text.end());
  return *this;
}

Frame& Frame::PutZeros(std::size_t count) {
  bytes_.insert(bytes_.end(), count, 0);
  return *this;
}

Frame& Frame::SetU16(std::size_t offset, std::uint16_t value) {
  bytes_.at(offset) = static_cast<std::uint8_t>(value >> 8);
  bytes_.at(offset + 1) = static_cast<std::uint8_t>(value);
  return *this;
}

Bytes Concat(std::initializer_list<Bytes> frames) {
  Bytes out;
  for (const Bytes& f : frames) out.insert(out.end(), f.begin(), f.end());
  return out;
}

Bytes LengthFramed(std::uint8_t first, const Bytes& rest) {
  Frame f;
  f.PutU8(first).PutU16(static_cast<std::uint16_t>(rest.size())).PutBytes(rest);
  return f.Take();
}

namespace {

Frame HeadRest(const Head& head) {
  Frame f;
  f.PutU8(head.cls).PutU8(head.code).PutU8(head.version).PutU16(head.word);
  return f;
}

}  // namespace

Bytes RequestFrame(const Head& head, const Bytes& body) {
  return LengthFramed(kRequestOrEvent, HeadRest(head).PutBytes(body).bytes());
}

Bytes ReplyFrame(const Head& head, std::uint32_t result, std::uint16_t number, const Bytes& data) {
  return LengthFramed(kReplyFrame,
                      HeadRest(head).PutU32(result).PutU16(number).PutBytes(data).bytes());
}

Bytes ListFrame(const Bytes& content) { return LengthFramed(kListFrame, content); }

Bytes EventFrame(std::uint8_t code, const Bytes& body, const EventHead& head) {
  Frame f;
  f.PutU8(head.cls).PutU8(code).PutU8(head.version).PutU16(head.word);
  f.PutU16(head.year).PutU8(head.month).PutU8(head.day);
  f.PutU8(head.hour).PutU8(head.minute).PutU8(head.second).PutU16(head.millisecond);
  f.PutU16(head.spare16).PutU32(head.spare32a).PutU32(head.spare32b);
  f.PutU8(head.server_id).PutU8(head.switch_type).PutU8(head.call_kind);
  f.PutBytes(body);
  return LengthFramed(kRequestOrEvent, f.bytes());
}

Bytes HaNoticeFrame(bool active, const EventHead& head) {
  return EventFrame(kEventHaNotice, Bytes{0, static_cast<std::uint8_t>(active ? 1 : 0)}, head);
}

}  // namespace ctisim
