// Feeds any bytes to the frame decoder twice: all at once, and in pieces whose sizes the input
// chooses. Both must give the same outcomes and the same frames, every call must take at least
// one byte while bytes are left, and no frame may be longer than a frame can be.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "vomtel/core/frame_decoder.h"
#include "vomtel/core/result_codes.h"

namespace {

struct Outcome {
  int result;
  std::vector<std::uint8_t> frame;
  bool operator==(const Outcome&) const = default;
};

// Outcomes other than "need more", in order, for bytes handed over in pieces of at most
// `piece(i)` bytes (i counts the pieces).
template <class Piece>
std::vector<Outcome> Decode(const std::uint8_t* data, int size, Piece piece) {
  vomtel::FrameDecoder decoder;
  std::vector<Outcome> outcomes;
  int at = 0;
  for (int i = 0; at < size; ++i) {
    int left = std::min(piece(i), size - at);
    while (left > 0) {
      int used = 0;
      const int result = decoder.Feed(data + at, left, used);
      if (used < 0 || used > left) std::abort();
      at += used;
      left -= used;
      if (result == vomtel::kIncomplete) {
        if (left != 0) std::abort();  // "need more" takes every byte it was given
        break;
      }
      if (used == 0) std::abort();  // an outcome always takes something
      Outcome outcome{result, {}};
      if (result == vomtel::kOk) {
        const int frame = decoder.FrameSize();
        if (frame < vomtel::FrameDecoder::kHeadSize || frame > vomtel::FrameDecoder::kBufferSize) {
          std::abort();
        }
        outcome.frame.assign(decoder.Frame(), decoder.Frame() + frame);
      }
      outcomes.push_back(std::move(outcome));
    }
  }
  return outcomes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > 1 << 17) return 0;
  const std::uint8_t pattern = data[0];
  const int length = static_cast<int>(size - 1);
  const auto whole = Decode(data + 1, length, [&](int) { return length; });
  const auto pieces =
      Decode(data + 1, length, [&](int i) { return 1 + (pattern + i * 13) % (pattern | 1); });
  if (whole != pieces) std::abort();
  return 0;
}
