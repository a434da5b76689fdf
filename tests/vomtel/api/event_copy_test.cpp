// The copy of a decoded record into the caller's EventData.
#include "vomtel/api/event_copy.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "event_test_frames.h"
#include "vomtel/api/event_decoder.h"
#include "vomtel/core/result_codes.h"

namespace vomtel::test {
namespace {

constexpr unsigned char kDirt = 0xCD;

// A record the caller did not zero.
std::unique_ptr<EventData> DirtyData() {
  auto data = std::make_unique<EventData>();
  std::memset(data.get(), kDirt, sizeof(EventData));
  return data;
}

const unsigned char* Bytes(const EventData& d) {
  return reinterpret_cast<const unsigned char*>(&d);
}

bool AllBytesAre(const EventData& d, std::size_t from, std::size_t to, unsigned char value) {
  for (std::size_t i = from; i < to; ++i) {
    if (Bytes(d)[i] != value) return false;
  }
  return true;
}

EventRecord DecodeCase(const std::string& name) {
  for (const EventCase& c : AllEventCases()) {
    if (name != c.name) continue;
    EventRecord record;
    const Stream frame = MakeFrame(c.frame);
    DecodeEvent(frame, {c.version, 0, LocalTimeNow}, record);
    return record;
  }
  ADD_FAILURE() << "no case " << name;
  return {};
}

TEST(EventCopyTest, NoEventWritesOnlyTheKind) {
  EventRecord decoded;  // an HA notice decodes to event id 0 with result 1
  for (int result : {int{kNoEvent}, int{kOk}}) {
    auto data = DirtyData();
    EXPECT_EQ(CopyEventRecord(decoded, result, data.get()), kNoEvent);
    EXPECT_EQ(data->EventKind, 0);
    EXPECT_TRUE(AllBytesAre(*data, 4, sizeof(EventData), kDirt));
  }
  EXPECT_EQ(CopyEventRecord(DecodeCase("held with an empty party"), kOk, nullptr), kZeroDevice);
}

TEST(EventCopyTest, ServerDownWritesKindAndTimeOnly) {
  EventRecord r;
  r.eventId = 999;
  r.timeStamp = {2027, 3, 4, 5, 6, 7, 890};
  r.monitorParty = "5001";
  auto data = DirtyData();
  EXPECT_EQ(CopyEventRecord(r, kOk, data.get()), kOk);
  EXPECT_EQ(data->EventKind, 999);
  const vomtelEventTime& t = data->TimeStamp;
  EXPECT_EQ((std::vector<int>{t.Year, t.Month, t.Day, t.Hour, t.Minute, t.Second, t.Millisecond}),
            (std::vector<int>{2027, 3, 4, 5, 6, 7, 890}));
  EventData expected{};
  expected.EventKind = 999;
  expected.TimeStamp = t;
  EXPECT_EQ(std::memcmp(data.get(), &expected, VOMTEL_EVENT_WRITTEN_SIZE), 0);
  EXPECT_TRUE(AllBytesAre(*data, VOMTEL_EVENT_WRITTEN_SIZE, sizeof(EventData), kDirt));
}

// Every field with a source, each from a distinct value, so a field copied into the wrong
// place shows.
TEST(EventCopyTest, EveryFieldFromItsMember) {
  EventRecord r;
  r.eventId = 4;
  r.ctype = 2;
  r.cnid = 3;
  r.cnidText = "cn";
  r.cnsq = 0xFFFE;
  r.timeStamp = {2026, 1, 2, 3, 4, 5, 999};
  r.callRefId = 0xFFFFFFFF;
  r.preOldCallRefId = 6;
  r.secOldCallRefId = 7;
  r.monitorID = 8;
  r.eventCause = 9;
  r.ucid = "uc";
  r.otherPartyType = 10;
  r.otherPartyCause = 11;
  r.thirdPartyType = 12;
  r.thirdPartyCause = 13;
  r.calledPartyType = 14;
  r.originatingPartyType = 15;
  r.AutoAnswerMode = 16;
  r.DNDMode = 17;
  r.microphoneMuteMode = 18;
  r.speakerMuteMode = 19;
  r.forwardType = 20;
  r.forwardDn = "fw";
  r.monitorParty = "mp";
  r.otherParty = "op";
  r.thirdParty = "tp";
  r.calledParty = "cp";
  r.originatingParty = "og";
  r.connectionList1 = "c1";
  r.connectionList2 = "c2";
  r.connectionList3 = "c3";
  r.UUI = "uui";
  r.uei = SizedString("uei");
  r.ci = SizedString("ci");
  r.queueDN = 21;
  r.queueDNText = "21";
  r.queueWait = 22;
  r.reasoncode = 23;
  r.agentId = "ag";
  r.agentExtra = "ax";
  r.agentGroup = "gr";
  r.agentMode = 5;
  r.workMode = 24;
  r.queuedCount = 25;
  r.localConnState = 26;

  auto data = DirtyData();
  ASSERT_EQ(CopyEventRecord(r, kOk, data.get()), kOk);
  const EventData& d = *data;
  EXPECT_EQ(d.EventKind, 4);
  EXPECT_EQ(d.cnid, 3u);
  EXPECT_STREQ(d.cnidText, "cn");
  EXPECT_EQ(d.cnsq, 0xFFFE);
  EXPECT_EQ(d.ctype, 2);
  EXPECT_EQ(d.CallRefID, -1);
  EXPECT_EQ(d.PreOldCallRefID, 6);
  EXPECT_EQ(d.SecOldCallRefID, 7);
  EXPECT_EQ(d.LocalConnState, 26);
  EXPECT_EQ(d.EventCause, 9);
  EXPECT_STREQ(d.ucid, "uc");
  EXPECT_EQ(d.AgentMode, 5);
  EXPECT_STREQ(d.AgentID, "ag");
  EXPECT_STREQ(d.AgentGroup, "gr");
  EXPECT_STREQ(d.MonitorParty, "mp");
  EXPECT_STREQ(d.UUI, "uui");
  EXPECT_EQ(d.OtherPartyType, 10);
  EXPECT_EQ(d.OtherPartyCause, 11);
  EXPECT_STREQ(d.OtherParty, "op");
  EXPECT_EQ(d.ThirdPartyType, 12);
  EXPECT_EQ(d.ThirdPartyCause, 13);
  EXPECT_STREQ(d.ThirdParty, "tp");
  EXPECT_EQ(d.CalledPartyType, 14);
  EXPECT_STREQ(d.CalledParty, "cp");
  EXPECT_EQ(d.OriginatingPartyType, 15);
  EXPECT_STREQ(d.OriginatingParty, "og");
  EXPECT_STREQ(d.ConnectionList1, "c1");
  EXPECT_STREQ(d.ConnectionList2, "c2");
  EXPECT_STREQ(d.ConnectionList3, "c3");
  EXPECT_EQ(d.DNDMode, 17);
  EXPECT_EQ(d.ForwardType, 20);
  EXPECT_STREQ(d.ForwardDn, "fw");
  EXPECT_EQ(d.AutoAnswerMode, 16);
  EXPECT_EQ(d.MicrophoneMuteMode, 18);
  EXPECT_EQ(d.SpeakerMuteMode, 19);
  EXPECT_EQ(d.TimeStamp.Year, 2026);
  EXPECT_EQ(d.TimeStamp.Millisecond, 999);
  EXPECT_EQ(d.QueueData, 21);
  EXPECT_EQ(d.queueWait, 22);
  EXPECT_EQ(d.ReasonCode, 23u);
  EXPECT_EQ(d.UEILen, 3);
  EXPECT_STREQ(d.UEI, "uei");
  EXPECT_EQ(d.CILen, 2);
  EXPECT_STREQ(d.CI, "ci");
  EXPECT_EQ(d.MonitorID, 8);
  EXPECT_EQ(d.WorkMode, 24);
  EXPECT_EQ(d.TypeIE, 0);
  // Fields without a source stay zero; nothing from 4312 on is touched.
  EXPECT_EQ(d.Type + d.OtherPartyTrunk + d.ThirdPartyTrunk + d.VoiceLength + d.Gate, 0);
  EXPECT_STREQ(d.AgentData, "");
  EXPECT_TRUE(AllBytesAre(d, offsetof(EventData, PrivateEvent), VOMTEL_EVENT_WRITTEN_SIZE, 0));
  EXPECT_TRUE(AllBytesAre(d, VOMTEL_EVENT_WRITTEN_SIZE, sizeof(EventData), kDirt));
}

TEST(EventCopyTest, TextsAreCutToTheirFields) {
  EventRecord r;
  r.eventId = 3;
  r.otherParty = std::string(200, 'o');
  r.cnidText = std::string(100, 'n');
  r.uei = SizedString(std::string(1024, 'u'));
  r.ci = SizedString(std::string(5000, 'c'));
  auto data = DirtyData();
  ASSERT_EQ(CopyEventRecord(r, kOk, data.get()), kOk);
  EXPECT_EQ(std::string(data->OtherParty), std::string(23, 'o'));
  EXPECT_EQ(std::string(data->cnidText), std::string(64, 'n'));
  EXPECT_EQ(data->UEILen, 1024);
  EXPECT_EQ(std::string(data->UEI), std::string(1024, 'u'));
  EXPECT_EQ(data->CILen, 1024);
  EXPECT_EQ(std::string(data->CI), std::string(1024, 'c'));
  EXPECT_TRUE(AllBytesAre(*data, offsetof(EventData, reserved2021), offsetof(EventData, CILen), 0));
}

TEST(EventCopyTest, PrivateUnionBySubCode) {
  {
    auto data = DirtyData();
    ASSERT_EQ(CopyEventRecord(DecodeCase("get max CPSQ"), kOk, data.get()), kOk);
    const vomtelMaxCpsqData& m = data->PrivateEvent.MaxCpsq;
    EXPECT_EQ(data->EventKind, 200);
    EXPECT_EQ(data->TypeIE, 100);
    EXPECT_EQ((std::vector<std::uint32_t>{m.Gate, m.Invoke, m.Ciod, m.Campaign}),
              (std::vector<std::uint32_t>{7, 8, 9, 10}));
  }
  {
    auto data = DirtyData();
    ASSERT_EQ(CopyEventRecord(DecodeCase("list notice"), kOk, data.get()), kOk);
    const vomtelListNoticeData& n = data->PrivateEvent.ListNotice;
    EXPECT_EQ(data->TypeIE, 101);
    EXPECT_EQ((std::vector<std::uint32_t>{n.Value1, n.Value2, n.Value3}),
              (std::vector<std::uint32_t>{1, 2, 3}));
    EXPECT_EQ(std::string(n.Text1) + n.Text2 + n.Text3 + n.Text4 + n.Text5, "t1t2t3t4t5");
  }
  {
    auto data = DirtyData();
    ASSERT_EQ(CopyEventRecord(DecodeCase("pop-up"), kOk, data.get()), kOk);
    const EventData& d = *data;
    EXPECT_EQ(d.EventKind, 254);
    EXPECT_EQ(d.TypeIE, 107);
    EXPECT_STREQ(d.PrivateEvent.Popup.EmployeeId, "E7");
    EXPECT_EQ(d.PrivateEvent.Popup.PopupNumber, 11u);
    EXPECT_EQ(d.PrivateEvent.Popup.TokenId, 14);
    EXPECT_STREQ(d.MonitorParty, "0");
    EXPECT_EQ((std::vector<int>{d.Type, d.VoiceLength, d.VoicePosition, d.ThirdPartyTrunk,
                                d.ThirdPartyType}),
              (std::vector<int>{15, 16, 17, 18, 19}));
  }
  // The union follows all 32 bits of the sub-code; TypeIE shows the low byte.
  for (const char* name : {"sub-code 0x16B", "sub-code 0x165", "selected target", "IVR pop-up"}) {
    SCOPED_TRACE(name);
    auto data = DirtyData();
    ASSERT_EQ(CopyEventRecord(DecodeCase(name), kOk, data.get()), kOk);
    EXPECT_EQ(data->EventKind, 200);
    EXPECT_EQ(data->TypeIE, DecodeCase(name).privateType);
    EXPECT_TRUE(
        AllBytesAre(*data, offsetof(EventData, PrivateEvent), VOMTEL_EVENT_WRITTEN_SIZE, 0));
  }
}

// A caller that does not zero its record between fetches sees nothing of the earlier event.
TEST(EventCopyTest, NothingOfAnEarlierEventSurvives) {
  auto data = DirtyData();
  ASSERT_EQ(CopyEventRecord(DecodeCase("pop-up"), kOk, data.get()), kOk);
  ASSERT_EQ(CopyEventRecord(DecodeCase("delivered elsewhere"), kOk, data.get()), kOk);
  EXPECT_EQ(data->EventKind, 4);
  EXPECT_EQ(data->PrivateEvent.Popup.TokenId, 0);
  EXPECT_STREQ(data->PrivateEvent.Popup.EmployeeId, "");
  EXPECT_EQ(data->Type + data->VoiceLength + data->VoicePosition + data->ThirdPartyTrunk, 0);
  EXPECT_STREQ(data->MonitorParty, "5001");
  EXPECT_TRUE(AllBytesAre(*data, offsetof(EventData, reserved73), offsetof(EventData, cnsq), 0));
}

}  // namespace
}  // namespace vomtel::test
