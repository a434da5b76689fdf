#include "vomtel/core/frame.h"

#include <algorithm>

namespace vomtel {

StreamPtr BuildRequestFrame(const Stream& body, std::uint8_t cls, std::uint8_t code,
                            std::uint8_t version, std::uint16_t headerWord) {
  StreamPtr frame = NewStream();
  const std::size_t size = body.Size();
  if (body.Failed() || size > Stream::kCapacity - kRequestHeadSize) {
    frame->MarkFailed();
    return frame;
  }
  frame->PutU8(kRequestFrame)
      .PutU16(static_cast<std::uint16_t>(size + kRequestHeadSize - kFrameCountedFrom))
      .PutU8(cls)
      .PutU8(code)
      .PutU8(version)
      .PutU16(headerWord)
      .PutBytes(body.Data(), size);
  const ByteRange secret = body.Secret();
  if (!secret.Empty()) {
    frame->SetSecret(
        {secret.begin + kRequestHeadSize, std::min(secret.end, size) + kRequestHeadSize});
  }
  return frame;
}

std::uint32_t ReadReplyResult(Stream& reply) {
  std::uint16_t length = 0;
  std::uint16_t word = 0;
  std::uint32_t result = 0;
  reply.Skip(1).GetU16(length).Skip(3).GetU16(word).GetU32(result);
  return result;
}

std::uint16_t ReadReplyHeader(Stream& reply, std::uint32_t& result, std::uint16_t& number) {
  result = ReadReplyResult(reply);
  reply.GetU16(number);
  return number;
}

std::string HexDump(const std::uint8_t* data, int count) {
  return HexDump(data, count, 0, ByteRange{});
}

std::string HexDump(const std::uint8_t* data, int count, std::size_t first, ByteRange secret) {
  std::string text;
  AppendHexDump(text, data, count, first, secret);
  return text;
}

void AppendHexDump(std::string& text, const std::uint8_t* data, int count, std::size_t first,
                   ByteRange secret) {
  static constexpr char kDigits[] = "0123456789abcdef";
  if (data == nullptr || count <= 0) return;
  text.reserve(text.size() + static_cast<std::size_t>(count) * 3);
  for (int i = 0; i < count; ++i) {
    if (secret.Holds(first + static_cast<std::size_t>(i))) {
      text += "** ";
      continue;
    }
    text += kDigits[data[i] >> 4];
    text += kDigits[data[i] & 0x0F];
    text += ' ';
  }
}

}  // namespace vomtel
