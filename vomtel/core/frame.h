// Frame kinds and the heads of the request and reply frames.
//
// Every frame that carries a length counts it from byte 3 to the end, so a whole frame is
// length + 3 bytes long. Request frame: A1, uint16 length, class, code, version byte, uint16
// header word, body. Reply frame: the same 8-byte head with A2, then the uint32 result and
// the uint16 request number (14 bytes in all), then the reply data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "vomtel/core/stream.h"

namespace vomtel {

// First bytes of the frames on the wire.
inline constexpr std::uint8_t kRequestFrame = 0xA1;   // request (client) and event (server)
inline constexpr std::uint8_t kReplyFrame = 0xA2;     // reply to a request
inline constexpr std::uint8_t kListFrame = 0xA0;      // follow-up frame of a list reply
inline constexpr std::uint8_t kEnvelopeFrame = 0xEC;  // enciphered envelope around one frame
// One-byte local frames made by the receive side, never on the wire.
inline constexpr std::uint8_t kConnectionLost = 0xA4;
inline constexpr std::uint8_t kHaActive = 17;
inline constexpr std::uint8_t kHaStandby = 18;

// A received frame's length must be below this.
inline constexpr std::uint16_t kMaxFrameLength = 8190;

inline constexpr std::size_t kFrameLengthOffset = 1;  // uint16 length at bytes 1-2
inline constexpr std::size_t kFrameCountedFrom = 3;   // the length counts the bytes from here
inline constexpr std::size_t kRequestHeadSize = 8;    // head in front of a request body
inline constexpr std::size_t kReplyHeadSize = 14;     // head in front of the reply data
inline constexpr std::size_t kEventHeadSize = 30;     // head in front of an event body

// A new frame: the request head, then the body's bytes. The body must fit in 8192 - 8 bytes;
// a larger body, or a body whose error flag is set, gives a frame with its error flag set.
// The body's secret range becomes the same bytes' range in the frame.
StreamPtr BuildRequestFrame(const Stream& body, std::uint8_t cls, std::uint8_t code,
                            std::uint8_t version, std::uint16_t headerWord);

// Reads the 14-byte reply head from the read position: `result` gets bytes 8-11, `number`
// bytes 12-13, which are also returned. The head is not checked; a short frame reads zeros
// and sets the Stream's error flag. The read position ends 14 bytes further on.
std::uint16_t ReadReplyHeader(Stream& reply, std::uint32_t& result, std::uint16_t& number);

// Reads the reply head up to and including the result (12 bytes) and returns the result.
std::uint32_t ReadReplyResult(Stream& reply);

// A reply's head fields where they stand, without moving the read position (0 when the frame
// is too short): the request number it echoes (bytes 12-13) and its result (bytes 8-11).
inline constexpr std::size_t kReplyNumberOffset = 12;
inline std::uint16_t ReplyNumber(const Stream& reply) {
  return static_cast<std::uint16_t>(reply.At(kReplyNumberOffset) << 8 |
                                    reply.At(kReplyNumberOffset + 1));
}
inline std::uint32_t ReplyResultWord(const Stream& reply) {
  return static_cast<std::uint32_t>(reply.At(8)) << 24 |
         static_cast<std::uint32_t>(reply.At(9)) << 16 |
         static_cast<std::uint32_t>(reply.At(10)) << 8 | reply.At(11);
}

// "%02x " per byte, the last blank included; empty for a count of 0 or less or no data.
std::string HexDump(const std::uint8_t* data, int count);
// The same for bytes of a frame that begin at its offset `first`: those of the frame's
// `secret` range are shown as "** ".
std::string HexDump(const std::uint8_t* data, int count, std::size_t first, ByteRange secret);
// Appends that dump to `text`.
void AppendHexDump(std::string& text, const std::uint8_t* data, int count, std::size_t first,
                   ByteRange secret);

}  // namespace vomtel
