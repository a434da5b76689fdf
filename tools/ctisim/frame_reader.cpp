#include "tools/ctisim/frame_reader.h"

namespace ctisim {

std::uint8_t FrameReader::GetU8() {
  if (position_ >= bytes_.size()) {
    ok_ = false;
    ++position_;
    return 0;
  }
  return bytes_[position_++];
}

std::uint16_t FrameReader::GetU16() {
  const std::uint16_t high = GetU8();
  return static_cast<std::uint16_t>((high << 8) | GetU8());
}

std::uint32_t FrameReader::GetU32() {
  const std::uint32_t high = GetU16();
  return (high << 16) | GetU16();
}

std::string FrameReader::GetStr8() {
  const std::size_t n = GetU8();
  const Bytes b = GetBytes(n);
  return std::string(b.begin(), b.end());
}

std::string FrameReader::GetStr16() {
  const std::size_t n = GetU16();
  const Bytes b = GetBytes(n);
  return std::string(b.begin(), b.end());
}

std::pair<std::uint8_t, std::string> FrameReader::GetTaggedStr8() {
  const std::size_t n = GetU8();
  if (n == 0) return {0, {}};
  const std::uint8_t type = GetU8();
  const Bytes b = GetBytes(n - 1);
  return {type, std::string(b.begin(), b.end())};
}

Bytes FrameReader::GetBytes(std::size_t count) {
  Bytes out;
  out.reserve(count);
  for (std::size_t i = 0; i < count; ++i) out.push_back(GetU8());
  return out;
}

void FrameReader::Skip(std::size_t count) {
  if (count > remaining()) ok_ = false;
  position_ += count;
}

}  // namespace ctisim
