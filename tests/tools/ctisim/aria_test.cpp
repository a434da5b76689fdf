// The simulator's ARIA cipher and the envelope built on it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "tools/ctisim/aria.h"
#include "tools/ctisim/envelope.h"
#include "tools/ctisim/frame.h"
#include "tools/ctisim/request.h"

namespace ctisim {
namespace {

AriaBlock BlockFromHex(const std::string& hex) {
  AriaBlock b{};
  for (std::size_t i = 0; i < 16; ++i) b[i] = static_cast<std::uint8_t>(std::stoul(hex.substr(2 * i, 2), nullptr, 16));
  return b;
}

TEST(CtisimAria, MatchesTheRfc5794Vector) {
  AriaKey key{};
  for (std::size_t i = 0; i < key.size(); ++i) key[i] = static_cast<std::uint8_t>(i);
  const Aria256 aria(key);
  const AriaBlock plain = BlockFromHex("00112233445566778899aabbccddeeff");
  const AriaBlock cipher = BlockFromHex("f92bd7c79fb72e2f2b8f80c1972d24fc");
  EXPECT_EQ(aria.EncryptBlock(plain), cipher);
  EXPECT_EQ(aria.DecryptBlock(cipher), plain);
}

// A second, independent reference: the machine's OpenSSL, when it is installed.
TEST(CtisimAria, AgreesWithOpenSsl) {
  std::mt19937 random(5794);
  for (int round = 0; round < 4; ++round) {
    AriaKey key{};
    for (auto& b : key) b = static_cast<std::uint8_t>(random());
    Bytes plain(48);
    for (auto& b : plain) b = static_cast<std::uint8_t>(random());
    std::string key_hex;
    char two[3];
    for (auto b : key) {
      std::snprintf(two, sizeof two, "%02x", b);
      key_hex += two;
    }
    char path[] = "/tmp/ctisim_aria_XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, plain.data(), plain.size()), static_cast<ssize_t>(plain.size()));
    close(fd);
    const std::string command =
        "openssl enc -aria-256-ecb -nopad -K " + key_hex + " -in " + path + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    Bytes expected(64);
    expected.resize(fread(expected.data(), 1, expected.size(), pipe));
    const int status = pclose(pipe);
    unlink(path);
    if (status != 0 || expected.empty()) GTEST_SKIP() << "openssl with ARIA is not available";
    EXPECT_EQ(Aria256(key).EncryptEcb(plain), expected) << "key " << key_hex;
  }
}

TEST(CtisimEnvelope, KeyHoldsTheBaseKeyAndTheNonceDigits) {
  const AriaKey key = EnvelopeKey(0x81000000u + 5800);  // 2164266664
  const std::string text(key.begin(), key.end());
  EXPECT_EQ(text.substr(0, 15), "QOR5183#~$?)-+<");
  EXPECT_EQ(text.substr(15, 15), "000002164266664");
  EXPECT_EQ(key[30], 0);
  EXPECT_EQ(key[31], '-');
  const AriaKey short_base = EnvelopeKey(1, "ab\ncd");
  EXPECT_EQ(std::string(short_base.begin(), short_base.begin() + 4), "ab--");
}

TEST(CtisimEnvelope, SealsAndOpensFramesOfEverySizeClass) {
  struct Case {
    std::size_t frame_size;
    std::size_t envelope_size;
  };
  for (const Case c : {Case{1, 27}, Case{16, 27}, Case{17, 43}, Case{100, 123}}) {
    Bytes frame(c.frame_size);
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i * 7 + 1);
    const std::uint32_t nonce = CipheredNonce(58 * 1234);
    const Bytes env = SealEnvelope(frame, nonce);
    ASSERT_EQ(env.size(), c.envelope_size) << c.frame_size;
    EXPECT_EQ(env[0], 0xEC);
    EXPECT_EQ((env[1] << 8) | env[2], static_cast<int>(c.envelope_size - 3));
    EXPECT_EQ(static_cast<std::size_t>((env[3] << 8) | env[4]), c.frame_size);
    EXPECT_EQ(env[5], 0x81);
    EXPECT_EQ(static_cast<std::size_t>((env[9] << 8) | env[10]), c.envelope_size - 11);
    // The cipher text is ARIA-ECB of the zero-padded frame under the nonce's key.
    Bytes padded = frame;
    padded.resize(c.envelope_size - 11, 0);
    EXPECT_EQ(Bytes(env.begin() + 11, env.end()), Aria256(EnvelopeKey(nonce)).EncryptEcb(padded));
    EXPECT_EQ(OpenEnvelope(env), frame);
  }
}

TEST(CtisimEnvelope, EmptyKindsAndMalformedEnvelopes) {
  EXPECT_EQ(EmptyEnvelope(0x82), (Bytes{0xEC, 0, 8, 0, 0, 0x82, 0, 0, 0, 0, 0}));
  EXPECT_EQ(EmptyEnvelope(0x83)[5], 0x83);
  EXPECT_FALSE(OpenEnvelope(EmptyEnvelope(0x82)));

  const Bytes good = SealEnvelope(Bytes{0xA1, 0, 0}, CipheredNonce(100));
  Bytes wrong_kind = good;
  wrong_kind[5] = 0x80;
  Bytes short_cipher = good;
  short_cipher.resize(short_cipher.size() - 1);
  Bytes long_plain = good;
  long_plain[4] = 17;
  for (const Bytes& bad : {wrong_kind, short_cipher, long_plain, Bytes{0xA1, 0, 0}}) {
    EXPECT_FALSE(OpenEnvelope(bad)) << Hex(bad);
  }
}

}  // namespace
}  // namespace ctisim
