// ReplyReader: the one bounded reading of every reply that the service requests read.
//
// It reads a received frame field by field and never past the frame's last byte: a field
// that is not (wholly) there reads as zero or empty and marks the reading incomplete. Counts
// announced by the server are checked against the bytes left before a single entry is read,
// so a hostile count cannot make a reader loop or allocate for entries that are not there.
//
// The replies come in three layouts, each read by its own entry point:
//  - Head(): the 14-byte reply head (result at bytes 8-11, request number at 12-13); the
//    data follow from byte 14. Most replies are read so, some of them only on result 1.
//  - OutboundHead(): the outbound replies (black list, calling list, call-back insert,
//    campaign creation, preview call) read from the frame's first byte: bytes 0-3 not used,
//    bytes 4-5 the invoke number of the outcome line, the data (result first) from byte 6.
//  - list frames (0xA0) of the agent directory carry a reply head in front of one agent,
//    read with Head() as well.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "vomtel/core/stream.h"

namespace vomtel {

class ReplyReader {
 public:
  // Reads `reply` from its current read position (0 for a frame just taken from a queue).
  explicit ReplyReader(Stream& reply) : reply_(reply) {}

  // The 14-byte reply head; the reading then stands on the first data byte.
  void Head(std::uint32_t& result, std::uint16_t& number);
  // Bytes 0-5 of an outbound reply, read from the frame's first byte whatever was read
  // before (what that read found short is forgotten); returns bytes 4-5. The reading then
  // stands on byte 6.
  std::uint16_t OutboundHead();

  std::uint8_t U8();
  std::uint16_t U16();
  std::uint32_t U32();
  std::string Str8();
  SizedString Str16();
  void Skip(std::size_t count);

  // True when `count` entries of at least `entryBytes` bytes each can still be in the frame;
  // otherwise the reading is marked incomplete and nothing should be read for them.
  bool Fits(std::uint64_t count, std::size_t entryBytes);

  std::size_t Remaining() const { return reply_.Length(); }
  // No field read so far went past the frame, and every count checked fitted.
  bool Complete() const { return complete_ && !reply_.Failed(); }

 private:
  Stream& reply_;
  bool complete_ = true;
};

// The result an operation returns for a reply it has read: the server's result when the
// reply held everything it announced; otherwise 3002 in place of a success (a reply that
// does not hold what it announces answers nothing), a server failure code unchanged.
std::int32_t SettleReply(std::uint32_t result, bool complete);

}  // namespace vomtel
