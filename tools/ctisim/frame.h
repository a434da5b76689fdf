// A byte builder for frame bodies (big-endian numbers, texts with a one- or two-byte length)
// and the functions that wrap a body into the frames the simulator sends or expects.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "tools/ctisim/wire.h"

namespace ctisim {

// Appends wire values to a growing byte vector. Nothing is checked against the receiving
// library's limits: tests build hostile frames with it too. PutStr8 and PutStr16 write the
// low bits of the text's size; PutLength8/PutLength16 and PutBytes write any mismatch on purpose.
class Frame {
 public:
  Frame() = default;
  explicit Frame(Bytes bytes) : bytes_(std::move(bytes)) {}

  Frame& PutU8(std::uint8_t value);
  Frame& PutU16(std::uint16_t value);
  Frame& PutU32(std::uint32_t value);
  Frame& PutStr8(std::string_view text);
  Frame& PutStr16(std::string_view text);
  // Tagged str8: length n = text size + 1, the type byte, then the text; an empty text with
  // type 0 gives the single byte 0.
  Frame& PutTaggedStr8(std::uint8_t type, std::string_view text);
  Frame& PutBytes(const Bytes& bytes);
  Frame& PutText(std::string_view text);  // the text's bytes, no length
  Frame& PutZeros(std::size_t count);

  // Overwrites two bytes at `offset` (which must lie inside the frame) with a big-endian value.
  Frame& SetU16(std::size_t offset, std::uint16_t value);

  const Bytes& bytes() const { return bytes_; }
  std::size_t size() const { return bytes_.size(); }
  Bytes Take() { return std::move(bytes_); }

 private:
  Bytes bytes_;
};

// The fields of a frame head that the simulator fills: class, code, version byte, header word.
struct Head {
  std::uint8_t cls = 0;
  std::uint8_t code = 0;
  std::uint8_t version = 0;
  std::uint16_t word = 0;
};

// The frames one after another, to be written at once (coalesced).
Bytes Concat(std::initializer_list<Bytes> frames);

// First byte, length of what follows byte 2 (the low 16 bits of rest.size()), then `rest`.
Bytes LengthFramed(std::uint8_t first, const Bytes& rest);

// A request frame (0xA1): head, then the body.
Bytes RequestFrame(const Head& head, const Bytes& body);

// A reply frame (0xA2): head, result at bytes 8-11, request number at 12-13, data from 14.
Bytes ReplyFrame(const Head& head, std::uint32_t result, std::uint16_t number,
                 const Bytes& data = {});

// A list frame (0xA0): the 3-byte head, then the content.
Bytes ListFrame(const Bytes& content);

// Bytes 3-29 of an event frame.
struct EventHead {
  std::uint8_t cls = 0x41;
  std::uint8_t version = 0;
  std::uint16_t word = 0;
  std::uint16_t year = 2026;
  std::uint8_t month = 1;
  std::uint8_t day = 2;
  std::uint8_t hour = 3;
  std::uint8_t minute = 4;
  std::uint8_t second = 5;
  std::uint16_t millisecond = 6;
  std::uint16_t spare16 = 0;
  std::uint32_t spare32a = 0;
  std::uint32_t spare32b = 0;
  std::uint8_t server_id = 1;
  std::uint8_t switch_type = 0;
  std::uint8_t call_kind = 0;
};

// An event frame (0xA1): the 30-byte head with `code` at byte 4, then the body from byte 30.
Bytes EventFrame(std::uint8_t code, const Bytes& body, const EventHead& head = {});

// The HA notice: an event frame with code 0xFC whose byte 31 is 1 (active) or 0 (standby).
Bytes HaNoticeFrame(bool active, const EventHead& head = {});

}  // namespace ctisim
