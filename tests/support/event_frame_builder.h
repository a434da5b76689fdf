// Builds event frames as the server sends them: the 30-byte head, then a body of big-endian
// numbers and texts. Nothing is checked: tests build short and hostile frames with it too.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "vomtel/core/stream.h"

namespace vomtel::test {

using FrameBytes = std::vector<std::uint8_t>;

// The head values a frame carries besides its event code.
struct EventFrameHead {
  std::uint16_t year = 2026;
  std::uint8_t month = 12;
  std::uint8_t day = 10;
  std::uint8_t hour = 9;
  std::uint8_t minute = 8;
  std::uint8_t second = 7;
  std::uint16_t millisecond = 654;
  std::uint8_t svrid = 3;
  std::uint8_t pbxtype = 4;
  std::uint8_t callkind = 5;
};

class EventFrameBuilder {
 public:
  explicit EventFrameBuilder(std::uint8_t code, const EventFrameHead& head = {});

  EventFrameBuilder& U8(std::uint8_t value);
  EventFrameBuilder& U16(std::uint16_t value);
  EventFrameBuilder& U32(std::uint32_t value);
  EventFrameBuilder& Str8(std::string_view text);
  EventFrameBuilder& Str16(std::string_view text);
  // Tagged str8: length = text size + 1, the type byte, the text. Tagged0() is the empty
  // party (the single byte 0).
  EventFrameBuilder& Tagged(std::uint8_t type, std::string_view text);
  EventFrameBuilder& Tagged0() { return U8(0); }
  EventFrameBuilder& Raw(std::initializer_list<std::uint8_t> bytes);
  EventFrameBuilder& Raw(const FrameBytes& bytes);

  // The frame with its length field (bytes 1-2) set to the size less 3.
  FrameBytes Bytes() const;

 private:
  FrameBytes bytes_;
};

// A received frame holding exactly `bytes`.
Stream MakeFrame(const FrameBytes& bytes);

}  // namespace vomtel::test
