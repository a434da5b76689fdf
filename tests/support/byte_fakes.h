// Scripted ends of a byte connection and a scratch session log, for the queue tests.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "vomtel/core/byte_io.h"
#include "vomtel/core/logger.h"

namespace vomtel::test {

using Bytes = std::vector<std::uint8_t>;

// A frame on the wire: the first byte, the body's length as uint16 and the body.
Bytes WireFrame(std::uint8_t first, const Bytes& body);
// `count` bytes of `value`.
Bytes Filled(std::size_t count, std::uint8_t value);
Bytes Concat(const Bytes& a, const Bytes& b);

// Bytes that have "arrived": Read hands out what was fed and then reports nothing available
// (0). After Close(), as a socket whose peer has closed, a read that meets the end gives -1.
class FedSource : public ByteSource {
 public:
  void Feed(const Bytes& bytes);
  void Close() { closed_ = true; }
  std::size_t Left() const { return bytes_.size() - at_; }
  int Read(std::uint8_t* buffer, int count) override;

 private:
  Bytes bytes_;
  std::size_t at_ = 0;
  bool closed_ = false;
};

// A connection that takes at most `room` bytes per Write (all when negative) or fails.
class RecordingSink : public ByteSink {
 public:
  void SetRoom(int room);
  void SetFailing(bool failing);
  Bytes Taken() const;
  int Write(const std::uint8_t* data, int count) override;

 private:
  mutable std::mutex mutex_;
  Bytes taken_;
  int room_ = -1;
  bool failing_ = false;
};

// A session logger writing into a scratch folder, and what it wrote.
class ScratchLog {
 public:
  ScratchLog();
  CLogger& Logger() { return logger_; }
  // Every line written so far, in order.
  std::string Text() const;

 private:
  TempDir dir_;
  CLogger logger_;
};

}  // namespace vomtel::test
