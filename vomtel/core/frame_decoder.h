// FrameDecoder: reassembles frames from the bytes handed to it, a push codec that keeps its
// progress between calls. It owns no socket and reads nothing itself: its owner feeds it what
// arrived, in pieces of any size.
//
// A frame is a first byte (0xA0, 0xA1, 0xA2 or 0xEC), a 16-bit big-endian length and that
// many bytes. Bytes that are no first byte are dropped one at a time. A length of 8190 or
// more is refused once the two bytes behind the head (class and code) have come, so that the
// frame can be named; the rest it announced is then skipped as it comes and the hunt for a
// first byte starts again.
#pragma once

#include <array>
#include <cstdint>

namespace vomtel {

class FrameDecoder {
 public:
  static constexpr int kBufferSize = 8192;
  static constexpr int kHeadSize = 3;

  // Takes bytes from the front of `data` up to one outcome; `used` receives how many it took
  // (the rest is for the next call). 1: a frame is complete (Frame(), FrameSize() hold it
  // until the next call); 3008: every byte was taken and no frame is complete yet (need
  // more); 4: one byte that is no first byte was taken and dropped; 3111: a length of 8190 or
  // more was read (the head and the class and code bytes behind it were taken, see
  // RefusedSize; the rest it announced is skipped by later calls).
  int Feed(const std::uint8_t* data, int size, int& used);

  // The frame refused by the last Feed (3111): its first kRefusedSeen bytes (first byte,
  // length, class, code) at Frame(), and the size its head announced (length + 3).
  static constexpr int kRefusedSeen = kHeadSize + 2;
  int RefusedSize() const { return refused_size_; }

  // Forgets any partial frame and any bytes still to be skipped.
  void Reset();
  // Steps over the next `count` bytes before looking for a first byte again: the rest of a
  // frame whose length field turned out too short for what its own head announces.
  void SkipNext(int count);

  const std::uint8_t* Frame() const { return buffer_.data(); }
  int FrameSize() const { return complete_size_; }

 private:
  // The bytes not yet taken by the stages of one Feed.
  struct Input {
    const std::uint8_t* data;
    int left;
    int Take(std::uint8_t* to, int most);
  };

  // The stages, in this order, each only while the one before returned 1 (results as Feed's).
  // Receive: the first byte (and any bytes still to skip before it).
  int Receive(Input& in);
  // ReceiveLength: the rest of the head.
  int ReceiveLength(Input& in);
  // OnReceive: the body; 1 once the frame is complete (3111 once a refused frame's class and
  // code have come).
  int OnReceive(Input& in);

  std::array<std::uint8_t, kBufferSize> buffer_{};
  bool first_byte_done_ = false;
  bool length_done_ = false;
  int head_count_ = 0;
  int body_count_ = 0;
  int frame_length_ = 0;
  bool refusing_ = false;   // the frame being read is too long: only its class and code are read
  int skip_left_ = 0;       // bytes of a refused frame not yet skipped
  int complete_size_ = 0;   // size of the frame completed by the last Feed, else 0
  int refused_size_ = 0;    // size announced by the frame refused by the last Feed, else 0
};

}  // namespace vomtel
