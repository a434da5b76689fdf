#include "vomtel/api/event_decoder.h"

#include <string>

#include "vomtel/api/event_bodies.h"
#include "vomtel/api/event_cursor.h"
#include "vomtel/core/frame.h"
#include "vomtel/core/mask_number.h"

namespace vomtel {
namespace {

enum class Family { kNone, kCall, kFeature, kAgentState, kOther, kPrivate };

Family FamilyOf(std::int32_t code) {
  if (code >= 2 && code <= 14) return Family::kCall;
  if (code == 102 || code == 103 || (code >= 105 && code <= 107)) return Family::kFeature;
  if (code >= 201 && code <= 206) return Family::kAgentState;
  if (code == 250 || code == 251 || code == 253) return Family::kOther;
  if (code == kEventPrivate) return Family::kPrivate;
  return Family::kNone;
}

void ReadHead(EventCursor& cursor, EventRecord& r) {
  cursor.U8();   // first byte
  cursor.U16();  // length
  cursor.U8();   // class
  r.eventId = cursor.U8();
  cursor.U8();   // session byte
  cursor.U16();  // session word
  r.timeStamp.year = cursor.U16();
  r.timeStamp.month = cursor.U8();
  r.timeStamp.day = cursor.U8();
  r.timeStamp.hour = cursor.U8();
  r.timeStamp.minute = cursor.U8();
  r.timeStamp.second = cursor.U8();
  r.timeStamp.millisecond = cursor.U16();
  cursor.U16();  // unused numbers
  cursor.U32();
  cursor.U32();
  r.svrid = cursor.U8();
  r.pbxtype = cursor.U8();
  r.callkind = cursor.U8();
}

void ServerDown(const EventContext& context, EventRecord& r, EventLogTexts* log) {
  const LocalTime now = context.clock();
  r.eventId = kEventServerDown;
  r.timeStamp.year = static_cast<std::uint16_t>(now.year);
  r.timeStamp.month = static_cast<std::uint8_t>(now.month);
  r.timeStamp.day = static_cast<std::uint8_t>(now.day);
  r.timeStamp.hour = static_cast<std::uint8_t>(now.hour);
  r.timeStamp.minute = static_cast<std::uint8_t>(now.minute);
  r.timeStamp.second = static_cast<std::uint8_t>(now.second);
  r.timeStamp.millisecond = static_cast<std::uint16_t>(now.millisecond);
  if (log == nullptr) return;
  log->push_back("vomtelGetEvent-CCSEDOWN gate [" + std::to_string(context.gate) + "]time [" +
                 EventTimeText(r.timeStamp) + "]\n");
}

}  // namespace

const char* EventLogName(std::int32_t code) {
  switch (code) {
    case 2: return "evtConferenced";
    case 3: return "evtConnectionCleared";
    case 4: return "evtDelivered";
    case 5: return "evtDiverted";
    case 6: return "evtEstablished";
    case 7: return "evtFailed";
    case 8: return "evtHeld";
    case 9: return "evtNetworkReached";
    case 10: return "evtOriginated";
    case 11: return "evtQueued";
    case 12: return "evtRetrieved";
    case 13: return "evtServiceInitated";
    case 14: return "evtTransferred";
    case 102: return "evtDoNotDisturb";
    case 103: return "evtForwarding";
    case 105: return "evtAutoAnswer";
    case 106: return "evtMicrophoneMute";
    case 107: return "evtSpeakerMute";
    case 201: return "evtLoggedOn";
    case 202: return "evtLoggedOff";
    case 203: return "evtNotReady";
    case 204: return "evtReady";
    case 205: return "evtOtherWork";
    case 206: return "evtAfterCallWork";
    case 253: return "evtPwdConfirm";
    case kEventServerDown: return "CCSEDOWN";
    default: return "";
  }
}

std::string_view LogText(const std::string& text) {
  return std::string_view(text).substr(0, text.find('\0'));
}

std::string MaskedText(const std::string& text) { return MaskNumber(text); }

EventLogTexts DecodeEvent(const Stream& frame, const EventContext& context, EventRecord& record,
                          bool withLog) {
  EventLogTexts texts;
  EventLogTexts* const log = withLog ? &texts : nullptr;
  EventCursor cursor(frame);
  if (frame.At(cursor.Position()) == kConnectionLost) {
    ServerDown(context, record, log);
    return texts;
  }
  ReadHead(cursor, record);
  switch (FamilyOf(record.eventId)) {
    case Family::kCall:
      DecodeCallEvent(cursor, context, record, log);
      break;
    case Family::kFeature:
      DecodeFeatureEvent(cursor, context, record, log);
      break;
    case Family::kAgentState:
      DecodeAgentStateEvent(cursor, context, record, log);
      break;
    case Family::kOther:
      DecodeOtherEvent(cursor, context, record, log);
      break;
    case Family::kPrivate:
      DecodePrivateEvent(cursor, context, record, log);
      break;
    case Family::kNone:
      break;
  }
  if (log != nullptr && record.eventId != kEventNone) {
    log->push_back("GetEvent Return orbaSuccess\n");
  }
  return texts;
}

}  // namespace vomtel
