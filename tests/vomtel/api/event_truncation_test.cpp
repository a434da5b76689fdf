// A frame cut short decodes as if its missing bytes were zeros: for every valid frame and
// every prefix of it, the prefix and the prefix padded with zeros to the buffer size give the
// same record and the same log texts (and neither reads outside the bytes it was given).
#include <gtest/gtest.h>

#include "event_test_frames.h"
#include "vomtel/api/event_decoder.h"

namespace vomtel::test {
namespace {

LocalTime FixedClock() { return {2027, 1, 1, 0, 0, 0, 0}; }

struct Outcome {
  EventRecord record;
  EventLogTexts log;
};

Outcome Decode(const FrameBytes& bytes, std::uint8_t version) {
  Outcome o;
  const Stream frame = MakeFrame(bytes);
  o.log = DecodeEvent(frame, {version, 0, FixedClock}, o.record);
  return o;
}

TEST(EventTruncationTest, PrefixDecodesAsPrefixPaddedWithZeros) {
  std::vector<EventCase> cases = AllEventCases();
  cases.push_back({"server down", 0, {0xA4}, nullptr});
  for (const EventCase& c : cases) {
    SCOPED_TRACE(c.name);
    for (std::size_t size = 0; size <= c.frame.size(); ++size) {
      FrameBytes prefix(c.frame.begin(), c.frame.begin() + static_cast<std::ptrdiff_t>(size));
      FrameBytes padded = prefix;
      padded.resize(Stream::kCapacity, 0);
      const Outcome cut = Decode(prefix, c.version);
      const Outcome full = Decode(padded, c.version);
      EXPECT_TRUE(cut.record == full.record) << "prefix of " << size << " bytes";
      EXPECT_EQ(cut.log, full.log) << "prefix of " << size << " bytes";
    }
  }
}

}  // namespace
}  // namespace vomtel::test
