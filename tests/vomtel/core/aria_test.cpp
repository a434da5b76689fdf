#include "vomtel/core/aria.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace vomtel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FromHex(const std::string& hex) {
  Bytes out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    out.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return out;
}

std::string ToHex(const Bytes& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (std::uint8_t b : bytes) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 0x0F];
  }
  return hex;
}

// Runs `openssl enc -aria-256-ecb -nopad` over `input`; nothing when the program fails.
std::optional<Bytes> OpenSsl(const Bytes& key, const Bytes& input, bool decipher) {
  char path[] = "/tmp/aria_test_XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return std::nullopt;
  const bool written = write(fd, input.data(), input.size()) == static_cast<ssize_t>(input.size());
  close(fd);
  std::optional<Bytes> result;
  if (written) {
    const std::string command = std::string("openssl enc -aria-256-ecb -nopad") +
                                (decipher ? " -d" : "") + " -K " + ToHex(key) + " -in " + path +
                                " 2>/dev/null";
    if (FILE* pipe = popen(command.c_str(), "r")) {
      Bytes out;
      std::uint8_t chunk[4096];
      std::size_t got = 0;
      while ((got = fread(chunk, 1, sizeof chunk, pipe)) > 0) out.insert(out.end(), chunk, chunk + got);
      if (pclose(pipe) == 0) result = out;
    }
  }
  unlink(path);
  return result;
}

Bytes Encrypt(const Bytes& key, const Bytes& in) {
  Bytes out((in.size() + 15) / 16 * 16 + 16, 0xCC);
  out.resize(static_cast<std::size_t>(
      AriaEncryptEcb(key.data(), in.data(), static_cast<int>(in.size()), out.data())));
  return out;
}

Bytes Decrypt(const Bytes& key, const Bytes& in) {
  Bytes out((in.size() + 15) / 16 * 16 + 16, 0xCC);
  out.resize(static_cast<std::size_t>(
      AriaDecryptEcb(key.data(), in.data(), static_cast<int>(in.size()), out.data())));
  return out;
}

TEST(Aria, KnownAnswer256) {
  const Bytes key = FromHex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");
  const Bytes plain = FromHex("00112233445566778899aabbccddeeff");
  const Bytes cipher = FromHex("f92bd7c79fb72e2f2b8f80c1972d24fc");
  EXPECT_EQ(ToHex(Encrypt(key, plain)), ToHex(cipher));
  EXPECT_EQ(ToHex(Decrypt(key, cipher)), ToHex(plain));

  AriaRoundKeys keys;
  EXPECT_EQ(AriaExpandEncryptKey(key.data(), keys), 16);
  EXPECT_EQ(AriaExpandDecryptKey(key.data(), keys), 16);
  Bytes block = cipher;
  AriaProcessBlock(block.data(), block.data(), keys);  // in place
  EXPECT_EQ(block, plain);
}

// The machine's OpenSSL as an independent reference, on random keys and multi-block texts.
TEST(Aria, MatchesOpenSslOnRandomKeys) {
  const Bytes probe(32, 0);
  if (!OpenSsl(probe, Bytes(16, 0), false)) {
    GTEST_SKIP() << "the openssl program is missing or lacks aria-256-ecb";
  }
  std::mt19937 random(20261210);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> blocks(1, 12);
  for (int round = 0; round < 20; ++round) {
    Bytes key(32);
    for (auto& b : key) b = static_cast<std::uint8_t>(byte(random));
    Bytes plain(static_cast<std::size_t>(blocks(random)) * 16);
    for (auto& b : plain) b = static_cast<std::uint8_t>(byte(random));
    const std::optional<Bytes> expected = OpenSsl(key, plain, false);
    ASSERT_TRUE(expected.has_value());
    const Bytes cipher = Encrypt(key, plain);
    EXPECT_EQ(ToHex(cipher), ToHex(*expected)) << "key " << ToHex(key);
    EXPECT_EQ(Decrypt(key, cipher), plain) << "key " << ToHex(key);
    EXPECT_EQ(OpenSsl(key, cipher, true), plain) << "key " << ToHex(key);
  }
}

// A partial last block is enciphered as if padded with zeros; bad arguments give 0.
TEST(Aria, EcbPadsTheLastBlockAndRefusesBadArguments) {
  const Bytes key(32, 0x5A);
  Bytes text(17);
  for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<std::uint8_t>(i + 1);
  Bytes padded = text;
  padded.resize(32, 0);
  const Bytes cipher = Encrypt(key, text);
  EXPECT_EQ(cipher.size(), 32u);
  EXPECT_EQ(cipher, Encrypt(key, padded));
  EXPECT_EQ(Decrypt(key, cipher), padded);

  std::uint8_t out[16] = {};
  EXPECT_EQ(AriaEncryptEcb(nullptr, text.data(), 16, out), 0);
  EXPECT_EQ(AriaEncryptEcb(key.data(), nullptr, 16, out), 0);
  EXPECT_EQ(AriaDecryptEcb(key.data(), text.data(), 16, nullptr), 0);
  EXPECT_EQ(AriaDecryptEcb(key.data(), text.data(), 0, out), 0);
  EXPECT_EQ(AriaEncryptEcb(key.data(), text.data(), -1, out), 0);
}

}  // namespace
}  // namespace vomtel
