#include "vomtel/api/event_cursor.h"

#include <algorithm>

namespace vomtel {

EventCursor::EventCursor(const Stream& frame) : frame_(frame), position_(frame.ReadPosition()) {}

std::uint8_t EventCursor::U8() { return frame_.At(position_++); }

std::uint16_t EventCursor::U16() {
  const std::uint16_t high = U8();
  return static_cast<std::uint16_t>(high << 8 | U8());
}

std::uint32_t EventCursor::U32() {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value = value << 8 | U8();
  return value;
}

std::string EventCursor::Text(std::size_t size) {
  std::string text(size, '\0');
  const std::size_t held = frame_.Size();
  if (position_ < held) {
    const std::size_t copied = std::min(size, held - position_);
    std::copy_n(frame_.Data() + position_, copied, text.begin());
  }
  position_ += size;
  return text;
}

std::string EventCursor::Str8() { return Text(U8()); }

SizedString EventCursor::Str16() {
  SizedString out;
  out.length = U16();
  out.text = Text(out.length);
  return out;
}

TaggedText EventCursor::Tagged() {
  TaggedText out;
  const std::uint8_t size = U8();
  if (size == 0) return out;
  out.type = U8();
  out.text = Text(size - 1u);
  return out;
}

void EventCursor::Skip(std::size_t count) { position_ += count; }

}  // namespace vomtel
