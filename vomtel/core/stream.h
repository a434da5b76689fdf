// Stream: the byte buffer of one frame, with big-endian puts and gets.
//
// A Stream made empty has room for 8192 bytes; one made from a received frame holds exactly
// that frame. Every put and get is bounds-checked: a put past the capacity writes nothing,
// a get past the bytes held reads zeros (texts read empty) and consumes what was left, and
// either sets a sticky error flag that callers building frames must test. Gets never read
// outside the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vomtel {

// A text with a 16-bit length in front on the wire (the argument of PutStr16). The length
// is the text's size taken to its low 16 bits.
struct SizedString {
  SizedString() = default;
  explicit SizedString(std::string_view text);
  std::uint16_t length = 0;
  std::string text;
};

// The target of GetTaggedStr8: a type byte and a text.
struct TaggedText {
  std::uint8_t type = 0;
  std::string text;
};

// Byte offsets [begin, end) of a frame; empty when end <= begin.
struct ByteRange {
  std::size_t begin = 0;
  std::size_t end = 0;
  bool Empty() const { return end <= begin; }
  bool Holds(std::size_t offset) const { return offset >= begin && offset < end; }
};

class Stream {
 public:
  static constexpr std::uint16_t kCapacity = 8192;

  // Empty: length 0, read position 0, capacity 8192, all bytes zero.
  Stream();
  // A received frame: the buffer is exactly these bytes (at most kCapacity are kept),
  // length = size, read position 0.
  Stream(const std::uint8_t* data, std::size_t size);

  // Appends after the bytes put so far (offset Length() while building, when nothing has
  // been read yet). A put that does not fit the capacity writes nothing and sets the flag.
  Stream& PutU8(std::uint8_t value);
  Stream& PutU16(std::uint16_t value);
  Stream& PutU32(std::uint32_t value);
  Stream& PutBytes(const std::uint8_t* data, std::size_t size);
  // More than 255 bytes: writes nothing and sets the error flag.
  Stream& PutStr8(std::string_view text);
  // Writes text.length bytes of text.text; a length beyond the text writes nothing and sets
  // the flag.
  Stream& PutStr16(const SizedString& text);

  Stream& GetU8(std::uint8_t& out);
  Stream& GetU16(std::uint16_t& out);
  Stream& GetU32(std::uint32_t& out);
  Stream& GetStr8(std::string& out);
  Stream& GetStr16(SizedString& out);
  // A length of 0 consumes the length byte and leaves `out` unchanged.
  Stream& GetTaggedStr8(TaggedText& out);
  // Copies up to `size` bytes into `out`; missing bytes are zero (and set the flag).
  Stream& GetBytes(std::uint8_t* out, std::size_t size);
  Stream& Skip(std::size_t count);

  // Bytes held and not yet read.
  std::uint16_t Length() const { return length_; }
  std::uint16_t ReadPosition() const { return read_position_; }
  std::uint16_t Capacity() const { return static_cast<std::uint16_t>(buffer_.size()); }
  // Bytes put so far: the frame size (Length() + ReadPosition()).
  std::size_t Size() const { return static_cast<std::size_t>(length_) + read_position_; }
  const std::uint8_t* Data() const { return buffer_.data(); }
  std::uint8_t* Data() { return buffer_.data(); }
  // Byte at an absolute offset, 0 past the bytes held.
  std::uint8_t At(std::size_t offset) const { return offset < Size() ? buffer_[offset] : 0; }

  // Moves the read position to an absolute offset within the bytes held (clamped).
  void Seek(std::size_t offset);

  // The sticky error flag: set by any put or get that did not fit, cleared only here.
  bool Failed() const { return failed_; }
  void ClearError() { failed_ = false; }
  // Sets the flag from outside, for a frame built from a body that had already failed.
  void MarkFailed() { failed_ = true; }

  // The bytes that no log may show (a password): every packet dump of them prints "** " per
  // byte. One range per Stream, empty unless set; copies of the Stream keep it.
  void SetSecret(ByteRange range) { secret_ = range; }
  ByteRange Secret() const { return secret_; }

 private:
  // Reserves `count` bytes to read at `at`; when fewer are held, consumes the rest, sets the
  // flag and returns false (the get then reads zeros).
  bool Take(std::size_t count, std::size_t& at);
  // Reserves `count` bytes to write at `at`; false (flag set, nothing reserved) when they do
  // not fit the capacity.
  bool Room(std::size_t count, std::size_t& at);

  std::uint16_t length_ = 0;
  std::uint16_t read_position_ = 0;
  bool failed_ = false;
  ByteRange secret_;
  std::vector<std::uint8_t> buffer_;
};

using StreamPtr = std::shared_ptr<Stream>;

// A shared, empty Stream (8192 zero bytes): requests are built in one.
StreamPtr NewStream();

}  // namespace vomtel
