// The enciphered envelope around one frame.
//
//   byte 0      0xEC
//   bytes 1-2   uint16 rest length: cipher length + 8
//   bytes 3-4   uint16 plain length: the enclosed frame's size
//   bytes 5-8   uint32 nonce; its top byte is the envelope kind
//   bytes 9-10  uint16 cipher length: plain length rounded up to a multiple of 16
//   bytes 11-   ARIA-256 ECB ciphertext under a key made from the base key and the nonce
//
// Kind 0x81 carries an enciphered frame; kinds 0x82 and 0x83 are accepted and carry nothing.
#pragma once

#include <array>
#include <cstdint>

namespace vomtel {

inline constexpr char kEnvelopeBaseKey[] = "QOR5183#~$?)-+<;";
inline constexpr int kEnvelopeHeadSize = 11;
// Most bytes one envelope may carry: the receive buffer's size.
inline constexpr int kEnvelopeMaxCipher = 8192;
inline constexpr std::uint8_t kEnvelopeEnciphered = 0x81;
inline constexpr std::uint8_t kEnvelopeNoFrame = 0x82;
inline constexpr std::uint8_t kEnvelopeNoFrameToo = 0x83;

// Wraps a frame of `length` bytes into `out` (room for length + 26 bytes). Returns the
// envelope's size (cipher length + 11), or 0 for a missing pointer or a length of 0 or less
// or above 8192.
int EncryptPacket(int length, const std::uint8_t* frame, std::uint8_t* out);

// Opens an envelope of `length` bytes into `out` (room for 8192 bytes). Returns 1 when the
// frame was deciphered (plain-length bytes written) and 1 for kinds 0x82 and 0x83 (nothing
// written). Returns 0, writing nothing, for a missing pointer, fewer than 11 bytes, a first
// byte other than 0xEC, any other kind, a cipher length beyond the bytes after byte 10 or
// above 8192, or a plain length above the cipher length.
int DecryptPacket(int length, const std::uint8_t* envelope, std::uint8_t* out);

// The plain length (bytes 3-4) of an envelope that DecryptPacket deciphers; 0 otherwise.
int EnvelopePlainLength(const std::uint8_t* envelope, int length);

// How many bytes of an envelope lie beyond the `length` bytes read as it, when its rest
// length (bytes 1-2) is shorter than its head says: a cipher length (bytes 9-10) that is a
// whole number of blocks, at most 8192 and the plain length (bytes 3-4) rounded up, gives
// cipher length + 11 bytes in all. 0 when nothing is missing or the head does not hold
// together (then nothing in it tells where the envelope ends).
int EnvelopeShortfall(const std::uint8_t* envelope, int length);

// The random source of the nonce: state = state * 214013 + 2531011, each draw is bits 16-30
// of the new state (0 to 32767).
class NonceRandom {
 public:
  void Reset(std::uint32_t state) { state_ = state; }
  int Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>(state_ >> 16 & 0x7FFF);
  }

 private:
  std::uint32_t state_ = 1;
};

// A nonce of kind 0x81: the low 24 bits a multiple of 58, at least 5800. Draws on the
// calling thread's NonceRandom and a process-wide wrapping signed 8-bit counter.
std::uint32_t MakeNonce();

// The 32-byte key of one envelope: '-' throughout, the base key's first 15 characters, the
// nonce as "%015u" in bytes 15-29, a zero byte 30.
std::array<std::uint8_t, 32> EnvelopeKey(std::uint32_t nonce);

}  // namespace vomtel
