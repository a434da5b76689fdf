#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "event_control_fixture.h"
#include "vomtel_ocx/event_control/event_properties.h"

namespace vomtelx::test {
namespace {

// A record in which every field a property reads holds a value of its own.
EventData DistinctRecord() {
  EventData e = EventOf(4);
  e.cnid = 0xFFFFFFFFu;
  e.cnsq = 76;
  e.ctype = 200;
  e.CallRefID = -1;
  e.PreOldCallRefID = 88;
  e.SecOldCallRefID = 92;
  e.LocalConnState = 96;
  e.EventCause = 100;
  e.Type = 168;
  e.AgentMode = 5;
  std::memset(e.AgentID, 'A', sizeof e.AgentID);  // full width, no NUL
  std::strcpy(e.AgentGroup, "group");
  std::strcpy(e.AgentData, "data");
  std::strcpy(e.LocalAgent, "local");
  std::strcpy(e.MonitorParty, "3001");
  std::strcpy(e.UUI, "uui");
  std::strcpy(e.AccountCode, "acct");
  std::strcpy(e.AuthorisationCode, "auth");
  std::strcpy(e.DtmfDigit, "123#");
  e.NumberOfQueue = 416;
  e.OtherPartyType = 420;
  e.OtherPartyCause = 424;
  std::strcpy(e.OtherParty, "\xC8\xAB\xB1\xE6\xB5\xBF");  // Korean text in CP949
  e.OtherPartyTrunk = 452;
  e.OtherPartyGroup = 456;
  e.ThirdPartyType = 460;
  e.ThirdPartyCause = 464;
  std::strcpy(e.ThirdParty, "third");
  e.ThirdPartyTrunk = 492;
  e.ThirdPartyGroup = 496;
  e.CalledPartyType = 500;
  e.CalledPartyCause = 504;
  std::strcpy(e.CalledParty, "called");
  e.CalledPartyTrunk = 532;
  e.CalledPartyGroup = 536;
  e.OriginatingPartyType = 540;
  e.OriginatingPartyCause = 544;
  std::strcpy(e.OriginatingParty, "orig");
  e.OriginatingPartyTrunk = 572;
  e.OriginatingPartyGroup = 576;
  std::strcpy(e.ConnectionList1, "c1");
  std::strcpy(e.ConnectionList2, "c2");
  std::strcpy(e.ConnectionList3, "c3");
  e.DNDMode = 652;
  e.ForwardType = 656;
  std::strcpy(e.ForwardDn, "fwd");
  std::strcpy(e.MessageInvDn, "msg");
  e.MessageWaitingMode = 708;
  e.AutoAnswerMode = 712;
  e.MicrophoneMuteMode = 716;
  e.SpeakerMuteMode = 720;
  e.SpeakerVolume = 724;
  e.TimeStamp = {2026, 12, 9, 8, 7, 6, 543};
  std::strcpy(e.PrivData, "priv");
  e.QueueData = 904;
  e.queueWait = 976;
  e.replyCall = 980;
  e.abandonCall = 984;
  e.ReasonCode = 3000000000u;
  std::strcpy(e.UEI, "uei-text");
  std::strcpy(e.CI, "ci-text");
  e.Gate = 3056;
  e.MonitorID = 3060;
  std::strcpy(e.PrivateData, "private");
  e.VoiceLength = 4124;
  e.VoicePosition = 4128;
  e.VoiceSpeed = 0;  // a zero %c reads as the empty text
  e.VoiceLevel = 'L';
  e.VoiceVolume = 'V';
  e.SysStatus = 'S';
  e.RouteRegReqID = 4136;
  e.RoutingCrossID = 4140;
  e.ErrorValue = 201;
  e.ServerID = 202;
  e.PbxType = 203;
  e.CallKind = 204;
  e.WorkMode = 4148;
  e.EDivide = 4152;
  e.EUnAttend = 4156;
  e.TypeIE = 107;
  std::strcpy(e.PrivateEvent.Popup.EmployeeId, "emp-07");
  e.PrivateEvent.Popup.TokenId = -4232;
  return e;
}

// What each DISPID reads from DistinctRecord().
const std::vector<std::string> kDistinctTexts = {
    "4", "-1", "88", "92", "96", "100", "168", "5", std::string(24, 'A'), "group", "data",
    "local", "3001", "uui", "acct", "auth", "123#", "416", "420", "424", "홍길동", "452", "456",
    "460", "464", "third", "492", "496", "500", "504", "called", "532", "536", "540", "544",
    "orig", "572", "576", "c1", "c2", "c3", "652", "656", "fwd", "msg", "708", "712", "716",
    "720", "724", "2026/12/09 08:07:06", "priv", "904", "3000000000", "uei-text", "ci-text",
    "3056", "3060", "private", "4124", "4128", "", "L", "V", "S", "4136", "4140", "201", "202",
    "203", "204", "4148", "4152", "4156", "4294967295", "76", "200", "904", "976", "980", "984",
    "107", "-4232", "emp-07"};

class EventPropertiesTest : public EventControlTest {
 protected:
  std::vector<std::string> ReadAll() {
    std::vector<std::string> texts;
    for (DISPID id = 1; id <= 84; ++id) texts.push_back(Get(id));
    return texts;
  }
};

TEST_F(EventPropertiesTest, EveryPropertyReadsItsOwnFieldInsideTheHandler) {
  ASSERT_EQ(kDistinctTexts.size(), 84u);
  Fake().events = {DistinctRecord()};
  std::vector<std::string> texts;
  onEvent_ = [&](int) { texts = ReadAll(); };
  OpenGate(0);
  StartTimer();
  Tick();
  ASSERT_EQ(texts.size(), 84u);
  for (size_t i = 0; i < 84; ++i) EXPECT_EQ(texts[i], kDistinctTexts[i]) << "DISPID " << i + 1;
}

TEST_F(EventPropertiesTest, ZeroRecordReadsZeroAndEmpty) {
  const std::vector<std::string> texts = ReadAll();
  for (size_t i = 0; i < 84; ++i) {
    const EventProperty& row = EventProperties()[i];
    const std::string expected = row.format == FieldFormat::kTimeStamp ? "0000/00/00 00:00:00"
                                 : row.format == FieldFormat::kText || row.format == FieldFormat::kChar
                                     ? ""
                                     : "0";
    EXPECT_EQ(texts[i], expected) << row.name;
  }
}

TEST_F(EventPropertiesTest, EmployeeIdShowsTheUnionBytesOfOtherSubCodes) {
  EventData e = EventOf(200);
  e.TypeIE = 101;
  e.PrivateEvent.ListNotice.Value1 = 0x44434241;  // "ABCD", then Value2's bytes, then zeros
  e.PrivateEvent.ListNotice.Value2 = 0x4645;
  Fake().events = {e};
  std::string employee;
  onEvent_ = [&](int) { employee = Get(84); };
  OpenGate(0);
  StartTimer();
  Tick();
  EXPECT_EQ(employee, "ABCDEF");
}

TEST_F(EventPropertiesTest, PutOnAWritablePropertyIsTakenAndDiscarded) {
  Fake().events = {DistinctRecord()};
  vomcom::ComPtr<IPersistPropertyBag> persist;
  ASSERT_EQ(control_.As(IID_IPersistPropertyBag, std::addressof(persist)), S_OK);
  std::vector<HRESULT> results;
  std::string cnsq;
  onEvent_ = [&](int) {
    results.push_back(Put(76, vomcom::Variant(int32_t{5})));  // cnsq
    results.push_back(Put(83, vomcom::Variant("9")));          // TokenId
    results.push_back(Put(1, vomcom::Variant(int32_t{5})));   // EventKind: read-only
    cnsq = Get(76);
  };
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  OpenGate(0);
  StartTimer();
  Tick();
  EXPECT_EQ(results, (std::vector<HRESULT>{S_OK, S_OK, VC_E_SETNOTSUPPORTED}));
  EXPECT_EQ(cnsq, "76");
  EXPECT_EQ(persist->IsDirty(), S_OK);
}

// The rows of the table and the type-info view agree: names, DISPIDs, a put for exactly the
// writable rows, TokenId declared as a long, AboutBox reachable but not declared.
TEST_F(EventPropertiesTest, TypeInfoViewFollowsTheTable) {
  vomcom::ComPtr<ITypeInfo> raw;
  ASSERT_EQ(control_->GetTypeInfo(0, 0, raw.Put()), S_OK);
  vomcom::ComPtr<IVcTypeInfo> info;
  ASSERT_EQ(raw.As(IID_IVcTypeInfo, std::addressof(info)), S_OK);
  UINT count = 0;
  ASSERT_EQ(info->GetMemberCount(&count), S_OK);
  size_t puts = 0;
  std::vector<DISPID> methods;
  for (UINT i = 0; i < count; ++i) {
    VcMemberInfo m{};
    ASSERT_EQ(info->GetMember(i, &m), S_OK);
    if (m.kind == VC_MEMBER_METHOD) {
      methods.push_back(m.id);
      continue;
    }
    ASSERT_GE(m.id, 1);
    ASSERT_LE(m.id, 84);
    const EventProperty& row = EventProperties()[static_cast<size_t>(m.id - 1)];
    EXPECT_STREQ(m.name, row.name);
    const VARTYPE declared = row.declaredLong ? VT_I4 : VT_BSTR;
    if (m.kind == VC_MEMBER_PROPGET) {
      EXPECT_EQ(m.resultType, declared) << row.name;
    }
    if (m.kind == VC_MEMBER_PROPPUT) {
      ++puts;
      EXPECT_TRUE(row.writable) << row.name;
      ASSERT_EQ(m.paramCount, 1u);
      EXPECT_EQ(m.params[0], declared) << row.name;
    }
  }
  EXPECT_EQ(puts, 9u);
  EXPECT_EQ(methods, (std::vector<DISPID>{85, 86, 87, 88}));
  EXPECT_EQ(count, 84u + 9u + 4u);

  DISPID about = 0;
  EXPECT_EQ(vomcom::GetDispId(control_.Get(), "aboutbox", &about), S_OK);
  EXPECT_EQ(about, DISPID_ABOUTBOX);
  DISPID agentMode = 0;
  EXPECT_EQ(vomcom::GetDispId(control_.Get(), "AgentMode", &agentMode), S_OK);
  EXPECT_EQ(agentMode, 8);
}

}  // namespace
}  // namespace vomtelx::test
