// The byte layout of EventData, checked at compile time: its size, the offset of every
// field and the natural alignment of every number.
#include <gtest/gtest.h>

#include <cstddef>
#include <type_traits>

#include "vomtel/vomtel_event.h"

static_assert(sizeof(EventData) == 6240);
static_assert(alignof(EventData) == 4);
static_assert(sizeof(vomtelPrivateEventData) == 148);
static_assert(std::is_standard_layout_v<EventData>);
static_assert(std::is_trivially_copyable_v<EventData>);

static_assert(offsetof(EventData, EventKind) == 0);
static_assert(offsetof(EventData, cnid) == 4);
static_assert(offsetof(EventData, cnidText) == 8);
static_assert(offsetof(EventData, reserved73) == 73);
static_assert(offsetof(EventData, cnsq) == 76);
static_assert(offsetof(EventData, ctype) == 80);
static_assert(offsetof(EventData, reserved81) == 81);
static_assert(offsetof(EventData, CallRefID) == 84);
static_assert(offsetof(EventData, PreOldCallRefID) == 88);
static_assert(offsetof(EventData, SecOldCallRefID) == 92);
static_assert(offsetof(EventData, LocalConnState) == 96);
static_assert(offsetof(EventData, EventCause) == 100);
static_assert(offsetof(EventData, ucid) == 104);
static_assert(offsetof(EventData, Type) == 168);
static_assert(offsetof(EventData, AgentMode) == 172);
static_assert(offsetof(EventData, AgentID) == 176);
static_assert(offsetof(EventData, AgentGroup) == 200);
static_assert(offsetof(EventData, AgentData) == 224);
static_assert(offsetof(EventData, LocalAgent) == 248);
static_assert(offsetof(EventData, MonitorParty) == 272);
static_assert(offsetof(EventData, UUI) == 296);
static_assert(offsetof(EventData, AccountCode) == 328);
static_assert(offsetof(EventData, AuthorisationCode) == 360);
static_assert(offsetof(EventData, DtmfDigit) == 392);
static_assert(offsetof(EventData, NumberOfQueue) == 416);
static_assert(offsetof(EventData, OtherPartyType) == 420);
static_assert(offsetof(EventData, OtherPartyCause) == 424);
static_assert(offsetof(EventData, OtherParty) == 428);
static_assert(offsetof(EventData, OtherPartyTrunk) == 452);
static_assert(offsetof(EventData, OtherPartyGroup) == 456);
static_assert(offsetof(EventData, ThirdPartyType) == 460);
static_assert(offsetof(EventData, ThirdPartyCause) == 464);
static_assert(offsetof(EventData, ThirdParty) == 468);
static_assert(offsetof(EventData, ThirdPartyTrunk) == 492);
static_assert(offsetof(EventData, ThirdPartyGroup) == 496);
static_assert(offsetof(EventData, CalledPartyType) == 500);
static_assert(offsetof(EventData, CalledPartyCause) == 504);
static_assert(offsetof(EventData, CalledParty) == 508);
static_assert(offsetof(EventData, CalledPartyTrunk) == 532);
static_assert(offsetof(EventData, CalledPartyGroup) == 536);
static_assert(offsetof(EventData, OriginatingPartyType) == 540);
static_assert(offsetof(EventData, OriginatingPartyCause) == 544);
static_assert(offsetof(EventData, OriginatingParty) == 548);
static_assert(offsetof(EventData, OriginatingPartyTrunk) == 572);
static_assert(offsetof(EventData, OriginatingPartyGroup) == 576);
static_assert(offsetof(EventData, ConnectionList1) == 580);
static_assert(offsetof(EventData, ConnectionList2) == 604);
static_assert(offsetof(EventData, ConnectionList3) == 628);
static_assert(offsetof(EventData, DNDMode) == 652);
static_assert(offsetof(EventData, ForwardType) == 656);
static_assert(offsetof(EventData, ForwardDn) == 660);
static_assert(offsetof(EventData, MessageInvDn) == 684);
static_assert(offsetof(EventData, MessageWaitingMode) == 708);
static_assert(offsetof(EventData, AutoAnswerMode) == 712);
static_assert(offsetof(EventData, MicrophoneMuteMode) == 716);
static_assert(offsetof(EventData, SpeakerMuteMode) == 720);
static_assert(offsetof(EventData, SpeakerVolume) == 724);
static_assert(offsetof(EventData, TimeStamp) == 728);
static_assert(offsetof(EventData, TimeStamp.Millisecond) == 740);
static_assert(offsetof(EventData, reserved742) == 742);
static_assert(offsetof(EventData, PrivData) == 776);
static_assert(offsetof(EventData, QueueData) == 904);
static_assert(offsetof(EventData, reserved908) == 908);
static_assert(offsetof(EventData, queueWait) == 976);
static_assert(offsetof(EventData, replyCall) == 980);
static_assert(offsetof(EventData, abandonCall) == 984);
static_assert(offsetof(EventData, ReasonCode) == 988);
static_assert(offsetof(EventData, UEILen) == 992);
static_assert(offsetof(EventData, UEI) == 996);
static_assert(offsetof(EventData, reserved2021) == 2021);
static_assert(offsetof(EventData, CILen) == 2024);
static_assert(offsetof(EventData, CI) == 2028);
static_assert(offsetof(EventData, reserved3053) == 3053);
static_assert(offsetof(EventData, Gate) == 3056);
static_assert(offsetof(EventData, MonitorID) == 3060);
static_assert(offsetof(EventData, reserved3064) == 3064);
static_assert(offsetof(EventData, PrivateData) == 3100);
static_assert(offsetof(EventData, VoiceLength) == 4124);
static_assert(offsetof(EventData, VoicePosition) == 4128);
static_assert(offsetof(EventData, VoiceSpeed) == 4132);
static_assert(offsetof(EventData, VoiceLevel) == 4133);
static_assert(offsetof(EventData, VoiceVolume) == 4134);
static_assert(offsetof(EventData, SysStatus) == 4135);
static_assert(offsetof(EventData, RouteRegReqID) == 4136);
static_assert(offsetof(EventData, RoutingCrossID) == 4140);
static_assert(offsetof(EventData, ErrorValue) == 4144);
static_assert(offsetof(EventData, ServerID) == 4145);
static_assert(offsetof(EventData, PbxType) == 4146);
static_assert(offsetof(EventData, CallKind) == 4147);
static_assert(offsetof(EventData, WorkMode) == 4148);
static_assert(offsetof(EventData, EDivide) == 4152);
static_assert(offsetof(EventData, EUnAttend) == 4156);
static_assert(offsetof(EventData, TypeIE) == 4160);
static_assert(offsetof(EventData, PrivateEvent) == 4164);
static_assert(offsetof(EventData, PrivateEvent.MaxCpsq.Gate) == 4164);
static_assert(offsetof(EventData, PrivateEvent.MaxCpsq.Invoke) == 4168);
static_assert(offsetof(EventData, PrivateEvent.MaxCpsq.Ciod) == 4172);
static_assert(offsetof(EventData, PrivateEvent.MaxCpsq.Campaign) == 4176);
static_assert(offsetof(EventData, PrivateEvent.ListNotice.Value1) == 4164);
static_assert(offsetof(EventData, PrivateEvent.ListNotice.Value2) == 4168);
static_assert(offsetof(EventData, PrivateEvent.ListNotice.Value3) == 4172);
static_assert(offsetof(EventData, PrivateEvent.ListNotice.Text1) == 4176);
static_assert(offsetof(EventData, PrivateEvent.ListNotice.Text2) == 4207);
static_assert(offsetof(EventData, PrivateEvent.ListNotice.Text3) == 4238);
static_assert(offsetof(EventData, PrivateEvent.ListNotice.Text4) == 4259);
static_assert(offsetof(EventData, PrivateEvent.ListNotice.Text5) == 4280);
static_assert(offsetof(EventData, PrivateEvent.Popup.EmployeeId) == 4164);
static_assert(offsetof(EventData, PrivateEvent.Popup.PopupNumber) == 4204);
static_assert(offsetof(EventData, PrivateEvent.Popup.TokenId) == 4232);
static_assert(offsetof(EventData, reserved4312) == 4312);

namespace {

// The library writes nothing from byte 4312 on: the reserved tail begins there and runs to
// the end.
TEST(EventLayoutTest, ReservedTailRunsToTheEnd) {
  EXPECT_EQ(offsetof(EventData, reserved4312) + sizeof(EventData{}.reserved4312),
            sizeof(EventData));
  EXPECT_EQ(offsetof(EventData, reserved4312), std::size_t{VOMTEL_EVENT_WRITTEN_SIZE});
}

}  // namespace
