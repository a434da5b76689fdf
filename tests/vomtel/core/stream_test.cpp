#include "vomtel/core/stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/vomtel/core/stream_cases.h"

namespace vomtel {
namespace {

using codec_test::FromBytes;
using codec_test::State;

// A Stream made empty with `size` bytes put.
Stream FilledTo(std::size_t size) {
  Stream s;
  const std::vector<std::uint8_t> fill(size, 0xEE);
  s.PutBytes(fill.data(), fill.size());
  return s;
}

// Gets past the bytes held read zeros (texts empty) and consume the rest; puts past the
// capacity write nothing. Both set the sticky flag.
TEST(StreamBounds, GetsAndPutsPastTheEnd) {
  codec_test::ExpectCases({
      {"u16 with one byte left",
       [] {
         Stream s = FromBytes({0x12});
         std::uint16_t v = 7;
         s.GetU16(v);
         return std::to_string(v) + " " + State(s);
       },
       "0 size=1 pos=1 failed"},
      {"u32 with three bytes left, then u8",
       [] {
         Stream s = FromBytes({1, 2, 3});
         std::uint32_t v = 7;
         std::uint8_t b = 7;
         s.GetU32(v).GetU8(b);
         return std::to_string(v) + " " + std::to_string(b) + " " + State(s);
       },
       "0 0 size=3 pos=3 failed"},
      {"str8 longer than the bytes held",
       [] {
         Stream s = FromBytes({5, 'a', 'b'});
         std::string t = "old";
         s.GetStr8(t);
         return "[" + t + "] " + State(s);
       },
       "[] size=3 pos=3 failed"},
      {"str16 longer than the bytes held",
       [] {
         Stream s = FromBytes({0x00, 0x04, 'a'});
         SizedString t("old");
         s.GetStr16(t);
         return "[" + t.text + "] " + std::to_string(t.length) + " " + State(s);
       },
       "[] 0 size=3 pos=3 failed"},
      {"tagged str8 longer than the bytes held",
       [] {
         Stream s = FromBytes({3, 7, 'a'});
         TaggedText t{9, "old"};
         s.GetTaggedStr8(t);
         return std::to_string(t.type) + "[" + t.text + "] " + State(s);
       },
       "0[] size=3 pos=3 failed"},
      {"bytes: the held ones copied, the rest zero",
       [] {
         Stream s = FromBytes({0xAA, 0xBB});
         std::uint8_t out[4] = {9, 9, 9, 9};
         s.GetBytes(out, sizeof out);
         return std::to_string(out[0]) + "," + std::to_string(out[1]) + "," +
                std::to_string(out[2]) + "," + std::to_string(out[3]) + " " + State(s);
       },
       "170,187,0,0 size=2 pos=2 failed"},
      {"skip past the end; the flag stays until cleared",
       [] {
         Stream s = FromBytes({1, 2});
         s.Skip(3);
         const std::string after = State(s);
         s.Seek(0);
         std::uint16_t v = 0;
         s.GetU16(v);
         const std::string sticky = State(s);
         s.ClearError();
         return after + " | " + std::to_string(v) + " " + sticky + " | " + State(s);
       },
       "size=2 pos=2 failed | 258 size=2 pos=2 failed | size=2 pos=2 ok"},
      {"u32 two bytes short of the capacity writes nothing",
       [] {
         Stream s = FilledTo(Stream::kCapacity - 2);
         s.PutU32(0x01020304);
         const std::string full = State(s) + " " + std::to_string(s.At(Stream::kCapacity - 2));
         s.PutU16(0x0102);
         return full + " | " + State(s) + " " + std::to_string(s.At(Stream::kCapacity - 1));
       },
       "size=8190 pos=0 failed 0 | size=8192 pos=0 failed 2"},
      {"put into a received frame (capacity = its size)",
       [] {
         Stream s = FromBytes({1, 2});
         s.PutU8(3);
         return std::to_string(s.Capacity()) + " " + State(s);
       },
       "2 size=2 pos=0 failed"},
      {"str8 of 255 bytes fits",
       [] {
         Stream s;
         s.PutStr8(std::string(255, 'x'));
         return std::to_string(s.At(0)) + " " + State(s);
       },
       "255 size=256 pos=0 ok"},
      {"str8 of 256 bytes writes nothing",
       [] {
         Stream s;
         s.PutU8(1).PutStr8(std::string(256, 'x'));
         return State(s);
       },
       "size=1 pos=0 failed"},
      {"str16 of 70000 bytes keeps the low 16 bits of the length",
       [] {
         Stream s;
         SizedString t(std::string(70000, 'y'));
         s.PutStr16(t);
         return std::to_string(t.length) + " " + std::to_string(s.At(0)) + "," +
                std::to_string(s.At(1)) + " " + State(s);
       },
       "4464 17,112 size=4466 pos=0 ok"},
      {"str16 whose length exceeds its text writes nothing",
       [] {
         Stream s;
         SizedString t("ab");
         t.length = 3;
         s.PutStr16(t);
         return State(s);
       },
       "size=0 pos=0 failed"},
      {"str16 that does not fit writes nothing",
       [] {
         Stream s = FilledTo(Stream::kCapacity - 4);
         s.PutStr16(SizedString("abc"));
         return State(s);
       },
       "size=8188 pos=0 failed"},
      {"a received frame keeps at most the capacity",
       [] {
         const std::vector<std::uint8_t> big(Stream::kCapacity + 10, 1);
         Stream s(big.data(), big.size());
         return std::to_string(s.Capacity()) + " " + State(s);
       },
       "8192 size=8192 pos=0 ok"},
      {"seek is clamped to the bytes held",
       [] {
         Stream s = FromBytes({1, 2, 3});
         s.Seek(10);
         const std::string end = State(s) + " len=" + std::to_string(s.Length());
         s.Seek(1);
         return end + " | " + State(s) + " len=" + std::to_string(s.Length());
       },
       "size=3 pos=3 ok len=0 | size=3 pos=1 ok len=2"},
  });
}

TEST(Stream, MadeEmptyHoldsZerosAndSharesThroughNewStream) {
  StreamPtr s = NewStream();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Capacity(), Stream::kCapacity);
  EXPECT_EQ(s->Length(), 0);
  EXPECT_EQ(std::vector<std::uint8_t>(s->Data(), s->Data() + Stream::kCapacity),
            std::vector<std::uint8_t>(Stream::kCapacity, 0));
}

// Reads a frame made of every field type, with a put after a partial read appended at the end.
TEST(Stream, ReadsBackWhatWasPut) {
  Stream s;
  s.PutU8(0xFE).PutU16(0xBEEF).PutU32(0xDEADBEEF).PutStr8("dn").PutStr16(SizedString("agent"));
  s.PutU8(4).PutU8(1).PutBytes(reinterpret_cast<const std::uint8_t*>("xyz"), 3);
  std::uint8_t a = 0;
  std::uint16_t b = 0;
  std::uint32_t c = 0;
  std::string d;
  SizedString e;
  TaggedText f;
  s.GetU8(a).GetU16(b).GetU32(c);
  EXPECT_EQ(s.Length() + s.ReadPosition(), s.Size());
  s.PutU8(0x5A);
  s.GetStr8(d).GetStr16(e).GetTaggedStr8(f);
  std::uint8_t last = 0;
  s.GetU8(last);
  EXPECT_FALSE(s.Failed());
  EXPECT_EQ(a, 0xFE);
  EXPECT_EQ(b, 0xBEEF);
  EXPECT_EQ(c, 0xDEADBEEF);
  EXPECT_EQ(d, "dn");
  EXPECT_EQ(e.text, "agent");
  EXPECT_EQ(e.length, 5);
  EXPECT_EQ(f.type, 1);
  EXPECT_EQ(f.text, "xyz");
  EXPECT_EQ(last, 0x5A);
  EXPECT_EQ(s.Length(), 0);
}

}  // namespace
}  // namespace vomtel
