// EventCursor: reads the fields of one received event frame.
//
// The cursor runs over the bytes the frame holds and never past them: a byte beyond the
// frame reads as 0, one at a time, so a field that straddles the end of a short frame gets
// its real bytes followed by zeros (a text keeps its wire length). Decoding a frame is
// therefore the same as decoding it padded with zeros to any length. Numbers are big-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "vomtel/core/stream.h"

namespace vomtel {

class EventCursor {
 public:
  // Starts at the frame's read position. The frame must outlive the cursor.
  explicit EventCursor(const Stream& frame);

  std::uint8_t U8();
  std::uint16_t U16();
  std::uint32_t U32();
  // u8 length, then that many bytes.
  std::string Str8();
  // u16 length, then that many bytes; the length is the wire length.
  SizedString Str16();
  // u8 length L; 0 gives type 0 and an empty text (one byte consumed); else a type byte and
  // L - 1 bytes of text.
  TaggedText Tagged();
  void Skip(std::size_t count);

  // Offset of the next byte, counted from the start of the frame (may lie beyond its end).
  std::size_t Position() const { return position_; }

 private:
  std::string Text(std::size_t size);

  const Stream& frame_;
  std::size_t position_;
};

}  // namespace vomtel
