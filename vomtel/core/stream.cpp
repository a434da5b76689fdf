#include "vomtel/core/stream.h"

#include <algorithm>
#include <cstring>

namespace vomtel {
namespace {

// memcpy without the null-pointer trap of an empty view.
void CopyBytes(void* to, const void* from, std::size_t size) {
  if (size > 0) std::memcpy(to, from, size);
}

}  // namespace

SizedString::SizedString(std::string_view value)
    : length(static_cast<std::uint16_t>(value.size())), text(value) {}

Stream::Stream() : buffer_(kCapacity, 0) {}

Stream::Stream(const std::uint8_t* data, std::size_t size) {
  const std::size_t kept = data == nullptr ? 0 : std::min<std::size_t>(size, kCapacity);
  buffer_.assign(data, data + kept);
  length_ = static_cast<std::uint16_t>(kept);
}

bool Stream::Room(std::size_t count, std::size_t& at) {
  at = Size();
  if (count > buffer_.size() - at) {
    failed_ = true;
    return false;
  }
  length_ = static_cast<std::uint16_t>(length_ + count);
  return true;
}

bool Stream::Take(std::size_t count, std::size_t& at) {
  at = read_position_;
  if (count > length_) {
    read_position_ = static_cast<std::uint16_t>(read_position_ + length_);
    length_ = 0;
    failed_ = true;
    return false;
  }
  read_position_ = static_cast<std::uint16_t>(read_position_ + count);
  length_ = static_cast<std::uint16_t>(length_ - count);
  return true;
}

Stream& Stream::PutU8(std::uint8_t value) { return PutBytes(&value, 1); }

Stream& Stream::PutU16(std::uint16_t value) {
  const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value >> 8),
                                 static_cast<std::uint8_t>(value)};
  return PutBytes(bytes, sizeof bytes);
}

Stream& Stream::PutU32(std::uint32_t value) {
  const std::uint8_t bytes[4] = {
      static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
      static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
  return PutBytes(bytes, sizeof bytes);
}

Stream& Stream::PutBytes(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return *this;
  if (data == nullptr) {
    failed_ = true;
    return *this;
  }
  std::size_t at = 0;
  if (Room(size, at)) std::memcpy(buffer_.data() + at, data, size);
  return *this;
}

Stream& Stream::PutStr8(std::string_view text) {
  std::size_t at = 0;
  if (text.size() > 255 || !Room(1 + text.size(), at)) {
    failed_ = true;
    return *this;
  }
  buffer_[at] = static_cast<std::uint8_t>(text.size());
  CopyBytes(buffer_.data() + at + 1, text.data(), text.size());
  return *this;
}

Stream& Stream::PutStr16(const SizedString& text) {
  std::size_t at = 0;
  if (text.length > text.text.size() || !Room(2u + text.length, at)) {
    failed_ = true;
    return *this;
  }
  buffer_[at] = static_cast<std::uint8_t>(text.length >> 8);
  buffer_[at + 1] = static_cast<std::uint8_t>(text.length);
  CopyBytes(buffer_.data() + at + 2, text.text.data(), text.length);
  return *this;
}

Stream& Stream::GetU8(std::uint8_t& out) {
  std::size_t at = 0;
  out = Take(1, at) ? buffer_[at] : 0;
  return *this;
}

Stream& Stream::GetU16(std::uint16_t& out) {
  std::size_t at = 0;
  out = Take(2, at) ? static_cast<std::uint16_t>(buffer_[at] << 8 | buffer_[at + 1]) : 0;
  return *this;
}

Stream& Stream::GetU32(std::uint32_t& out) {
  std::size_t at = 0;
  out = 0;
  if (Take(4, at)) {
    for (int i = 0; i < 4; ++i) out = out << 8 | buffer_[at + i];
  }
  return *this;
}

Stream& Stream::GetStr8(std::string& out) {
  std::size_t at = 0;
  out.clear();
  if (!Take(1, at)) return *this;
  const std::uint8_t size = buffer_[at];
  if (Take(size, at)) out.assign(reinterpret_cast<const char*>(buffer_.data() + at), size);
  return *this;
}

Stream& Stream::GetStr16(SizedString& out) {
  std::size_t at = 0;
  out.length = 0;
  out.text.clear();
  if (!Take(2, at)) return *this;
  const std::uint16_t size = static_cast<std::uint16_t>(buffer_[at] << 8 | buffer_[at + 1]);
  if (Take(size, at)) {
    out.length = size;
    out.text.assign(reinterpret_cast<const char*>(buffer_.data() + at), size);
  }
  return *this;
}

Stream& Stream::GetTaggedStr8(TaggedText& out) {
  std::size_t at = 0;
  if (!Take(1, at)) {
    out = TaggedText{};
    return *this;
  }
  const std::uint8_t size = buffer_[at];
  if (size == 0) return *this;
  if (!Take(size, at)) {
    out = TaggedText{};
    return *this;
  }
  out.type = buffer_[at];
  out.text.assign(reinterpret_cast<const char*>(buffer_.data() + at + 1), size - 1u);
  return *this;
}

Stream& Stream::GetBytes(std::uint8_t* out, std::size_t size) {
  if (size == 0) return *this;
  if (out == nullptr) return Skip(size);
  const std::size_t held = std::min<std::size_t>(size, length_);
  std::size_t at = 0;
  Take(size, at);
  CopyBytes(out, buffer_.data() + at, held);
  std::memset(out + held, 0, size - held);
  return *this;
}

Stream& Stream::Skip(std::size_t count) {
  std::size_t at = 0;
  Take(count, at);
  return *this;
}

void Stream::Seek(std::size_t offset) {
  const std::size_t size = Size();
  read_position_ = static_cast<std::uint16_t>(std::min(offset, size));
  length_ = static_cast<std::uint16_t>(size - read_position_);
}

StreamPtr NewStream() { return std::make_shared<Stream>(); }

}  // namespace vomtel
