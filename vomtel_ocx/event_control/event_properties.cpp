#include "vomtel_ocx/event_control/event_properties.h"

#include <array>
#include <cstdio>
#include <cstring>

namespace vomtelx {
namespace {

using F = FieldFormat;

#define VX_FIELD(member) \
  static_cast<uint16_t>(offsetof(EventData, member)), \
      static_cast<uint16_t>(sizeof(EventData::member))
#define VX_POPUP(member)                                                       \
  static_cast<uint16_t>(offsetof(EventData, PrivateEvent.Popup.member)),       \
      static_cast<uint16_t>(sizeof(vomtelPopupData::member))

constexpr bool kRO = false;
constexpr bool kRW = true;

constexpr std::array<EventProperty, kEventPropertyCount> kRows = {{
    {1, "EventKind", VX_FIELD(EventKind), F::kSigned, kRO, false},
    {2, "CallRefID", VX_FIELD(CallRefID), F::kSigned, kRO, false},
    {3, "PreOldCallRefID", VX_FIELD(PreOldCallRefID), F::kSigned, kRO, false},
    {4, "SecOldCallRefID", VX_FIELD(SecOldCallRefID), F::kSigned, kRO, false},
    {5, "LocalConnState", VX_FIELD(LocalConnState), F::kSigned, kRO, false},
    {6, "EventCause", VX_FIELD(EventCause), F::kSigned, kRO, false},
    {7, "Type", VX_FIELD(Type), F::kSigned, kRO, false},
    {8, "agentmode", VX_FIELD(AgentMode), F::kSigned, kRO, false},
    {9, "agentid", VX_FIELD(AgentID), F::kText, kRO, false},
    {10, "agentgroup", VX_FIELD(AgentGroup), F::kText, kRO, false},
    {11, "agentdata", VX_FIELD(AgentData), F::kText, kRO, false},
    {12, "LocalAgent", VX_FIELD(LocalAgent), F::kText, kRO, false},
    {13, "MonitorParty", VX_FIELD(MonitorParty), F::kText, kRO, false},
    {14, "uui", VX_FIELD(UUI), F::kText, kRO, false},
    {15, "accountcode", VX_FIELD(AccountCode), F::kText, kRO, false},
    {16, "AuthorisationCode", VX_FIELD(AuthorisationCode), F::kText, kRO, false},
    {17, "DtmfDigit", VX_FIELD(DtmfDigit), F::kText, kRO, false},
    {18, "NumberOfQueue", VX_FIELD(NumberOfQueue), F::kSigned, kRO, false},
    {19, "OtherPartyType", VX_FIELD(OtherPartyType), F::kSigned, kRO, false},
    {20, "OtherPartyCause", VX_FIELD(OtherPartyCause), F::kSigned, kRO, false},
    {21, "OtherParty", VX_FIELD(OtherParty), F::kText, kRO, false},
    {22, "OtherPartyTrunk", VX_FIELD(OtherPartyTrunk), F::kSigned, kRO, false},
    {23, "OtherPartyGroup", VX_FIELD(OtherPartyGroup), F::kSigned, kRO, false},
    {24, "ThirdPartyType", VX_FIELD(ThirdPartyType), F::kSigned, kRO, false},
    {25, "ThirdPartyCause", VX_FIELD(ThirdPartyCause), F::kSigned, kRO, false},
    {26, "ThirdParty", VX_FIELD(ThirdParty), F::kText, kRO, false},
    {27, "ThirdPartyTrunk", VX_FIELD(ThirdPartyTrunk), F::kSigned, kRO, false},
    {28, "ThirdPartyGroup", VX_FIELD(ThirdPartyGroup), F::kSigned, kRO, false},
    {29, "CalledPartyType", VX_FIELD(CalledPartyType), F::kSigned, kRO, false},
    {30, "CalledPartyCause", VX_FIELD(CalledPartyCause), F::kSigned, kRO, false},
    {31, "CalledParty", VX_FIELD(CalledParty), F::kText, kRO, false},
    {32, "CalledPartyTrunk", VX_FIELD(CalledPartyTrunk), F::kSigned, kRO, false},
    {33, "CalledPartyGroup", VX_FIELD(CalledPartyGroup), F::kSigned, kRO, false},
    {34, "OriginatingPartyType", VX_FIELD(OriginatingPartyType), F::kSigned, kRO, false},
    {35, "OriginatingPartyCause", VX_FIELD(OriginatingPartyCause), F::kSigned, kRO, false},
    {36, "OriginatingParty", VX_FIELD(OriginatingParty), F::kText, kRO, false},
    {37, "OriginatingPartyTrunk", VX_FIELD(OriginatingPartyTrunk), F::kSigned, kRO, false},
    {38, "OriginatingPartyGroup", VX_FIELD(OriginatingPartyGroup), F::kSigned, kRO, false},
    {39, "ConnectionList1", VX_FIELD(ConnectionList1), F::kText, kRO, false},
    {40, "ConnectionList2", VX_FIELD(ConnectionList2), F::kText, kRO, false},
    {41, "ConnectionList3", VX_FIELD(ConnectionList3), F::kText, kRO, false},
    {42, "dndmode", VX_FIELD(DNDMode), F::kSigned, kRO, false},
    {43, "ForwardType", VX_FIELD(ForwardType), F::kSigned, kRO, false},
    {44, "forwarddn", VX_FIELD(ForwardDn), F::kText, kRO, false},
    {45, "MessageInvDn", VX_FIELD(MessageInvDn), F::kText, kRO, false},
    {46, "MessageWaitingMode", VX_FIELD(MessageWaitingMode), F::kSigned, kRO, false},
    {47, "AutoAnswerMode", VX_FIELD(AutoAnswerMode), F::kSigned, kRO, false},
    {48, "MicrophoneMuteMode", VX_FIELD(MicrophoneMuteMode), F::kSigned, kRO, false},
    {49, "SpeakerMuteMode", VX_FIELD(SpeakerMuteMode), F::kSigned, kRO, false},
    {50, "SpeakerVolume", VX_FIELD(SpeakerVolume), F::kSigned, kRO, false},
    {51, "TimeStamp", VX_FIELD(TimeStamp), F::kTimeStamp, kRO, false},
    {52, "PrivData", VX_FIELD(PrivData), F::kText, kRO, false},
    {53, "QueueData", VX_FIELD(QueueData), F::kSigned, kRO, false},
    {54, "reasoncode", VX_FIELD(ReasonCode), F::kUnsigned, kRO, false},
    {55, "uei", VX_FIELD(UEI), F::kText, kRO, false},
    {56, "ci", VX_FIELD(CI), F::kText, kRO, false},
    {57, "gate", VX_FIELD(Gate), F::kSigned, kRO, false},
    {58, "MonitorID", VX_FIELD(MonitorID), F::kSigned, kRO, false},
    {59, "PrivateData", VX_FIELD(PrivateData), F::kText, kRO, false},
    {60, "VoiceLength", VX_FIELD(VoiceLength), F::kSigned, kRO, false},
    {61, "VoicePosition", VX_FIELD(VoicePosition), F::kSigned, kRO, false},
    {62, "VoiceSpeed", VX_FIELD(VoiceSpeed), F::kChar, kRO, false},
    {63, "VoiceLevel", VX_FIELD(VoiceLevel), F::kChar, kRO, false},
    {64, "VoiceVolume", VX_FIELD(VoiceVolume), F::kChar, kRO, false},
    {65, "SysStatus", VX_FIELD(SysStatus), F::kChar, kRO, false},
    {66, "RouteRegReqID", VX_FIELD(RouteRegReqID), F::kSigned, kRO, false},
    {67, "RoutingCrossID", VX_FIELD(RoutingCrossID), F::kSigned, kRO, false},
    {68, "ErrorValue", VX_FIELD(ErrorValue), F::kByte, kRO, false},
    {69, "serverid", VX_FIELD(ServerID), F::kByte, kRO, false},
    {70, "PbxType", VX_FIELD(PbxType), F::kByte, kRO, false},
    {71, "callkind", VX_FIELD(CallKind), F::kByte, kRO, false},
    {72, "workmode", VX_FIELD(WorkMode), F::kSigned, kRO, false},
    {73, "EDivide", VX_FIELD(EDivide), F::kSigned, kRO, false},
    {74, "EUnAttend", VX_FIELD(EUnAttend), F::kSigned, kRO, false},
    {75, "cnid", VX_FIELD(cnid), F::kUnsigned, kRW, false},
    {76, "cnsq", VX_FIELD(cnsq), F::kSigned, kRW, false},
    {77, "ctype", VX_FIELD(ctype), F::kByte, kRW, false},
    // The same field as QueueData.
    {78, "queueDN", VX_FIELD(QueueData), F::kSigned, kRW, false},
    {79, "queueWait", VX_FIELD(queueWait), F::kSigned, kRW, false},
    {80, "replyCall", VX_FIELD(replyCall), F::kSigned, kRW, false},
    {81, "abandonCall", VX_FIELD(abandonCall), F::kSigned, kRW, false},
    {82, "TypeIE", VX_FIELD(TypeIE), F::kSigned, kRO, false},
    {83, "TokenId", VX_POPUP(TokenId), F::kSigned, kRW, true},
    // The pop-up's employee id; after the other sub-codes the bytes of their union.
    {84, "employeeid", VX_POPUP(EmployeeId), F::kText, kRW, false},
}};

#undef VX_FIELD
#undef VX_POPUP

constexpr bool RowsInOrder() {
  for (size_t i = 0; i < kRows.size(); ++i) {
    if (kRows[i].dispid != static_cast<int32_t>(i + 1)) return false;
  }
  return true;
}
static_assert(RowsInOrder(), "a property's DISPID is its position in the table");

int32_t ReadI32(const unsigned char* p) {
  int32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

int16_t ReadI16(const unsigned char* p) {
  int16_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

}  // namespace

std::span<const EventProperty> EventProperties() { return kRows; }

std::string FormatEventField(const EventProperty& property, const EventData& record) {
  static_assert(sizeof(EventData) == VOMTEL_EVENT_DATA_SIZE);
  if (static_cast<size_t>(property.offset) + property.width > sizeof(EventData)) return {};
  const auto* field = reinterpret_cast<const unsigned char*>(&record) + property.offset;
  char text[64];
  switch (property.format) {
    case FieldFormat::kSigned:
      std::snprintf(text, sizeof text, "%d", ReadI32(field));
      return text;
    case FieldFormat::kByte:
      std::snprintf(text, sizeof text, "%d", static_cast<int>(field[0]));
      return text;
    case FieldFormat::kUnsigned:
      std::snprintf(text, sizeof text, "%u", static_cast<uint32_t>(ReadI32(field)));
      return text;
    case FieldFormat::kChar:
      return field[0] == 0 ? std::string() : std::string(1, static_cast<char>(field[0]));
    case FieldFormat::kText: {
      const auto* chars = reinterpret_cast<const char*>(field);
      return std::string(chars, strnlen(chars, property.width));
    }
    case FieldFormat::kTimeStamp:
      std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", ReadI16(field),
                    ReadI16(field + 2), ReadI16(field + 4), ReadI16(field + 6),
                    ReadI16(field + 8), ReadI16(field + 10));
      return text;
  }
  return {};
}

}  // namespace vomtelx
