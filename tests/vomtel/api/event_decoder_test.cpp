// The event decoder over tables of frames of every family: each frame must decode to exactly
// the head's values plus the fields its row names, nothing more.
#include "vomtel/api/event_decoder.h"

#include <gtest/gtest.h>

#include "event_test_frames.h"

namespace vomtel::test {
namespace {

LocalTime FixedClock() { return {2027, 3, 4, 5, 6, 7, 890}; }

EventRecord Decode(const FrameBytes& bytes, std::uint8_t version, EventLogTexts* log = nullptr) {
  EventRecord record;
  const Stream frame = MakeFrame(bytes);
  EventLogTexts texts = DecodeEvent(frame, {version, 3, FixedClock}, record);
  if (log != nullptr) *log = std::move(texts);
  return record;
}

void CheckCases(const std::vector<EventCase>& cases) {
  for (const EventCase& c : cases) {
    SCOPED_TRACE(c.name);
    EventRecord expected = HeadRecord(c.frame[4]);
    c.expect(expected);
    EXPECT_TRUE(Decode(c.frame, c.version) == expected);
  }
}

TEST(EventDecoderTest, CallEvents) { CheckCases(CallEventCases()); }
TEST(EventDecoderTest, FeatureEvents) { CheckCases(FeatureEventCases()); }
TEST(EventDecoderTest, AgentStateEvents) { CheckCases(AgentStateEventCases()); }
TEST(EventDecoderTest, OtherEventsAndCodesWithoutBody) { CheckCases(OtherEventCases()); }
TEST(EventDecoderTest, PrivateEvents) { CheckCases(PrivateEventCases()); }

TEST(EventDecoderTest, EveryDecodedEventEndsWithTheSuccessLine) {
  for (const EventCase& c : AllEventCases()) {
    SCOPED_TRACE(c.name);
    EventLogTexts log;
    Decode(c.frame, c.version, &log);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "GetEvent Return orbaSuccess\n");
  }
}

TEST(EventDecoderTest, WithoutLogTheSameRecordAndNoText) {
  for (const EventCase& c : AllEventCases()) {
    SCOPED_TRACE(c.name);
    const Stream frame = MakeFrame(c.frame);
    EventRecord logged;
    EventRecord quiet;
    EXPECT_FALSE(DecodeEvent(frame, {c.version, 3, FixedClock}, logged, true).empty());
    EXPECT_TRUE(DecodeEvent(frame, {c.version, 3, FixedClock}, quiet, false).empty());
    EXPECT_TRUE(quiet == logged);
  }
}

TEST(EventDecoderTest, ServerDownNoticeWithoutLogGivesNoText) {
  const Stream frame = MakeFrame({0xA4});
  EventRecord record;
  EXPECT_TRUE(DecodeEvent(frame, {0, 3, FixedClock}, record, false).empty());
  EXPECT_EQ(record.eventId, 999);
  EXPECT_EQ(record.timeStamp.millisecond, 890);
}

TEST(EventDecoderTest, CodeWithoutBodyLogsOnlyTheSuccessLine) {
  EventLogTexts log;
  EXPECT_EQ(Decode(Event(104, Frame()), 0, &log).eventId, 104);
  EXPECT_EQ(log, EventLogTexts{"GetEvent Return orbaSuccess\n"});
}

TEST(EventDecoderTest, ServerDownNoticeTakesTheLocalTime) {
  EventLogTexts log;
  const EventRecord r = Decode({0xA4}, 0, &log);
  EventRecord expected;
  expected.eventId = 999;
  expected.timeStamp = {2027, 3, 4, 5, 6, 7, 890};
  EXPECT_TRUE(r == expected);
  EXPECT_EQ(log, EventLogTexts{"vomtelGetEvent-CCSEDOWN gate [3]time [2027/03/04 05:06:07]\n"});
}

TEST(EventDecoderTest, HaNoticesAndEmptyFramesDecodeToNothing) {
  for (const FrameBytes& bytes : {FrameBytes{17}, FrameBytes{18}, FrameBytes{0}, FrameBytes{}}) {
    EventLogTexts log;
    EXPECT_TRUE(Decode(bytes, 0, &log) == EventRecord{});
    EXPECT_TRUE(log.empty());
  }
}

// The ucid is in the body only for sessions 0x50: any other session reads the next field
// where a 0x50 session would read the ucid.
TEST(EventDecoderTest, UcidOnlyFromVersion50) {
  const FrameBytes bytes = Event(12, CallBody(0x50).PutTaggedStr8(1, "5002"));
  EXPECT_EQ(Decode(bytes, 0x50).ucid, "UC-1");
  EXPECT_EQ(Decode(bytes, 0x50).otherParty, "5002");
  const EventRecord plain = Decode(bytes, 0x28);
  EXPECT_EQ(plain.ucid, "");
  EXPECT_EQ(plain.otherPartyType, 'U');
}

}  // namespace
}  // namespace vomtel::test
