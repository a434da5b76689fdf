// A bounded big-endian reader over the bytes of one frame. Reads past the end yield zeros and
// clear ok(), so a test can decode a short or hostile frame without ever leaving its bytes.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "tools/ctisim/wire.h"

namespace ctisim {

class FrameReader {
 public:
  explicit FrameReader(const Bytes& bytes, std::size_t position = 0)
      : bytes_(bytes), position_(position) {}

  std::uint8_t GetU8();
  std::uint16_t GetU16();
  std::uint32_t GetU32();
  std::string GetStr8();
  std::string GetStr16();
  // Tagged str8: {type, text}; a length byte of 0 gives {0, ""}.
  std::pair<std::uint8_t, std::string> GetTaggedStr8();
  Bytes GetBytes(std::size_t count);
  void Skip(std::size_t count);

  std::size_t position() const { return position_; }
  std::size_t remaining() const { return position_ < bytes_.size() ? bytes_.size() - position_ : 0; }
  // False once any read wanted more bytes than the frame holds.
  bool ok() const { return ok_; }

 private:
  const Bytes& bytes_;
  std::size_t position_;
  bool ok_ = true;
};

}  // namespace ctisim
