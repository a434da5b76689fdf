// The two ends of a byte connection, as the queues see them. The TCP channel is both; tests
// put scripted sources and sinks in its place.
#pragma once

#include <cstdint>

namespace vomtel {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to `count` bytes into `buffer` without blocking. Returns the number read
  // (0..count; 0 when nothing is available now), or -1 when the connection is closed or broken.
  virtual int Read(std::uint8_t* buffer, int count) = 0;
};

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Hands up to `count` bytes to the connection without blocking. Returns the number taken
  // (0..count; 0 when it cannot take more now), or -1 when the connection is broken.
  virtual int Write(const std::uint8_t* data, int count) = 0;
};

}  // namespace vomtel
