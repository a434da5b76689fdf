// The tagged field block at the end of the call events.
#include <gtest/gtest.h>

#include "event_test_frames.h"
#include "vomtel/api/tagged_fields.h"

namespace vomtel::test {
namespace {

struct Parsed {
  EventRecord record;
  std::size_t end = 0;  // cursor position after the block
};

Parsed Parse(const FrameBytes& bytes, std::uint8_t version) {
  Parsed p;
  const Stream frame = MakeFrame(bytes);
  EventCursor cursor(frame);
  ParseEventFields(cursor, p.record, version);
  p.end = cursor.Position();
  return p;
}

FrameBytes LeadIn(std::size_t count, const FrameBytes& block) {
  FrameBytes bytes(count, 0x11);
  bytes.insert(bytes.end(), block.begin(), block.end());
  return bytes;
}

TEST(TaggedFieldsTest, MarkerIsSearchedWithinTwentyBytes) {
  const FrameBytes block = {0xAA, 0xB2, 9, 0xFF};
  const Parsed at20th = Parse(LeadIn(19, block), 0);
  EXPECT_EQ(at20th.record.ctype, 9);
  EXPECT_EQ(at20th.end, 23u);

  // At the 21st byte the marker is not found and stays unread.
  const Parsed at21st = Parse(LeadIn(20, block), 0);
  EXPECT_TRUE(at21st.record == EventRecord{});
  EXPECT_EQ(at21st.end, 20u);
}

TEST(TaggedFieldsTest, NumbersOrTextsByVersion) {
  const FrameBytes block = {0xAA, 0xB0, 0, 0, 1, 0, 0xFF};
  const Parsed plain = Parse(block, 0);
  EXPECT_EQ(plain.record.cnid, 256u);
  EXPECT_EQ(plain.record.cnidText, "256");

  // Sessions 0x28 and 0x50 send texts.
  for (std::uint8_t version : {0x28, 0x50}) {
    const Parsed text = Parse({0xAA, 0xB0, 2, 'a', 'b', 0xB5, 1, 'q', 0xFF}, version);
    EXPECT_EQ(text.record.cnid, 0u);
    EXPECT_EQ(text.record.cnidText, "ab");
    EXPECT_EQ(text.record.queueDN, 0u);
    EXPECT_EQ(text.record.queueDNText, "q");
    EXPECT_EQ(text.end, 9u);
  }
}

TEST(TaggedFieldsTest, QueueDeviceIsSignedNumberIdUnsigned) {
  const Parsed p =
      Parse({0xAA, 0xB0, 0xFF, 0xFF, 0xFF, 0xFF, 0xB5, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 0);
  EXPECT_EQ(p.record.cnidText, "4294967295");
  EXPECT_EQ(p.record.queueDNText, "-1");
}

TEST(TaggedFieldsTest, OtherBytesAreTagsWithoutValue) {
  const Parsed p = Parse({0xAA, 0xB7, 0x00, 0x42, 0xB1, 0x01, 0x02, 0xFF, 0xB2, 7}, 0);
  EXPECT_EQ(p.record.cnsq, 0x0102);
  EXPECT_EQ(p.record.ctype, 0);  // after the end tag
  EXPECT_EQ(p.end, 8u);
}

TEST(TaggedFieldsTest, BlockWithoutEndStopsAfter1001Tags) {
  for (std::size_t fillers : {1000u, 1001u}) {
    // The marker, `fillers` tags without value, the call type 5 and the end tag.
    FrameBytes block(1 + fillers, 0xB7);
    block[0] = 0xAA;
    for (std::uint8_t byte : {0xB2, 0x05, 0xFF}) block.push_back(byte);
    const Parsed p = Parse(block, 0);
    // With 1000 fillers the call type is the 1001st tag and still read.
    EXPECT_EQ(p.record.ctype, fillers == 1000 ? 5 : 0) << fillers;
    EXPECT_EQ(p.end, fillers == 1000 ? 1003u : 1002u) << fillers;
  }
}

TEST(TaggedFieldsTest, MarkerResetsNumbersButNotTexts) {
  EventRecord r;
  r.cnid = 5;
  r.cnsq = 6;
  r.queueDN = 7;
  r.queueWait = 8;
  r.cnidText = "5";
  const FrameBytes bytes = {0xAA, 0xFF};
  const Stream frame = MakeFrame(bytes);
  EventCursor cursor(frame);
  ParseEventFields(cursor, r, 0);
  EXPECT_EQ(r.cnid + r.cnsq + r.queueDN + r.queueWait, 0u);
  EXPECT_EQ(r.cnidText, "5");
}

}  // namespace
}  // namespace vomtel::test
