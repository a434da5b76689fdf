// Bodies of the phone-feature events, the agent-state events, the password confirmation and
// the two unnamed codes 250 and 251. None of them carries the tagged field block.
#include <cstdint>
#include <string>

#include "vomtel/api/event_bodies.h"
#include "vomtel/api/tagged_fields.h"

namespace vomtel {
namespace {

constexpr std::int32_t kDoNotDisturb = 102;
constexpr std::int32_t kForwarding = 103;
constexpr std::int32_t kAutoAnswer = 105;
constexpr std::int32_t kMicrophoneMute = 106;
constexpr std::int32_t kSpeakerMute = 107;
constexpr std::int32_t kLoggedOn = 201;
constexpr std::int32_t kLoggedOff = 202;
constexpr std::int32_t kNotReady = 203;
constexpr std::int32_t kPwdConfirm = 253;
constexpr std::int32_t kUnnamed251 = 251;

std::string UnnamedLog(std::int32_t code) {
  return "<OrbaAdapter::Event>id[" + std::to_string(code) + "]";
}

std::string FeatureLog(const EventContext& context, const EventRecord& r) {
  EventLogText text(EventLogName(r.eventId), context.gate, r, HeaderStyle::kComma);
  // The server's own numbers are masked for three of the five events.
  const bool masked = r.eventId == kDoNotDisturb || r.eventId == kForwarding ||
                      r.eventId == kAutoAnswer;
  text.Line("\t\tmonitorParty\t[",
            masked ? MaskedText(r.monitorParty) : std::string(LogText(r.monitorParty)));
  text.Line("\t\tmonitorID\t[", r.monitorID);
  switch (r.eventId) {
    case kDoNotDisturb:
      text.Line("\t\tDNDMode\t\t[", std::to_string(r.DNDMode));
      break;
    case kForwarding:
      text.Line("\t\tforwardType\t[", std::to_string(r.forwardType));
      text.Line("\t\tforwardDn\t\t[", LogText(r.forwardDn));
      break;
    case kAutoAnswer:
      text.Line("\t\tAutoAnswerMode\t\t[", std::to_string(r.AutoAnswerMode));
      break;
    case kMicrophoneMute:
      text.Line("\t\tmicrophoneMuteMode\t\t[", std::to_string(r.microphoneMuteMode));
      break;
    case kSpeakerMute:
    default:
      text.Line("\t\tspeakerMuteMode\t\t[", std::to_string(r.speakerMuteMode));
      break;
  }
  return text.Finish();
}

std::string AgentStateLog(const EventContext& context, const EventRecord& r) {
  EventLogText text(EventLogName(r.eventId), context.gate, r, HeaderStyle::kComma);
  text.Line("\t\tmonitorParty\t[", LogText(r.monitorParty));
  text.Line("\t\tmonitorID\t[", r.monitorID);
  text.Line(r.eventId == kLoggedOff ? "\t\tagentid\t[" : "\t\tagentid\t\t[", LogText(r.agentId));
  text.Line("\t\tagentGroup\t[", LogText(r.agentGroup));
  text.Line("\t\tworkMode\t[", std::to_string(r.workMode));
  text.Line("\t\treasoncode\t[", r.reasoncode);
  return text.Finish();
}

std::string PwdConfirmLog(const EventContext& context, const EventRecord& r) {
  EventLogText text(EventLogName(r.eventId), context.gate, r, HeaderStyle::kComma);
  text.Line("\t\tmonitorParty\t[", LogText(r.monitorParty));
  text.Line("\t\tmonitorID\t[", r.monitorID);
  text.Line("\t\tagentid\t[", LogText(r.agentId));
  text.Line("\t\tagentGroup\t[", LogText(r.agentGroup));
  text.Line("\t\treasoncode\t[", r.reasoncode);
  text.Line("\t\tUEILen\t\t[", std::to_string(r.uei.length));
  text.Line("\t\tUEIData\t\t[", LogText(r.uei.text));
  return text.Finish();
}

}  // namespace

void DecodeFeatureEvent(EventCursor& cursor, const EventContext& context, EventRecord& r,
                        EventLogTexts* log) {
  r.monitorParty = cursor.Str8();
  r.monitorID = cursor.U32();
  switch (r.eventId) {
    case kDoNotDisturb:
      r.DNDMode = cursor.U8();
      break;
    case kForwarding:
      r.forwardType = cursor.U8();
      r.forwardDn = cursor.Str8();
      break;
    case kAutoAnswer:
      r.AutoAnswerMode = cursor.U8();
      break;
    case kMicrophoneMute:
      r.microphoneMuteMode = cursor.U8();
      break;
    case kSpeakerMute:
    default:
      r.speakerMuteMode = cursor.U8();
      break;
  }
  if (log != nullptr) log->push_back(FeatureLog(context, r));
}

void DecodeAgentStateEvent(EventCursor& cursor, const EventContext& context, EventRecord& r,
                           EventLogTexts* log) {
  r.monitorParty = cursor.Str8();
  r.monitorID = cursor.U32();
  r.agentId = cursor.Str8();
  r.agentGroup = cursor.Str8();
  r.agentExtra = cursor.Str8();
  if (r.eventId == kLoggedOff) {
    cursor.U16();
    cursor.U8();
  } else if (r.eventId == kNotReady) {
    cursor.U8();
    cursor.U8();
  }
  r.workMode = cursor.U8();
  r.reasoncode = cursor.U8();
  // The event code alone decides the mode: 201 login (0) ... 206 after-call work (5).
  r.agentMode = static_cast<std::uint8_t>(r.eventId - kLoggedOn);
  if (log != nullptr) log->push_back(AgentStateLog(context, r));
}

void DecodeOtherEvent(EventCursor& cursor, const EventContext& context, EventRecord& r,
                      EventLogTexts* log) {
  if (r.eventId == kPwdConfirm) {
    cursor.U32();
    const std::uint32_t number = cursor.U32();
    if (SendsTextIds(context.version)) {
      r.monitorParty = cursor.Str8();
    } else {
      r.monitorParty = std::to_string(static_cast<std::int32_t>(number));
    }
    r.reasoncode = cursor.U32();
    r.uei = cursor.Str16();
    r.queueDN = 0;
    r.queueWait = 0;
    if (log != nullptr) log->push_back(PwdConfirmLog(context, r));
    return;
  }
  if (r.eventId != kUnnamed251) r.monitorParty = cursor.Str8();  // 250
  if (log != nullptr) log->push_back(UnnamedLog(r.eventId));
  if (r.eventId == kUnnamed251) r.eventId = kEventCode251;
}

}  // namespace vomtel
