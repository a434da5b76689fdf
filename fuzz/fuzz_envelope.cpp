// Opens any bytes as an envelope into an 8192-byte buffer between two guard zones, and checks
// that nothing outside the frame's plain length was written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "vomtel/core/envelope.h"

namespace {

constexpr std::size_t kGuard = 64;
constexpr std::uint8_t kMarker = 0xA5;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1 << 16) return 0;
  // An exact-size copy, so that a read past the input is caught.
  const std::vector<std::uint8_t> input(data, data + size);
  std::vector<std::uint8_t> buffer(kGuard + vomtel::kEnvelopeMaxCipher + kGuard, kMarker);
  std::uint8_t* out = buffer.data() + kGuard;
  const int length = static_cast<int>(size);
  const int plain = vomtel::EnvelopePlainLength(input.data(), length);
  const int result = vomtel::DecryptPacket(length, input.data(), out);
  if (result != 0 && result != 1) std::abort();
  if (plain > vomtel::kEnvelopeMaxCipher || (plain > 0 && result != 1)) std::abort();
  const std::size_t written = result == 1 ? static_cast<std::size_t>(plain) : 0;
  for (std::size_t i = 0; i < buffer.size(); ++i) {
    const bool inside = i >= kGuard && i < kGuard + written;
    if (!inside && buffer[i] != kMarker) std::abort();
  }
  return 0;
}
