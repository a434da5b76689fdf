#include "tools/ctisim/envelope.h"

#include <cstdio>

#include "tools/ctisim/frame.h"
#include "tools/ctisim/frame_reader.h"

namespace ctisim {

AriaKey EnvelopeKey(std::uint32_t nonce, std::string_view base_key) {
  AriaKey key;
  key.fill('-');
  for (std::size_t i = 0; i < base_key.size() && i < 16; ++i) {
    const char c = base_key[i];
    if (c == '\0' || c == '\r' || c == '\n') break;
    key[i] = static_cast<std::uint8_t>(c);
  }
  char digits[16];
  std::snprintf(digits, sizeof digits, "%015u", static_cast<unsigned>(nonce));
  for (std::size_t i = 0; i < 15; ++i) key[15 + i] = static_cast<std::uint8_t>(digits[i]);
  key[30] = 0;
  return key;
}

Bytes SealEnvelope(const Bytes& frame, std::uint32_t nonce) {
  const Bytes cipher = Aria256(EnvelopeKey(nonce)).EncryptEcb(frame);
  Frame f;
  f.PutU8(kEnvelope)
      .PutU16(static_cast<std::uint16_t>(cipher.size() + 8))
      .PutU16(static_cast<std::uint16_t>(frame.size()))
      .PutU32(nonce)
      .PutU16(static_cast<std::uint16_t>(cipher.size()))
      .PutBytes(cipher);
  return f.Take();
}

Bytes EmptyEnvelope(std::uint8_t kind) {
  Frame f;
  f.PutU8(kEnvelope).PutU16(8).PutU16(0).PutU32(std::uint32_t{kind} << 24).PutU16(0);
  return f.Take();
}

std::optional<Bytes> OpenEnvelope(const Bytes& envelope) {
  FrameReader r(envelope);
  if (r.GetU8() != kEnvelope) return std::nullopt;
  const std::size_t rest = r.GetU16();
  const std::size_t plain = r.GetU16();
  const std::uint32_t nonce = r.GetU32();
  const std::size_t cipher = r.GetU16();
  if (!r.ok() || (nonce >> 24) != kEnvelopeCiphered) return std::nullopt;
  if (rest != cipher + 8 || cipher % 16 != 0 || plain > cipher ||
      envelope.size() != kEnvelopeHead + cipher) {
    return std::nullopt;
  }
  Bytes text = Aria256(EnvelopeKey(nonce)).DecryptEcb(r.GetBytes(cipher));
  text.resize(plain);
  return text;
}

}  // namespace ctisim
