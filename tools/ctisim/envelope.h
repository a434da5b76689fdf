// The enciphered envelope (first byte 0xEC) that the server may wrap around a frame:
// rest length, plain length, a 32-bit nonce whose top byte is the kind, cipher length,
// then the frame enciphered with ARIA-256 in ECB mode under a key made from the nonce.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "tools/ctisim/aria.h"
#include "tools/ctisim/wire.h"

namespace ctisim {

inline constexpr std::uint8_t kEnvelopeCiphered = 0x81;  // carries an enciphered frame
inline constexpr std::uint8_t kEnvelopeEmpty2 = 0x82;    // accepted, carries nothing
inline constexpr std::uint8_t kEnvelopeEmpty3 = 0x83;    // accepted, carries nothing
inline constexpr std::size_t kEnvelopeHead = 11;

// The base key that client and server share.
inline constexpr std::string_view kEnvelopeBaseKey = "QOR5183#~$?)-+<;";

// A nonce of kind 0x81 with the given low 24 bits.
constexpr std::uint32_t CipheredNonce(std::uint32_t low24) {
  return (std::uint32_t{kEnvelopeCiphered} << 24) | (low24 & 0xFFFFFFu);
}

// The 32-byte key of one envelope: '-' everywhere, the base key's first 15 characters, the
// nonce as 15 decimal digits at bytes 15-29, a zero byte at 30.
AriaKey EnvelopeKey(std::uint32_t nonce, std::string_view base_key = kEnvelopeBaseKey);

// Wraps a whole frame. The nonce is used as given, whatever its kind byte.
Bytes SealEnvelope(const Bytes& frame, std::uint32_t nonce);

// An envelope of the given kind with no cipher text (rest length 8, plain and cipher length 0).
Bytes EmptyEnvelope(std::uint8_t kind);

// Opens an envelope of kind 0x81: the enclosed frame, or nothing when the bytes are not a
// well-formed 0x81 envelope (wrong first byte or kind, lengths that disagree with the bytes).
std::optional<Bytes> OpenEnvelope(const Bytes& envelope);

}  // namespace ctisim
