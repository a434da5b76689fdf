// The ARIA block cipher with a 256-bit key (16 rounds, 16-byte blocks), in ECB mode with zero
// padding of the last block.
#pragma once

#include <array>
#include <cstdint>

namespace vomtel {

inline constexpr int kAriaBlockSize = 16;
inline constexpr int kAriaKeySize = 32;
inline constexpr int kAriaRounds = 16;

using AriaBlock = std::array<std::uint8_t, kAriaBlockSize>;
// Round keys 1 to 17 of one direction.
using AriaRoundKeys = std::array<AriaBlock, kAriaRounds + 1>;

// The key schedules for a 32-byte key; each returns the number of rounds, 16. The decryption
// schedule is the encryption one reversed, with the diffusion layer applied to the inner keys.
int AriaExpandEncryptKey(const std::uint8_t* key, AriaRoundKeys& roundKeys);
int AriaExpandDecryptKey(const std::uint8_t* key, AriaRoundKeys& roundKeys);

// One block through the 16 rounds; enciphers or deciphers by the schedule given. `in` and
// `out` may be the same block.
void AriaProcessBlock(const std::uint8_t* in, std::uint8_t* out, const AriaRoundKeys& roundKeys);

// The diffusion layer A (an involution); `in` and `out` may be the same block.
void AriaDiffusionLayer(const std::uint8_t* in, std::uint8_t* out);

// roundKey ^= value rotated right by n bits (0 <= n < 128), both 128-bit big-endian values.
void AriaRotateXor(const std::uint8_t* value, int n, std::uint8_t* roundKey);

// Whole blocks in order, then the remaining bytes (if any) in a zeroed block. Return the bytes
// written (length rounded up to 16), or 0 for a missing pointer or a length of 0 or less.
// `out` needs room for the rounded length.
int AriaEncryptEcb(const std::uint8_t* key, const std::uint8_t* in, int length, std::uint8_t* out);
int AriaDecryptEcb(const std::uint8_t* key, const std::uint8_t* in, int length, std::uint8_t* out);

}  // namespace vomtel
