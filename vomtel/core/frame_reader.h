// FrameReader: reassembles frames from a byte stream, a step machine that reads only what is
// there and keeps its progress between calls. It owns no socket: every stage takes the
// source to read from.
//
// A frame is a first byte (0xA0, 0xA1, 0xA2 or 0xEC), a 16-bit big-endian length and that
// many bytes. Bytes that are no first byte are skipped one at a time. A length of 8190 or
// more is refused; the bytes it announced are then skipped and the hunt for a first byte
// starts again.
#pragma once

#include <array>
#include <cstdint>

#include "vomtel/core/byte_io.h"

namespace vomtel {

class FrameReader {
 public:
  static constexpr int kBufferSize = 8192;
  static constexpr int kHeadSize = 3;

  // Stage 1: the first byte. 1 when it is (or was already) read and accepted; 4 when the byte
  // read is no frame type (it is dropped); 3008 when no byte is available (or bytes of a
  // refused frame are still being skipped); 5 when the source is closed or broken.
  int Receive(ByteSource& source);
  // Stage 2: the rest of the head. 1 when the length is known; 3008 while head bytes are
  // missing; 3111 for a length of 8190 or more; 5 closed or broken.
  int ReceiveLength(ByteSource& source);
  // Stage 3: the body. 1 when the frame is complete (Frame(), FrameSize() then hold it until
  // the next call of a stage); 3008 while bytes are missing; 5 closed or broken.
  int OnReceive(ByteSource& source);

  // Forgets any partial frame and any bytes still to be skipped.
  void Reset();
  // Steps over the next `count` bytes before looking for a first byte again: the rest of a
  // frame whose length field turned out too short for what its own head announces.
  void SkipNext(int count);

  const std::uint8_t* Frame() const { return buffer_.data(); }
  int FrameSize() const { return complete_size_; }

 private:
  std::array<std::uint8_t, kBufferSize> buffer_{};
  bool first_byte_done_ = false;
  bool length_done_ = false;
  int head_count_ = 0;
  int body_count_ = 0;
  int frame_length_ = 0;
  int skip_left_ = 0;       // bytes of a refused frame not yet skipped
  int complete_size_ = 0;   // size of the frame completed by the last OnReceive, else 0
};

}  // namespace vomtel
