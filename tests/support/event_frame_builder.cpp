#include "support/event_frame_builder.h"

namespace vomtel::test {

EventFrameBuilder::EventFrameBuilder(std::uint8_t code, const EventFrameHead& head) {
  U8(0xA1).U16(0).U8(0x41).U8(code).U8(0).U16(0);
  U16(head.year).U8(head.month).U8(head.day).U8(head.hour).U8(head.minute).U8(head.second);
  U16(head.millisecond).U16(0xEEEE).U32(0xDDDDDDDD).U32(0xCCCCCCCC);
  U8(head.svrid).U8(head.pbxtype).U8(head.callkind);
}

EventFrameBuilder& EventFrameBuilder::U8(std::uint8_t value) {
  bytes_.push_back(value);
  return *this;
}

EventFrameBuilder& EventFrameBuilder::U16(std::uint16_t value) {
  return U8(static_cast<std::uint8_t>(value >> 8)).U8(static_cast<std::uint8_t>(value));
}

EventFrameBuilder& EventFrameBuilder::U32(std::uint32_t value) {
  return U16(static_cast<std::uint16_t>(value >> 16)).U16(static_cast<std::uint16_t>(value));
}

EventFrameBuilder& EventFrameBuilder::Str8(std::string_view text) {
  U8(static_cast<std::uint8_t>(text.size()));
  bytes_.insert(bytes_.end(), text.begin(), text.end());
  return *this;
}

EventFrameBuilder& EventFrameBuilder::Str16(std::string_view text) {
  U16(static_cast<std::uint16_t>(text.size()));
  bytes_.insert(bytes_.end(), text.begin(), text.end());
  return *this;
}

EventFrameBuilder& EventFrameBuilder::Tagged(std::uint8_t type, std::string_view text) {
  U8(static_cast<std::uint8_t>(text.size() + 1)).U8(type);
  bytes_.insert(bytes_.end(), text.begin(), text.end());
  return *this;
}

EventFrameBuilder& EventFrameBuilder::Raw(std::initializer_list<std::uint8_t> bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

EventFrameBuilder& EventFrameBuilder::Raw(const FrameBytes& bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

FrameBytes EventFrameBuilder::Bytes() const {
  FrameBytes frame = bytes_;
  const std::size_t length = frame.size() - 3;
  frame[1] = static_cast<std::uint8_t>(length >> 8);
  frame[2] = static_cast<std::uint8_t>(length);
  return frame;
}

Stream MakeFrame(const FrameBytes& bytes) { return Stream(bytes.data(), bytes.size()); }

}  // namespace vomtel::test
