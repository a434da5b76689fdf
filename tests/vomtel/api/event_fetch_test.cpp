// The event fetch end to end: a gate opened on the simulator, events pushed by the server and
// polled with GetEvent as the exported vomtelGetEvent does.
#include "vomtel/api/event_fetch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/vomtel/core/loopback/loopback_fixture.h"
#include "tools/ctisim/call_events.h"
#include "vomtel/api/event_copy.h"
#include "vomtel/api/event_decoder.h"
#include "vomtel/core/session.h"
#include "vomtel/core/result_codes.h"

namespace vomtel::test {
namespace {

constexpr std::uint8_t kVersion = 0x50;

class EventFetchTest : public ::testing::Test {
 protected:
  EventFetchTest() : server_(SimAt("127.0.0.1")), adapter_(LogSettings(dir_), ShortTimings()) {
    adapter_.AddServer(server_.Address(), server_.Port(), 0, 1, "5001", "app", kVersion, 0);
    gate_ = -1;
    opened_ = adapter_.OpenServer(&gate_);
  }

  static Settings LogSettings(const TempDir& dir) {
    Settings settings;
    settings.logPath = dir.Path();
    return settings;
  }

  ctisim::Bytes CallEvent(std::uint8_t code, std::uint32_t callId) {
    ctisim::CallParties parties;
    parties.monitored = "5001";
    parties.other = "01012345678";
    parties.call_id = callId;
    parties.version = kVersion;
    return ctisim::EventFrame(code, ctisim::CallEventBody(code, parties));
  }

  // Polls until a fetch gives something other than 3010, or the time is up. The record is not
  // zeroed between polls: the fetch must not need it.
  int PollOne(EventData& data, milliseconds timeout = milliseconds(3000)) {
    int result = kNoEvent;
    WaitUntil(
        [&] {
          result = GetEvent(adapter_, gate_, &data);
          return result != kNoEvent;
        },
        timeout);
    return result;
  }

  std::string LogText() const {
    std::string text;
    for (const auto& entry : std::filesystem::directory_iterator(dir_ / kLogFolderName)) {
      text += ReadFile(entry.path().string());
    }
    return text;
  }

  TempDir dir_;
  ctisim::SimServer server_;
  OrbaAdapter adapter_;
  int gate_ = -1;
  int opened_ = 0;
};

TEST_F(EventFetchTest, PushedEventsComeOutInOrderThenNone) {
  ASSERT_EQ(opened_, kOk);
  ctisim::Bytes burst = CallEvent(4, 71);
  for (const auto& more : {CallEvent(6, 72), CallEvent(3, 73)}) {
    burst.insert(burst.end(), more.begin(), more.end());
  }
  ASSERT_EQ(server_.Send(burst), 1);

  auto data = std::make_unique<EventData>();
  ASSERT_EQ(PollOne(*data), kOk);
  EXPECT_EQ(data->EventKind, 4);
  EXPECT_EQ(data->CallRefID, 71);
  EXPECT_STREQ(data->ucid, "UCID71");  // the session's header byte reached the decoder
  EXPECT_STREQ(data->cnidText, "71");
  EXPECT_STREQ(data->OtherParty, "01012345678");

  // A null record fetches nothing: the next event is still there.
  EXPECT_EQ(GetEvent(adapter_, gate_, nullptr), kZeroDevice);
  ASSERT_EQ(PollOne(*data), kOk);
  EXPECT_EQ(data->EventKind, 6);
  EXPECT_EQ(data->CallRefID, 72);
  ASSERT_EQ(PollOne(*data), kOk);
  EXPECT_EQ(data->EventKind, 3);
  EXPECT_EQ(data->CallRefID, 73);

  data->EventKind = 42;
  EXPECT_EQ(GetEvent(adapter_, gate_, data.get()), kNoEvent);
  EXPECT_EQ(data->EventKind, 0);
  EXPECT_EQ(GetEvent(adapter_, gate_, data.get()), kNoEvent);

  const std::string log = LogText();
  EXPECT_NE(log.find("vomtelGetEvent-evtDelivered : gate [" + std::to_string(gate_) + "], time ["),
            std::string::npos);
  EXPECT_NE(log.find("\t\totherParty\t[0101234****]"), std::string::npos);
  EXPECT_NE(log.find("GetEvent Return orbaSuccess"), std::string::npos);
}

// With the log off the fetch builds no log text; the events come out as the decoder gives
// them for their frames alone, a short frame after a long one included.
TEST_F(EventFetchTest, LogOffDeliversTheSameEventsAndWritesNoEventText) {
  ASSERT_EQ(opened_, kOk);
  adapter_.Proxy().FindActive(gate_)->Logger().SetLevel(0);
  const std::vector<ctisim::Bytes> frames = {CallEvent(4, 71), CallEvent(3, 73),
                                             CallEvent(13, 74)};
  ctisim::Bytes burst;
  for (const auto& frame : frames) burst.insert(burst.end(), frame.begin(), frame.end());
  ASSERT_EQ(server_.Send(burst), 1);

  auto data = std::make_unique<EventData>();
  auto expected = std::make_unique<EventData>();
  for (const auto& bytes : frames) {
    ASSERT_EQ(PollOne(*data), kOk);
    EventRecord record;
    DecodeEvent(Stream(bytes.data(), bytes.size()), {kVersion, gate_, LocalTimeNow}, record);
    CopyEventRecord(record, kOk, expected.get());
    EXPECT_EQ(std::memcmp(data.get(), expected.get(), sizeof(EventData)), 0)
        << "event " << static_cast<int>(bytes[4]);
  }
  EXPECT_EQ(LogText().find("vomtelGetEvent-"), std::string::npos);
  EXPECT_EQ(LogText().find("GetEvent Return orbaSuccess"), std::string::npos);
}

// An event frame too long for the receive buffer is dropped with one line that names it (its
// size, then its head: length, class and code); the event after it is delivered.
TEST_F(EventFetchTest, TooLongEventIsLoggedAndTheNextOneDelivered) {
  ASSERT_EQ(opened_, kOk);
  // 27 head bytes after the length and 8200 body bytes: a length of 8227 (0x2023).
  ASSERT_EQ(server_.PushEvent(4, ctisim::Bytes(8200, 0x30)), 1);
  ASSERT_EQ(server_.Send(CallEvent(6, 82)), 1);

  auto data = std::make_unique<EventData>();
  ASSERT_EQ(PollOne(*data), kOk);
  EXPECT_EQ(data->EventKind, 6);
  EXPECT_EQ(data->CallRefID, 82);
  EXPECT_EQ(GetEvent(adapter_, gate_, data.get()), kNoEvent);
  EXPECT_NE(LogText().find("] recv drop (too long) : <8230>a1 20 23 41 04 \n"), std::string::npos)
      << LogText();
}

TEST_F(EventFetchTest, HaNoticeIsConsumedAndNotDelivered) {
  ASSERT_EQ(opened_, kOk);
  ASSERT_EQ(server_.PushHaNotice(true), 1);
  ASSERT_EQ(server_.PushEvent(105, {4, '5', '0', '0', '1', 0, 0, 0, 9, 1}), 1);
  auto data = std::make_unique<EventData>();
  ASSERT_EQ(PollOne(*data), kOk);
  EXPECT_EQ(data->EventKind, 105);
  EXPECT_EQ(data->AutoAnswerMode, 1);
}

TEST_F(EventFetchTest, LostGateGivesServerDownWithTheTime) {
  ASSERT_EQ(opened_, kOk);
  server_.StopListening();
  server_.DropConnections();
  auto data = std::make_unique<EventData>();
  std::memset(data.get(), 0xCD, sizeof(EventData));
  const auto before = std::chrono::system_clock::now();
  ASSERT_EQ(PollOne(*data, milliseconds(5000)), kOk);
  const auto after = std::chrono::system_clock::now();
  EXPECT_EQ(data->EventKind, 999);

  // The time stamp is the local time of the fetch.
  std::tm stamp{};
  stamp.tm_year = data->TimeStamp.Year - 1900;
  stamp.tm_mon = data->TimeStamp.Month - 1;
  stamp.tm_mday = data->TimeStamp.Day;
  stamp.tm_hour = data->TimeStamp.Hour;
  stamp.tm_min = data->TimeStamp.Minute;
  stamp.tm_sec = data->TimeStamp.Second;
  stamp.tm_isdst = -1;
  const auto at = std::chrono::system_clock::from_time_t(std::mktime(&stamp));
  EXPECT_GE(at,
            std::chrono::time_point_cast<std::chrono::seconds>(before) - std::chrono::seconds(1));
  EXPECT_LE(at, after + std::chrono::seconds(1));
  EXPECT_LT(data->TimeStamp.Millisecond, 1000);

  // Nothing else of the record is set; the tail keeps the caller's bytes.
  EventData expected{};
  expected.EventKind = 999;
  expected.TimeStamp = data->TimeStamp;
  EXPECT_EQ(std::memcmp(data.get(), &expected, VOMTEL_EVENT_WRITTEN_SIZE), 0);
  EXPECT_EQ(reinterpret_cast<const unsigned char*>(data.get())[VOMTEL_EVENT_WRITTEN_SIZE], 0xCD);
}

}  // namespace
}  // namespace vomtel::test
