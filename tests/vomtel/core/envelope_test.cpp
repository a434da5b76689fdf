#include "vomtel/core/envelope.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vomtel/core/aria.h"

namespace vomtel {
namespace {

using Bytes = std::vector<std::uint8_t>;

int Word(const Bytes& b, std::size_t at) { return b[at] << 8 | b[at + 1]; }

std::uint32_t Nonce(const Bytes& b) {
  return static_cast<std::uint32_t>(b[5]) << 24 | b[6] << 16 | b[7] << 8 | b[8];
}

// Output buffers: the 8192 receive buffer plus a guard zone, filled with a marker.
constexpr std::uint8_t kUntouched = 0xCD;
Bytes Receiver() { return Bytes(kEnvelopeMaxCipher + 64, kUntouched); }

Bytes Frame(std::size_t size) {
  Bytes frame(size);
  for (std::size_t i = 0; i < size; ++i) frame[i] = static_cast<std::uint8_t>(i * 7 + 1);
  return frame;
}

Bytes Wrap(const Bytes& frame) {
  Bytes out(frame.size() + 26 + 16, kUntouched);
  const int size = EncryptPacket(static_cast<int>(frame.size()), frame.data(), out.data());
  out.resize(static_cast<std::size_t>(size));
  return out;
}

// An envelope of kind 0x81 built by hand: head fields as given, `body` bytes of ciphertext.
Bytes Envelope(int plain, std::uint32_t nonce, int cipher, std::size_t body) {
  Bytes e(kEnvelopeHeadSize + body, 0);
  e[0] = 0xEC;
  e[1] = static_cast<std::uint8_t>((cipher + 8) >> 8);
  e[2] = static_cast<std::uint8_t>(cipher + 8);
  e[3] = static_cast<std::uint8_t>(plain >> 8);
  e[4] = static_cast<std::uint8_t>(plain);
  for (int i = 0; i < 4; ++i) e[5 + i] = static_cast<std::uint8_t>(nonce >> (24 - 8 * i));
  e[9] = static_cast<std::uint8_t>(cipher >> 8);
  e[10] = static_cast<std::uint8_t>(cipher);
  return e;
}

struct RoundTrip {
  int frame;
  int envelope;
  int cipher;
};

TEST(Envelope, RoundTripsFramesOfEverySize) {
  const RoundTrip cases[] = {
      {1, 27, 16}, {16, 27, 16}, {17, 43, 32}, {8000, 8011, 8000}, {8192, 8203, 8192}};
  for (const RoundTrip& c : cases) {
    SCOPED_TRACE(c.frame);
    const Bytes frame = Frame(static_cast<std::size_t>(c.frame));
    const Bytes e = Wrap(frame);
    ASSERT_EQ(static_cast<int>(e.size()), c.envelope);
    EXPECT_EQ(e[0], 0xEC);
    EXPECT_EQ(Word(e, 1), c.cipher + 8);
    EXPECT_EQ(Word(e, 3), c.frame);
    EXPECT_EQ(Word(e, 9), c.cipher);
    EXPECT_EQ(Nonce(e) >> 24, 0x81u);

    // The ciphertext is the frame enciphered under the nonce's key, zero-padded.
    Bytes padded = frame;
    padded.resize(static_cast<std::size_t>(c.cipher), 0);
    Bytes expected(padded.size());
    AriaEncryptEcb(EnvelopeKey(Nonce(e)).data(), padded.data(), c.cipher, expected.data());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), e.begin() + kEnvelopeHeadSize));

    Bytes out = Receiver();
    ASSERT_EQ(DecryptPacket(static_cast<int>(e.size()), e.data(), out.data()), 1);
    EXPECT_EQ(EnvelopePlainLength(e.data(), static_cast<int>(e.size())), c.frame);
    EXPECT_TRUE(std::equal(frame.begin(), frame.end(), out.begin()));
    EXPECT_EQ(out[frame.size()], kUntouched);
  }
}

TEST(Envelope, WrapRefusesWhatNoEnvelopeCanCarry) {
  const Bytes frame = Frame(kEnvelopeMaxCipher + 1);
  Bytes out(frame.size() + 26);
  EXPECT_EQ(EncryptPacket(0, frame.data(), out.data()), 0);
  EXPECT_EQ(EncryptPacket(-1, frame.data(), out.data()), 0);
  EXPECT_EQ(EncryptPacket(1, nullptr, out.data()), 0);
  EXPECT_EQ(EncryptPacket(1, frame.data(), nullptr), 0);
  EXPECT_EQ(EncryptPacket(kEnvelopeMaxCipher + 1, frame.data(), out.data()), 0);
}

// Kinds 0x82 and 0x83 open to nothing; other kinds than 0x81 are refused.
TEST(Envelope, OpensByKind) {
  const struct {
    std::uint8_t kind;
    int result;
  } cases[] = {{0x82, 1}, {0x83, 1}, {0x80, 0}, {0x84, 0}, {0x00, 0}, {0xFF, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    const Bytes e = Envelope(16, static_cast<std::uint32_t>(c.kind) << 24 | 5800, 16, 16);
    Bytes out = Receiver();
    EXPECT_EQ(DecryptPacket(static_cast<int>(e.size()), e.data(), out.data()), c.result);
    EXPECT_EQ(out, Receiver());
    EXPECT_EQ(EnvelopePlainLength(e.data(), static_cast<int>(e.size())), 0);
  }
}

// Every malformed envelope is refused with nothing written (run under the sanitizers: no
// read or write outside the buffers).
TEST(Envelope, RefusesMalformedEnvelopes) {
  const std::uint32_t nonce = 0x81000000u | 5800;
  constexpr int kWhole = -1000;  // length: the envelope's size
  Bytes wrongFirst = Envelope(16, nonce, 16, 16);
  wrongFirst[0] = 0xA1;
  const struct {
    const char* name;
    Bytes envelope;
    int length;
  } cases[] = {
      {"empty", {}, 0},
      {"negative length", Envelope(16, nonce, 16, 16), -5},
      {"ten bytes", Bytes(10, 0xEC), kWhole},
      {"head only, length given as 10", Envelope(0, nonce, 0, 0), 10},
      {"first byte not 0xEC", wrongFirst, kWhole},
      {"cipher length beyond the bytes received", Envelope(16, nonce, 32, 31), kWhole},
      {"cipher length beyond the length given", Envelope(16, nonce, 32, 32), 42},
      {"plain length above cipher length", Envelope(17, nonce, 16, 16), kWhole},
      {"plain length 0xFFFF", Envelope(0xFFFF, nonce, 16, 16), kWhole},
      {"cipher length above 8192", Envelope(8192, nonce, 8208, 8208), kWhole},
      {"cipher length 0xFFFF", Envelope(16, nonce, 0xFFFF, 0xFFFF), kWhole},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const int length = c.length == kWhole ? static_cast<int>(c.envelope.size()) : c.length;
    Bytes out = Receiver();
    EXPECT_EQ(DecryptPacket(length, c.envelope.data(), out.data()), 0);
    EXPECT_EQ(out, Receiver());
    EXPECT_EQ(EnvelopePlainLength(c.envelope.data(), length), 0);
  }
  Bytes out = Receiver();
  const Bytes valid = Wrap(Frame(5));
  EXPECT_EQ(DecryptPacket(static_cast<int>(valid.size()), nullptr, out.data()), 0);
  EXPECT_EQ(DecryptPacket(static_cast<int>(valid.size()), valid.data(), nullptr), 0);
}

TEST(Envelope, KeyHoldsBaseKeyNonceDigitsAndTerminator) {
  const std::array<std::uint8_t, 32> key = EnvelopeKey(0x81000000u | 5800);
  EXPECT_EQ(std::string(key.begin(), key.end()),
            std::string("QOR5183#~$?)-+<000002164266664\0-", 32));
  const std::array<std::uint8_t, 32> zero = EnvelopeKey(0);
  EXPECT_EQ(std::string(zero.begin(), zero.end()),
            std::string("QOR5183#~$?)-+<000000000000000\0-", 32));
}

TEST(Nonce, RandomSourceAndShape) {
  NonceRandom random;
  random.Reset(1);
  const int first[] = {random.Next(), random.Next(), random.Next(), random.Next()};
  EXPECT_EQ(std::vector<int>(std::begin(first), std::end(first)),
            (std::vector<int>{41, 18467, 6334, 26500}));

  for (int i = 0; i < 600; ++i) {  // more than two turns of the 8-bit counter
    const std::uint32_t nonce = MakeNonce();
    const std::uint32_t low = nonce & 0x00FFFFFFu;
    ASSERT_EQ(nonce >> 24, 0x81u);
    ASSERT_EQ(low % 58, 0u);
    ASSERT_GE(low, 5800u);
    ASSERT_LE(low, (32767u + 100u) * 58u);
  }
}

}  // namespace
}  // namespace vomtel
