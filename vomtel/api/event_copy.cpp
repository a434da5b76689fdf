#include "vomtel/api/event_copy.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

#include "vomtel/core/result_codes.h"

namespace vomtel {
namespace {

// Copies at most N - 1 bytes and a NUL; returns the bytes copied.
template <std::size_t N>
std::int32_t CopyText(char (&field)[N], std::string_view text) {
  const std::size_t copied = std::min(text.size(), N - 1);
  if (copied > 0) std::memcpy(field, text.data(), copied);
  field[copied] = '\0';
  return static_cast<std::int32_t>(copied);
}

std::int32_t CopySized(char (&field)[VOMTEL_EVENT_USER_DATA_SIZE], const SizedString& value) {
  const std::size_t size = std::min<std::size_t>(value.text.size(), value.length);
  const std::string_view text(value.text.data(), size);
  return CopyText(field, text);
}

void CopyTime(const EventTime& from, vomtelEventTime& to) {
  to.Year = static_cast<std::int16_t>(from.year);
  to.Month = from.month;
  to.Day = from.day;
  to.Hour = from.hour;
  to.Minute = from.minute;
  to.Second = from.second;
  to.Millisecond = static_cast<std::int16_t>(from.millisecond);
}

std::int32_t I32(std::uint32_t value) { return static_cast<std::int32_t>(value); }

void CopyPrivate(const EventRecord& r, EventData& out) {
  vomtelPrivateEventData& u = out.PrivateEvent;
  switch (r.privateCode) {
    case kPrivateMaxCpsq:
      u.MaxCpsq.Gate = r.maxCpsq.gate;
      u.MaxCpsq.Invoke = r.maxCpsq.invoke;
      u.MaxCpsq.Ciod = r.maxCpsq.ciod;
      u.MaxCpsq.Campaign = r.maxCpsq.campaign;
      break;
    case kPrivateListNotice: {
      const ListNotice& n = r.listNotice;
      u.ListNotice.Value1 = n.value1;
      u.ListNotice.Value2 = n.value2;
      u.ListNotice.Value3 = n.value3;
      CopyText(u.ListNotice.Text1, n.text1);
      CopyText(u.ListNotice.Text2, n.text2);
      CopyText(u.ListNotice.Text3, n.text3);
      CopyText(u.ListNotice.Text4, n.text4);
      CopyText(u.ListNotice.Text5, n.text5);
      break;
    }
    case kPrivatePopup: {
      const PopupNotice& p = r.popup;
      CopyText(u.Popup.EmployeeId, p.employee_id);
      u.Popup.PopupNumber = p.popupNumber;
      u.Popup.TokenId = I32(p.token_id);
      out.EventKind = kEventPopup;
      CopyText(out.MonitorParty, p.custtel);
      out.Type = I32(p.script);
      out.VoiceLength = I32(p.wait);
      out.VoicePosition = I32(p.gap);
      out.ThirdPartyTrunk = I32(p.enum_cmMode);
      out.ThirdPartyType = I32(p.enum_callkind);
      break;
    }
    default:
      break;
  }
}

void CopyEvent(const EventRecord& r, EventData& out) {
  out.EventKind = r.eventId;
  out.MonitorID = I32(r.monitorID);
  CopyTime(r.timeStamp, out.TimeStamp);
  out.cnid = r.cnid;
  CopyText(out.cnidText, r.cnidText);
  out.cnsq = r.cnsq;
  out.ctype = r.ctype;
  out.CallRefID = I32(r.callRefId);
  out.PreOldCallRefID = I32(r.preOldCallRefId);
  out.SecOldCallRefID = I32(r.secOldCallRefId);
  out.LocalConnState = I32(r.localConnState);
  out.EventCause = I32(r.eventCause);
  CopyText(out.ucid, r.ucid);
  out.AgentMode = r.agentMode;
  CopyText(out.AgentID, r.agentId);
  CopyText(out.AgentGroup, r.agentGroup);
  CopyText(out.MonitorParty, r.monitorParty);
  CopyText(out.UUI, r.UUI);
  out.OtherPartyType = r.otherPartyType;
  out.OtherPartyCause = r.otherPartyCause;
  CopyText(out.OtherParty, r.otherParty);
  out.ThirdPartyType = r.thirdPartyType;
  out.ThirdPartyCause = r.thirdPartyCause;
  CopyText(out.ThirdParty, r.thirdParty);
  out.CalledPartyType = r.calledPartyType;
  CopyText(out.CalledParty, r.calledParty);
  out.OriginatingPartyType = r.originatingPartyType;
  CopyText(out.OriginatingParty, r.originatingParty);
  CopyText(out.ConnectionList1, r.connectionList1);
  CopyText(out.ConnectionList2, r.connectionList2);
  CopyText(out.ConnectionList3, r.connectionList3);
  out.DNDMode = r.DNDMode;
  out.ForwardType = r.forwardType;
  CopyText(out.ForwardDn, r.forwardDn);
  out.AutoAnswerMode = r.AutoAnswerMode;
  out.MicrophoneMuteMode = r.microphoneMuteMode;
  out.SpeakerMuteMode = r.speakerMuteMode;
  out.QueueData = I32(r.queueDN);
  out.queueWait = I32(r.queueWait);
  out.ReasonCode = r.reasoncode;
  out.UEILen = CopySized(out.UEI, r.uei);
  out.CILen = CopySized(out.CI, r.ci);
  out.WorkMode = r.workMode;
  out.TypeIE = r.privateType;
  if (r.eventId == kEventPrivate) CopyPrivate(r, out);
}

}  // namespace

int CopyEventRecord(const EventRecord& record, int decodeResult, EventData* out) {
  if (out == nullptr) return kZeroDevice;
  out->EventKind = kEventNone;
  if (decodeResult == kNoEvent || record.eventId == kEventNone) return kNoEvent;
  std::memset(out, 0, VOMTEL_EVENT_WRITTEN_SIZE);
  if (record.eventId == kEventServerDown) {
    out->EventKind = kEventServerDown;
    CopyTime(record.timeStamp, out->TimeStamp);
    return decodeResult;
  }
  CopyEvent(record, *out);
  return decodeResult;
}

}  // namespace vomtel
