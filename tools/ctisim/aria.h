// The ARIA block cipher (RFC 5794) with a 256-bit key: 16 rounds on 16-byte blocks, and ECB over
// whole buffers with zero padding of the last block. The simulator's own copy, kept apart from
// the library's so that a fault in one cannot hide behind the other.
#pragma once

#include <array>
#include <cstdint>

#include "tools/ctisim/wire.h"

namespace ctisim {

using AriaBlock = std::array<std::uint8_t, 16>;
using AriaKey = std::array<std::uint8_t, 32>;

class Aria256 {
 public:
  explicit Aria256(const AriaKey& key);

  AriaBlock EncryptBlock(const AriaBlock& plain) const;
  AriaBlock DecryptBlock(const AriaBlock& cipher) const;

  // Every whole block in order; a last partial block is zero-padded. The output is the input's
  // size rounded up to a multiple of 16.
  Bytes EncryptEcb(const Bytes& plain) const;
  Bytes DecryptEcb(const Bytes& cipher) const;

 private:
  static constexpr int kRounds = 16;
  std::array<AriaBlock, kRounds + 1> encrypt_keys_{};
  std::array<AriaBlock, kRounds + 1> decrypt_keys_{};
};

}  // namespace ctisim
