#include "vomtel/core/frame_decoder.h"

#include <algorithm>
#include <cstring>

#include "vomtel/core/frame.h"
#include "vomtel/core/result_codes.h"

namespace vomtel {
namespace {

bool IsFrameType(std::uint8_t byte) {
  return byte == kListFrame || byte == kRequestFrame || byte == kReplyFrame || byte == kEnvelopeFrame;
}

}  // namespace

int FrameDecoder::Input::Take(std::uint8_t* to, int most) {
  const int count = std::min(most, left);
  if (count <= 0) return 0;
  if (to != nullptr) std::memcpy(to, data, static_cast<std::size_t>(count));
  data += count;
  left -= count;
  return count;
}

int FrameDecoder::Feed(const std::uint8_t* data, int size, int& used) {
  complete_size_ = 0;
  refused_size_ = 0;
  Input in{data, std::max(size, 0)};
  int result = Receive(in);
  if (result == kOk) result = ReceiveLength(in);
  if (result == kOk) result = OnReceive(in);
  used = std::max(size, 0) - in.left;
  return result;
}

int FrameDecoder::Receive(Input& in) {
  if (first_byte_done_) return kOk;
  skip_left_ -= in.Take(nullptr, skip_left_);
  if (skip_left_ > 0) return kIncomplete;
  if (in.Take(buffer_.data(), 1) == 0) return kIncomplete;
  if (!IsFrameType(buffer_[0])) return kNotFrameType;
  head_count_ = 1;
  first_byte_done_ = true;
  return kOk;
}

int FrameDecoder::ReceiveLength(Input& in) {
  if (length_done_) return kOk;
  head_count_ += in.Take(buffer_.data() + head_count_, kHeadSize - head_count_);
  if (head_count_ < kHeadSize) return kIncomplete;
  head_count_ = 0;
  frame_length_ = (buffer_[1] << 8) | buffer_[2];
  // Nothing in a frame too long for the buffer can be trusted: only its class and code are
  // read, to name it; the rest of what it announced is stepped over.
  refusing_ = frame_length_ >= kMaxFrameLength;
  length_done_ = true;
  body_count_ = 0;
  return kOk;
}

int FrameDecoder::OnReceive(Input& in) {
  const int wanted = refusing_ ? kRefusedSeen - kHeadSize : frame_length_;
  body_count_ += in.Take(buffer_.data() + kHeadSize + body_count_, wanted - body_count_);
  if (refusing_) {
    if (body_count_ < wanted) return kIncomplete;
    refused_size_ = frame_length_ + kHeadSize;
    skip_left_ = frame_length_ - wanted;
    refusing_ = false;
    body_count_ = 0;
    first_byte_done_ = false;
    length_done_ = false;
    return kFrameTooLong;
  }
  if (body_count_ < frame_length_) return kIncomplete;
  complete_size_ = frame_length_ + kHeadSize;
  body_count_ = 0;
  first_byte_done_ = false;
  length_done_ = false;
  return kOk;
}

void FrameDecoder::SkipNext(int count) {
  if (count > 0) skip_left_ += count;
}

void FrameDecoder::Reset() {
  first_byte_done_ = false;
  length_done_ = false;
  head_count_ = 0;
  body_count_ = 0;
  frame_length_ = 0;
  refusing_ = false;
  skip_left_ = 0;
  complete_size_ = 0;
  refused_size_ = 0;
}

}  // namespace vomtel
