#include "vomtel/core/frame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/vomtel/core/stream_cases.h"

namespace vomtel {
namespace {

using codec_test::FromBytes;
using codec_test::State;

std::string Bytes(const Stream& s) {
  return HexDump(s.Data(), static_cast<int>(s.Size()));
}

// The wire vectors of the codec: each case reports the bytes it wrote or what it read.
TEST(Codec, ByteVectors) {
  codec_test::ExpectCases({
      {"u8 u16 u32 puts",
       [] {
         Stream s;
         s.PutU8(0x41).PutU16(0x1234).PutU32(1);
         return Bytes(s) + State(s);
       },
       "41 12 34 00 00 00 01 size=7 pos=0 ok"},
      {"str8 of an empty text",
       [] {
         Stream s;
         s.PutStr8("");
         std::string text = "x";
         Stream in(s.Data(), s.Size());
         in.GetStr8(text);
         return Bytes(s) + "[" + text + "] " + State(in);
       },
       "00 [] size=1 pos=1 ok"},
      {"str8 and str16 round trip",
       [] {
         Stream s;
         s.PutStr8("ab").PutStr16(SizedString("xyz"));
         Stream in(s.Data(), s.Size());
         std::string a;
         SizedString b;
         in.GetStr8(a).GetStr16(b);
         return Bytes(s) + a + "," + b.text + "," + std::to_string(b.length) + " " + State(in);
       },
       "02 61 62 00 03 78 79 7a ab,xyz,3 size=8 pos=8 ok"},
      {"tagged str8 03 07 61 62",
       [] {
         Stream in = FromBytes({0x03, 0x07, 0x61, 0x62});
         TaggedText t;
         in.GetTaggedStr8(t);
         return std::to_string(t.type) + " " + t.text + " " + State(in);
       },
       "7 ab size=4 pos=4 ok"},
      {"tagged str8 00 leaves the record",
       [] {
         Stream in = FromBytes({0x00, 0x55});
         TaggedText t{9, "old"};
         in.GetTaggedStr8(t);
         return std::to_string(t.type) + " " + t.text + " " + State(in);
       },
       "9 old size=2 pos=1 ok"},
      {"request frame of an empty body",
       [] {
         StreamPtr f = BuildRequestFrame(Stream(), 0x41, 0x65, 0x28, 0x0102);
         return Bytes(*f) + State(*f);
       },
       "a1 00 05 41 65 28 01 02 size=8 pos=0 ok"},
      {"request frame of a 10-byte body",
       [] {
         Stream body;
         for (std::uint8_t i = 0; i < 10; ++i) body.PutU8(i);
         StreamPtr f = BuildRequestFrame(body, 1, 2, 3, 0);
         return Bytes(*f) + State(*f);
       },
       "a1 00 0f 01 02 03 00 00 00 01 02 03 04 05 06 07 08 09 size=18 pos=0 ok"},
      {"reply header",
       [] {
         Stream in = FromBytes(
             {0xA2, 0x00, 0x0B, 0x41, 0x65, 0x28, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x07});
         std::uint32_t result = 0;
         std::uint16_t number = 0;
         const std::uint16_t returned = ReadReplyHeader(in, result, number);
         return std::to_string(result) + " " + std::to_string(number) + " " +
                std::to_string(returned) + " " + State(in);
       },
       "1 7 7 size=14 pos=14 ok"},
      {"reply result",
       [] {
         Stream in = FromBytes({0xA2, 0x00, 0x0F, 0x41, 0x65, 0x28, 0x00, 0x00, 0x00, 0x00,
                                0x0B, 0xBE, 0x00, 0x07, 0xCA, 0xFE});
         const std::uint32_t result = ReadReplyResult(in);
         return std::to_string(result) + " " + State(in);
       },
       "3006 size=16 pos=12 ok"},
      {"hex dump of a1 0f",
       [] {
         const std::uint8_t bytes[] = {0xA1, 0x0F};
         return std::string("[") + HexDump(bytes, 2) + "][" + HexDump(bytes, 0) + "][" + HexDump(bytes, -1) +
                "]";
       },
       "[a1 0f ][][]"},
  });
}

TEST(RequestFrame, RefusesABodyThatDoesNotFitOrHasFailed) {
  Stream fits;
  fits.PutBytes(std::vector<std::uint8_t>(Stream::kCapacity - kRequestHeadSize, 7).data(),
                Stream::kCapacity - kRequestHeadSize);
  StreamPtr full = BuildRequestFrame(fits, 1, 2, 3, 4);
  EXPECT_FALSE(full->Failed());
  EXPECT_EQ(full->Size(), Stream::kCapacity);
  EXPECT_EQ(full->At(1) << 8 | full->At(2), Stream::kCapacity - 3);
  EXPECT_EQ(full->At(Stream::kCapacity - 1), 7);

  Stream failed;
  failed.PutStr8(std::string(256, 'x'));
  StreamPtr frame = BuildRequestFrame(failed, 1, 2, 3, 4);
  EXPECT_TRUE(frame->Failed());
  EXPECT_EQ(frame->Size(), 0u);
}

TEST(ReplyHeader, ShortReplyReadsZerosAndFlags) {
  Stream in = FromBytes({0xA2, 0x00, 0x0B, 0x41, 0x65, 0x28, 0x00, 0x00, 0x00, 0x00, 0x00});
  std::uint32_t result = 99;
  std::uint16_t number = 99;
  EXPECT_EQ(ReadReplyHeader(in, result, number), 0);
  EXPECT_EQ(result, 0u);
  EXPECT_EQ(number, 0);
  EXPECT_TRUE(in.Failed());
  EXPECT_EQ(in.ReadPosition(), 11);
}

}  // namespace
}  // namespace vomtel
