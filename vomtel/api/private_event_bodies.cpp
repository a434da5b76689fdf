// Bodies of the private event 200: a 32-bit sub-code, then the sub-code's body. The body is
// chosen on all 32 bits of the sub-code; privateType keeps its low byte.
#include <cstdint>
#include <string>

#include "vomtel/api/event_bodies.h"

namespace vomtel {
namespace {

void MaxCpsq(EventCursor& c, const EventContext& context, EventRecord& r, EventLogTexts* log) {
  MaxCpsqRequest& m = r.maxCpsq;
  m.gate = c.U32();
  m.invoke = c.U16();
  m.ciod = c.U32();
  m.campaign = c.U32();
  if (log == nullptr) return;
  EventLogText text("evt_GetMaxCPSQ", context.gate, r, HeaderStyle::kPrivate);
  text.Line("\t\tgate\t\t\t[", m.gate);
  text.Line("\t\tinvoke\t\t\t[", std::to_string(m.invoke));
  text.Line("\t\tciod\t\t\t[", m.ciod);
  text.Line("\t\tcampaign\t\t[", m.campaign);
  log->push_back(text.Finish());
}

void ListNoticeBody(EventCursor& c, EventRecord& r) {
  ListNotice& n = r.listNotice;
  n.value1 = c.U32();
  n.value2 = c.U16();
  n.value3 = c.U32();
  n.text1 = c.Str8();
  n.text2 = c.Str8();
  n.text3 = c.Str8();
  n.text4 = c.Str8();
  n.text5 = c.Str8();
}

void Popup(EventCursor& c, const EventContext& context, EventRecord& r, EventLogTexts* log) {
  PopupNotice& p = r.popup;
  p.custtel = std::to_string(c.U32());
  p.popupNumber = c.U32();
  p.employee_id = c.Str8();
  p.cpid = c.U32();
  p.cpseq = c.U32();
  p.popupText = c.Str8();
  p.token_id = c.U32();
  p.uei = c.Str16();
  p.script = c.U32();
  p.wait = c.U32();
  p.gap = c.U32();
  p.enum_cmMode = c.U32();
  p.enum_callkind = c.U32();
  if (log == nullptr) return;
  EventLogText text("evt_Popup", context.gate, r, HeaderStyle::kPrivate);
  text.Line("\t\tcusttel\t\t[", p.custtel);
  text.Line("\t\tcpid\t[", p.cpid);
  text.Line("\t\tcpseq\t[", p.cpseq);
  text.Line("\t\tUEILENTH\t\t[", std::to_string(p.uei.length));
  text.Line("       UEI\t\t    [", LogText(p.uei.text), "] \n");
  text.Line("       script      [", p.script, "] \n");
  text.Line("       wait     [", p.wait, "] \n");
  text.Line("       gap       [", p.gap, "] \n");
  text.Line("       enum_cmMode      [", p.enum_cmMode);
  text.Line("       enum_callkind      [", p.enum_callkind);
  text.Line("       token_id      [", p.token_id);
  text.Line("       employee_id      [", LogText(p.employee_id));
  log->push_back(text.Finish());
}

void SelectedTarget(EventCursor& c, const EventContext& context, EventRecord& r,
                    EventLogTexts* log) {
  r.callRefId = c.U32();
  r.monitorParty = c.Str8();
  r.otherParty = c.Str8();
  r.calledParty = c.Str8();
  if (log == nullptr) return;
  EventLogText text("SelectedTarget", context.gate, r, HeaderStyle::kPrivate);
  text.Line("\t\tCallRefId\t\t[", r.callRefId);
  text.Line("\t\tmonitorParty\t[", LogText(r.monitorParty));
  text.Line("\t\totherParty\t[", MaskedText(r.otherParty));
  text.Line("\t\tcalledParty\t\t[", MaskedText(r.calledParty));
  log->push_back(text.Finish());
}

void IvrPopup(EventCursor& c, const EventContext& context, EventRecord& r, EventLogTexts* log) {
  r.callRefId = c.U32();
  r.monitorParty = c.Str8();
  r.otherParty = c.Str8();
  r.agentId = c.Str8();
  r.UUI = c.Str8();
  r.uei = c.Str16();
  r.ci = c.Str16();
  if (log == nullptr) return;
  EventLogText text("orbaSE_IVRPopup", context.gate, r, HeaderStyle::kPrivate);
  text.Line("\t\tCallRefId\t\t[", r.callRefId);
  text.Line("\t\tmonitorParty\t[", MaskedText(r.monitorParty));
  text.Line("\t\totherParty\t[", MaskedText(r.otherParty));
  text.Line("\t\tagentId\t\t[", LogText(r.agentId));
  text.Line("       UUI\t\t    [", LogText(r.UUI), "] \n");
  text.Line("       UEILen      [", std::to_string(r.uei.length), "] \n");
  text.Line("       UEIData     [", LogText(r.uei.text), "] \n");
  text.Line("       CILen       [", std::to_string(r.ci.length), "] \n");
  text.Line("       CIData      [", LogText(r.ci.text));
  log->push_back(text.Finish());
}

}  // namespace

void DecodePrivateEvent(EventCursor& cursor, const EventContext& context, EventRecord& record,
                        EventLogTexts* log) {
  record.privateCode = cursor.U32();
  record.privateType = static_cast<std::uint8_t>(record.privateCode);
  switch (record.privateCode) {
    case kPrivateMaxCpsq:
      MaxCpsq(cursor, context, record, log);
      break;
    case kPrivateListNotice:  // no log text
      ListNoticeBody(cursor, record);
      break;
    case kPrivatePopup:
      Popup(cursor, context, record, log);
      break;
    case kPrivateSelectedTarget:
      SelectedTarget(cursor, context, record, log);
      break;
    case kPrivateIvrPopup:
      IvrPopup(cursor, context, record, log);
      break;
    default:  // nothing more to read
      break;
  }
}

}  // namespace vomtel
