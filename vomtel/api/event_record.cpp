#include "vomtel/api/event_record.h"

#include <tuple>

namespace vomtel {
namespace {

auto Members(const EventTime& t) {
  return std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond);
}

auto Members(const MaxCpsqRequest& m) { return std::tie(m.gate, m.invoke, m.ciod, m.campaign); }

auto Members(const ListNotice& n) {
  return std::tie(n.value1, n.value2, n.value3, n.text1, n.text2, n.text3, n.text4, n.text5);
}

auto Members(const PopupNotice& p) {
  return std::tie(p.custtel, p.popupNumber, p.employee_id, p.cpid, p.cpseq, p.popupText,
                  p.token_id, p.uei.length, p.uei.text, p.script, p.wait, p.gap, p.enum_cmMode,
                  p.enum_callkind);
}

auto Members(const EventRecord& r) {
  return std::tie(r.ctype, r.cnid, r.cnidText, r.cnsq, r.eventId, r.svrid, r.pbxtype, r.callkind,
                  r.callRefId, r.preOldCallRefId, r.secOldCallRefId, r.monitorID, r.eventCause,
                  r.ucid, r.otherPartyType, r.otherPartyCause, r.thirdPartyType,
                  r.thirdPartyCause, r.calledPartyType, r.originatingPartyType, r.AutoAnswerMode,
                  r.DNDMode, r.microphoneMuteMode, r.speakerMuteMode, r.forwardType, r.forwardDn,
                  r.monitorParty, r.otherParty, r.thirdParty, r.calledParty, r.originatingParty,
                  r.connectionList1, r.connectionList2, r.connectionList3, r.UUI, r.uei.length,
                  r.uei.text, r.ci.length, r.ci.text, r.queueDN, r.queueDNText, r.queueWait,
                  r.reasoncode, r.privateType, r.privateCode, r.agentId, r.agentExtra,
                  r.agentGroup, r.agentMode, r.workMode, r.queuedCount, r.localConnState);
}

}  // namespace

bool operator==(const EventRecord& a, const EventRecord& b) {
  return Members(a) == Members(b) && Members(a.timeStamp) == Members(b.timeStamp) &&
         Members(a.maxCpsq) == Members(b.maxCpsq) &&
         Members(a.listNotice) == Members(b.listNotice) && Members(a.popup) == Members(b.popup);
}

}  // namespace vomtel
