#include "vomtel/core/envelope.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "vomtel/core/aria.h"
#include "vomtel/core/frame.h"
#include "vomtel/core/stream.h"

namespace vomtel {
namespace {

thread_local NonceRandom t_random;
std::atomic<std::int8_t> g_nonce_counter{0};

// The counter's next value; 127 is followed by -128.
int NextCounter() { return static_cast<std::int8_t>(g_nonce_counter.fetch_add(1) + 1); }

std::uint32_t Now() { return static_cast<std::uint32_t>(std::time(nullptr)); }

struct EnvelopeHead {
  std::uint16_t plain = 0;
  std::uint32_t nonce = 0;
  std::uint16_t cipher = 0;
};

enum class Opening { kRefused, kNoFrame, kFrame };

Opening ReadHead(const std::uint8_t* envelope, int length, EnvelopeHead& head) {
  if (envelope == nullptr || length < kEnvelopeHeadSize || envelope[0] != kEnvelopeFrame) {
    return Opening::kRefused;
  }
  Stream in(envelope, kEnvelopeHeadSize);
  in.Skip(3).GetU16(head.plain).GetU32(head.nonce).GetU16(head.cipher);
  const std::uint8_t kind = static_cast<std::uint8_t>(head.nonce >> 24);
  if (kind == kEnvelopeNoFrame || kind == kEnvelopeNoFrameToo) return Opening::kNoFrame;
  if (kind != kEnvelopeEnciphered || head.cipher > length - kEnvelopeHeadSize ||
      head.plain > head.cipher || head.cipher > kEnvelopeMaxCipher) {
    return Opening::kRefused;
  }
  return Opening::kFrame;
}

}  // namespace

std::uint32_t MakeNonce() {
  t_random.Reset(Now());
  const int x = t_random.Next();
  t_random.Reset(static_cast<std::uint32_t>(x * 1024 + NextCounter()));
  t_random.Next();
  t_random.Reset(Now());
  const int y = t_random.Next();
  t_random.Reset(static_cast<std::uint32_t>(y * 1024 + NextCounter()));
  const std::uint32_t r = static_cast<std::uint32_t>(t_random.Next());
  const std::uint32_t low = ((r % 16777215u) + 100u) * 58u & 0x00FFFFFFu;
  return static_cast<std::uint32_t>(kEnvelopeEnciphered) << 24 | low;
}

std::array<std::uint8_t, 32> EnvelopeKey(std::uint32_t nonce) {
  std::array<std::uint8_t, 32> key;
  key.fill('-');
  for (std::size_t i = 0; i < 16; ++i) {
    const char c = kEnvelopeBaseKey[i];
    if (c == '\0' || c == '\r' || c == '\n') break;
    key[i] = static_cast<std::uint8_t>(c);
  }
  char digits[16];
  std::snprintf(digits, sizeof digits, "%015u", static_cast<unsigned>(nonce));
  std::memcpy(key.data() + 15, digits, 15);
  key[30] = 0;
  return key;
}

int EncryptPacket(int length, const std::uint8_t* frame, std::uint8_t* out) {
  if (frame == nullptr || out == nullptr || length <= 0 || length > kEnvelopeMaxCipher) return 0;
  const std::uint32_t nonce = MakeNonce();
  const std::array<std::uint8_t, 32> key = EnvelopeKey(nonce);
  const int cipher = AriaEncryptEcb(key.data(), frame, length, out + kEnvelopeHeadSize);
  Stream head;
  head.PutU8(kEnvelopeFrame)
      .PutU16(static_cast<std::uint16_t>(cipher + kEnvelopeHeadSize - kFrameCountedFrom))
      .PutU16(static_cast<std::uint16_t>(length))
      .PutU32(nonce)
      .PutU16(static_cast<std::uint16_t>(cipher));
  std::memcpy(out, head.Data(), kEnvelopeHeadSize);
  return cipher + kEnvelopeHeadSize;
}

int DecryptPacket(int length, const std::uint8_t* envelope, std::uint8_t* out) {
  EnvelopeHead head;
  if (out == nullptr) return 0;
  switch (ReadHead(envelope, length, head)) {
    case Opening::kRefused: return 0;
    case Opening::kNoFrame: return 1;
    case Opening::kFrame: break;
  }
  const std::array<std::uint8_t, 32> key = EnvelopeKey(head.nonce);
  std::array<std::uint8_t, kEnvelopeMaxCipher> plain;
  AriaDecryptEcb(key.data(), envelope + kEnvelopeHeadSize, head.cipher, plain.data());
  std::copy_n(plain.data(), head.plain, out);
  return 1;
}

int EnvelopeShortfall(const std::uint8_t* envelope, int length) {
  if (envelope == nullptr || length < kEnvelopeHeadSize || envelope[0] != kEnvelopeFrame) return 0;
  EnvelopeHead head;
  Stream in(envelope, kEnvelopeHeadSize);
  in.Skip(3).GetU16(head.plain).GetU32(head.nonce).GetU16(head.cipher);
  const int cipher = head.cipher;
  const bool whole = cipher % 16 == 0 && cipher <= kEnvelopeMaxCipher && head.plain <= cipher &&
                     cipher - head.plain < 16;
  if (!whole) return 0;
  return std::max(cipher + kEnvelopeHeadSize - length, 0);
}

int EnvelopePlainLength(const std::uint8_t* envelope, int length) {
  EnvelopeHead head;
  return ReadHead(envelope, length, head) == Opening::kFrame ? head.plain : 0;
}

}  // namespace vomtel
