#include <cstdint>
#include <string>

#include "vomtel/api/event_bodies.h"
#include "vomtel/api/tagged_fields.h"

namespace vomtel {
namespace {

// Party state values that the decoder sets (not wire values).
constexpr std::uint8_t kCauseNone = 0;
constexpr std::uint8_t kCauseTransferredAway = 1;
constexpr std::uint8_t kCauseAlerting = 2;
constexpr std::uint8_t kCauseDelivered = 5;
constexpr std::uint8_t kCauseThirdTransferred = 13;

constexpr std::uint8_t kVersionWithUcid = 0x50;

void ReadParty(EventCursor& cursor, std::string& text, std::uint8_t& type) {
  TaggedText party = cursor.Tagged();
  text = std::move(party.text);
  type = party.type;
}

void ReadOther(EventCursor& c, EventRecord& r) { ReadParty(c, r.otherParty, r.otherPartyType); }
void ReadThird(EventCursor& c, EventRecord& r) { ReadParty(c, r.thirdParty, r.thirdPartyType); }
void ReadCalled(EventCursor& c, EventRecord& r) {
  ReadParty(c, r.calledParty, r.calledPartyType);
}
void ReadOriginating(EventCursor& c, EventRecord& r) {
  ReadParty(c, r.originatingParty, r.originatingPartyType);
}

void ReadPrefix(EventCursor& cursor, std::uint8_t version, EventRecord& r) {
  r.monitorParty = cursor.Str8();
  r.monitorID = cursor.U32();
  r.UUI = cursor.Str8();
  r.callRefId = cursor.U32();
  r.localConnState = cursor.U32();
  r.eventCause = cursor.U32();
  if (version == kVersionWithUcid) r.ucid = cursor.Str8();
}

// The server reports a delivered call from the monitored device's side: when the other party
// is the monitored device itself, the third party is the one calling.
void DeliveredComparison(EventRecord& r) {
  if (r.monitorParty == r.otherParty) {
    r.otherParty = r.thirdParty;
    r.thirdParty.clear();
    r.thirdPartyType = 0;
    r.otherPartyCause = kCauseDelivered;
  } else {
    r.otherPartyCause = kCauseAlerting;
    r.thirdPartyCause = kCauseDelivered;
  }
}

void TransferredComparison(EventRecord& r) {
  if (r.thirdParty != r.monitorParty) {
    r.thirdPartyCause = kCauseThirdTransferred;
    r.otherPartyCause = kCauseTransferredAway;
  } else {
    r.thirdParty = r.otherParty;
    r.otherParty.clear();
    r.thirdPartyCause = kCauseTransferredAway;
    r.otherPartyType = 0;
  }
}

void ReadBody(std::int32_t code, EventCursor& c, EventRecord& r) {
  switch (code) {
    case 2:  // conferenced
      r.preOldCallRefId = c.U32();
      r.secOldCallRefId = c.U32();
      ReadOther(c, r);
      ReadThird(c, r);
      r.connectionList1 = c.Str8();
      r.connectionList2 = c.Str8();
      r.connectionList3 = c.Str8();
      break;
    case 3:  // connection cleared
      ReadOther(c, r);
      r.otherPartyCause = kCauseNone;
      break;
    case 4:  // delivered
      ReadOther(c, r);
      ReadThird(c, r);
      ReadCalled(c, r);
      ReadOriginating(c, r);
      c.U32();
      c.U32();
      c.U8();
      c.U32();
      DeliveredComparison(r);
      break;
    case 5:  // diverted
    case 7:  // failed
    case 9:  // network reached
      ReadOther(c, r);
      ReadCalled(c, r);
      break;
    case 6:  // established
      ReadOther(c, r);
      ReadThird(c, r);
      ReadCalled(c, r);
      break;
    case 8:   // held
    case 12:  // retrieved
      ReadOther(c, r);
      break;
    case 10:  // originated
      ReadOther(c, r);
      ReadCalled(c, r);
      ReadOriginating(c, r);
      r.otherPartyCause = kCauseNone;
      break;
    case 11:  // queued
      ReadOther(c, r);
      ReadThird(c, r);
      ReadCalled(c, r);
      ReadOriginating(c, r);
      r.queuedCount = c.U32();
      break;
    case 14:  // transferred
      r.preOldCallRefId = c.U32();
      r.secOldCallRefId = c.U32();
      ReadOther(c, r);
      ReadThird(c, r);
      r.connectionList1 = c.Str8();
      r.connectionList2 = c.Str8();
      TransferredComparison(r);
      break;
    default:  // 13 service initiated: the prefix only
      break;
  }
}

const char* UcidLabel(std::int32_t code) {
  if (code == 5) return "\t\tucid\t[";
  if (code == 11) return "\t\tucid [";
  return "\t\tucid\t\t[";
}

void CommonLines(EventLogText& log, const EventRecord& r) {
  log.Line("\t\tCNID\t\t[", LogText(r.cnidText), "]-[");
  log.Line("", std::to_string(r.cnsq));
  log.Line("\t\tctype\t\t[", std::to_string(r.ctype));
  log.Line("\t\tmonitorParty\t[", MaskedText(r.monitorParty));
  log.Line("\t\tmonitorID\t[", r.monitorID);
  log.Line("\t\tUUI\t\t[", LogText(r.UUI));
  log.Line("\t\tcallRefId\t\t[", r.callRefId);
  log.Line("\t\teventCause\t[", static_cast<std::int32_t>(r.eventCause));
  log.Line("\t\tlocalConnState\t[", r.localConnState);
  log.Line(UcidLabel(r.eventId), LogText(r.ucid));
}

void UserDataLines(EventLogText& log, const EventRecord& r) {
  log.Line("\t\tUEILen\t[", std::to_string(r.uei.length));
  log.Line("\t\tUEIData\t[", LogText(r.uei.text));
  log.Line("\t\tCILen\t[", std::to_string(r.ci.length));
  log.Line("\t\tCIData\t[", LogText(r.ci.text));
}

void Other(EventLogText& log, const EventRecord& r) {
  log.Line("\t\totherParty\t[", MaskedText(r.otherParty));
}
void OtherCause(EventLogText& log, const EventRecord& r) {
  log.Line("\t\totherPartyCause\t[", std::to_string(r.otherPartyCause));
}
void OtherType(EventLogText& log, const EventRecord& r) {
  log.Line("\t\totherPartyType\t[", std::to_string(r.otherPartyType));
}
void Third(EventLogText& log, const EventRecord& r) {
  log.Line("\t\tthirdParty\t[", MaskedText(r.thirdParty));
}
void ThirdCause(EventLogText& log, const EventRecord& r) {
  log.Line("\t\tthirdPartyCause\t[", std::to_string(r.thirdPartyCause));
}
void ThirdType(EventLogText& log, const EventRecord& r) {
  log.Line("\t\tthirdPartyType\t[", std::to_string(r.thirdPartyType));
}
void Called(EventLogText& log, const EventRecord& r) {
  log.Line("\t\tcalledParty\t[", MaskedText(r.calledParty));
}

// The party lines of the delivered and established events.
void AllParties(EventLogText& log, const EventRecord& r) {
  Other(log, r);
  OtherCause(log, r);
  OtherType(log, r);
  Third(log, r);
  ThirdCause(log, r);
  ThirdType(log, r);
  Called(log, r);
}

std::string LogFor(const EventContext& context, const EventRecord& r) {
  EventLogText log(EventLogName(r.eventId), context.gate, r, HeaderStyle::kComma);
  CommonLines(log, r);
  switch (r.eventId) {
    case 2:
      log.Line("\t\tsecOldCallRefId\t[", r.secOldCallRefId);
      Other(log, r);
      Third(log, r);
      log.Line("\t\tconnectionList1\t[", MaskedText(r.connectionList1));
      log.Line("\t\tconnectionList2\t[", MaskedText(r.connectionList2));
      log.Line("\t\tconnectionList3\t[", MaskedText(r.connectionList3));
      UserDataLines(log, r);
      break;
    case 3:
      Other(log, r);
      OtherCause(log, r);
      UserDataLines(log, r);
      break;
    case 4:
      AllParties(log, r);
      log.Line("\t\tcalledPartyType\t[", std::to_string(r.calledPartyType));
      log.Line("\t\tqueueDN\t\t[", LogText(r.queueDNText));
      log.Line("\t\tqueueWait\t[", r.queueWait);
      UserDataLines(log, r);
      break;
    case 5:
      Other(log, r);
      OtherCause(log, r);
      Called(log, r);
      UserDataLines(log, r);
      break;
    case 6:
      AllParties(log, r);
      break;
    case 7:
    case 9:
      Other(log, r);
      OtherCause(log, r);
      Called(log, r);
      break;
    case 8:
    case 12:
      Other(log, r);
      OtherCause(log, r);
      break;
    case 10:
      Other(log, r);
      OtherCause(log, r);
      Called(log, r);
      log.Line("\t\toriginatingParty\t[", LogText(r.originatingParty));
      break;
    case 11:
      Other(log, r);
      OtherCause(log, r);
      Third(log, r);
      Called(log, r);
      UserDataLines(log, r);
      break;
    case 14:
      log.Line("\t\tpreOldCallRefId\t[", r.preOldCallRefId);
      log.Line("\t\tsecOldCallRefId\t[", r.secOldCallRefId);
      Other(log, r);
      OtherCause(log, r);
      Third(log, r);
      ThirdCause(log, r);
      log.Line("\t\tconnectionList1\t[", MaskedText(r.connectionList1));
      log.Line("\t\tconnectionList2\t[", MaskedText(r.connectionList2));
      UserDataLines(log, r);
      break;
    default:  // 13 ends with the common lines, the ucid line closed in full
      return log.Open();
  }
  return log.Finish();
}

}  // namespace

void DecodeCallEvent(EventCursor& cursor, const EventContext& context, EventRecord& record,
                     EventLogTexts* log) {
  ReadPrefix(cursor, context.version, record);
  ReadBody(record.eventId, cursor, record);
  ParseEventFields(cursor, record, context.version);
  if (log != nullptr) log->push_back(LogFor(context, record));
}

}  // namespace vomtel
