// Feeds any bytes to the receive side of a socket service, handed out in pieces whose sizes the
// input chooses, and checks what comes out of the queues: every reply starts 0xA2, every list
// frame 0xA0, every event 0xA1 or a one-byte notice, and no frame is longer than a frame can be.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "vomtel/core/byte_io.h"
#include "vomtel/core/established_waiters.h"
#include "vomtel/core/logger.h"
#include "vomtel/core/recv_queue.h"
#include "vomtel/core/result_codes.h"
#include "vomtel/core/stream.h"

namespace {

// The first input byte picks the piece sizes; the rest is the byte stream.
class PiecewiseSource : public vomtel::ByteSource {
 public:
  PiecewiseSource(const std::uint8_t* data, std::size_t size, std::uint8_t pattern)
      : bytes_(data, data + size), pattern_(pattern) {}

  int Read(std::uint8_t* buffer, int count) override {
    if (at_ >= bytes_.size()) return closed_ ? -1 : 0;
    if (starve_) {  // every other read finds nothing yet, as a socket between two segments
      starve_ = false;
      return 0;
    }
    starve_ = (pattern_ & 0x80) != 0;
    const std::size_t piece = 1 + (pattern_ + at_ * 7) % 97;
    const std::size_t n = std::min({piece, bytes_.size() - at_, static_cast<std::size_t>(count)});
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at_), n, buffer);
    at_ += n;
    return static_cast<int>(n);
  }
  void Close() { closed_ = true; }
  bool Done() const { return at_ >= bytes_.size(); }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t at_ = 0;
  std::uint8_t pattern_;
  bool starve_ = false;
  bool closed_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > 1 << 16) return 0;
  static vomtel::CLogger logger;  // threshold 0 would be quieter, but the log texts are exercised too
  static const bool quiet = [] {
    logger.SetLevel(0);
    return true;
  }();
  (void)quiet;
  vomtel::EstablishedWaiters waiters;
  vomtel::CRecvQueue queue(logger, waiters);
  queue.BeginConnection(1);
  PiecewiseSource source(data + 1, size - 1, data[0]);
  for (int rounds = 0; rounds < 100000 && !source.Done(); ++rounds) {
    if (queue.ReceiveAvailable(source) == vomtel::kConnectionClosed) break;
  }
  source.Close();
  queue.ReceiveAvailable(source);
  queue.PostConnectionLost(1);

  vomtel::Stream frame;
  while (queue.ReadReply(frame, std::chrono::milliseconds(0)) == vomtel::kOk) {
    if (frame.Size() < 3 || frame.Size() > 8192 || frame.At(0) != 0xA2) std::abort();
  }
  while (queue.ReadList(frame) == vomtel::kOk) {
    if (frame.Size() < 3 || frame.Size() > 8192 || frame.At(0) != 0xA0) std::abort();
  }
  bool lost = false;
  while (queue.ReadEvent(frame) == vomtel::kOk) {
    const std::uint8_t first = frame.At(0);
    if (frame.Size() == 1) {
      if (first != 17 && first != 18 && first != 0xA4) std::abort();
      lost = lost || first == 0xA4;
    } else if (frame.Size() < 3 || frame.Size() > 8192 || first != 0xA1) {
      std::abort();
    }
  }
  if (!lost) std::abort();
  return 0;
}
