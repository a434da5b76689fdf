#include "tools/ctisim/frame_decoder.h"

namespace ctisim {

bool IsFrameType(std::uint8_t first) {
  return first == kListFrame || first == kRequestOrEvent || first == kReplyFrame ||
         first == kEnvelope;
}

void FrameDecoder::Feed(const std::uint8_t* data, std::size_t size) {
  if (start_ > 0 && start_ == buffer_.size()) {
    buffer_.clear();
    start_ = 0;
  }
  buffer_.insert(buffer_.end(), data, data + size);
}

std::optional<Bytes> FrameDecoder::Next() {
  while (start_ < buffer_.size() && !IsFrameType(buffer_[start_])) {
    ++start_;
    ++skipped_;
  }
  if (buffer_.size() - start_ < kLengthHead) return std::nullopt;
  const std::size_t length = (std::size_t{buffer_[start_ + 1]} << 8) | buffer_[start_ + 2];
  const std::size_t total = kLengthHead + length;
  if (buffer_.size() - start_ < total) return std::nullopt;
  Bytes frame(buffer_.begin() + static_cast<std::ptrdiff_t>(start_),
              buffer_.begin() + static_cast<std::ptrdiff_t>(start_ + total));
  start_ += total;
  if (start_ > 4096 && start_ * 2 > buffer_.size()) {
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
    start_ = 0;
  }
  return frame;
}

}  // namespace ctisim
