// Reads a Stream made from the input with a sequence of gets that the input itself chooses
// (every other byte picks the next get), and checks the codec's bookkeeping after each one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "vomtel/core/frame.h"
#include "vomtel/core/stream.h"

namespace {

void Check(const vomtel::Stream& s, std::size_t size) {
  if (s.Size() != size || s.ReadPosition() > size) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> input(data, data + size);
  vomtel::Stream s(input.data(), input.size());
  const std::size_t held = s.Size();
  if (held != std::min<std::size_t>(size, vomtel::Stream::kCapacity)) std::abort();
  std::size_t choice = 0;
  for (int step = 0; step < 64 && s.Length() > 0; ++step) {
    const std::uint8_t op = s.At(choice);
    choice = (choice + 2) % (held == 0 ? 1 : held);
    const std::uint16_t before = s.ReadPosition();
    switch (op % 10) {
      case 0: { std::uint8_t v; s.GetU8(v); break; }
      case 1: { std::uint16_t v; s.GetU16(v); break; }
      case 2: { std::uint32_t v; s.GetU32(v); break; }
      case 3: { std::string v; s.GetStr8(v); if (v.size() > 255) std::abort(); break; }
      case 4: { vomtel::SizedString v; s.GetStr16(v); if (v.text.size() != v.length) std::abort(); break; }
      case 5: { vomtel::TaggedText v; s.GetTaggedStr8(v); break; }
      case 6: { std::uint8_t v[40]; s.GetBytes(v, op % sizeof v); break; }
      case 7: s.Skip(op % 17); break;
      case 8: { std::uint32_t r; std::uint16_t n; vomtel::ReadReplyHeader(s, r, n); break; }
      case 9: s.Seek(op); break;
    }
    if (op % 10 != 9 && s.ReadPosition() < before) std::abort();
    Check(s, held);
  }
  const std::string dump = vomtel::HexDump(s.Data(), static_cast<int>(held));
  if (dump.size() != held * 3) std::abort();
  return 0;
}
