// Reassembly of the byte stream that arrives from a client into whole frames. A pure codec:
// bytes in, frames out, no socket in sight.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "tools/ctisim/wire.h"

namespace ctisim {

class FrameDecoder {
 public:
  // Appends received bytes.
  void Feed(const std::uint8_t* data, std::size_t size);
  void Feed(const Bytes& bytes) { Feed(bytes.data(), bytes.size()); }

  // The next whole frame (first byte, length, and the length's bytes), or nothing while the
  // frame is incomplete. Bytes that cannot begin a frame (not 0xA0, 0xA1, 0xA2, 0xEC) are
  // skipped one by one and counted.
  std::optional<Bytes> Next();

  std::size_t skipped() const { return skipped_; }
  // Bytes held that belong to no frame returned yet.
  std::size_t pending() const { return buffer_.size() - start_; }

 private:
  Bytes buffer_;
  std::size_t start_ = 0;
  std::size_t skipped_ = 0;
};

// True for the first bytes that begin a frame on the wire.
bool IsFrameType(std::uint8_t first);

}  // namespace ctisim
