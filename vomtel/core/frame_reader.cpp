#include "vomtel/core/frame_reader.h"

#include <algorithm>

#include "vomtel/core/frame.h"
#include "vomtel/core/result_codes.h"

namespace vomtel {
namespace {

bool IsFrameType(std::uint8_t byte) {
  return byte == kListFrame || byte == kRequestFrame || byte == kReplyFrame || byte == kEnvelopeFrame;
}

}  // namespace

int FrameReader::Receive(ByteSource& source) {
  complete_size_ = 0;
  if (first_byte_done_) return kOk;
  while (skip_left_ > 0) {
    const int got = source.Read(buffer_.data(), std::min(skip_left_, kBufferSize));
    if (got < 0) return kConnectionClosed;
    if (got == 0) return kIncomplete;
    skip_left_ -= got;
  }
  const int got = source.Read(buffer_.data(), 1);
  if (got < 0) return kConnectionClosed;
  if (got == 0) return kIncomplete;
  if (!IsFrameType(buffer_[0])) return kNotFrameType;
  head_count_ = 1;
  first_byte_done_ = true;
  return kOk;
}

int FrameReader::ReceiveLength(ByteSource& source) {
  complete_size_ = 0;
  if (length_done_) return kOk;
  if (!first_byte_done_) return kIncomplete;
  const int got = source.Read(buffer_.data() + head_count_, kHeadSize - head_count_);
  if (got < 0) return kConnectionClosed;
  head_count_ += got;
  if (head_count_ < kHeadSize) return kIncomplete;
  head_count_ = 0;
  frame_length_ = (buffer_[1] << 8) | buffer_[2];
  if (frame_length_ >= kMaxFrameLength) {
    // Nothing in such a frame can be trusted: step over what it announced, then look for
    // the next first byte.
    first_byte_done_ = false;
    skip_left_ = frame_length_;
    return kFrameTooLong;
  }
  length_done_ = true;
  body_count_ = 0;
  return kOk;
}

int FrameReader::OnReceive(ByteSource& source) {
  complete_size_ = 0;
  if (!first_byte_done_ || !length_done_) return kIncomplete;
  const int missing = frame_length_ - body_count_;
  if (missing > 0) {
    const int got = source.Read(buffer_.data() + kHeadSize + body_count_, missing);
    if (got < 0) return kConnectionClosed;
    body_count_ += got;
    if (body_count_ < frame_length_) return kIncomplete;
  }
  complete_size_ = frame_length_ + kHeadSize;
  body_count_ = 0;
  first_byte_done_ = false;
  length_done_ = false;
  return kOk;
}

void FrameReader::SkipNext(int count) {
  if (count > 0) skip_left_ += count;
}

void FrameReader::Reset() {
  first_byte_done_ = false;
  length_done_ = false;
  head_count_ = 0;
  body_count_ = 0;
  frame_length_ = 0;
  skip_left_ = 0;
  complete_size_ = 0;
}

}  // namespace vomtel
