// Exports of preview dialling, system preview and the call-back lists.
#include <vector>

#include "vomtel/api/export_guard.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/requests/service/callback_insert.h"
#include "vomtel/requests/service/campaign_lists.h"
#include "vomtel/requests/service/campaign_status.h"
#include "vomtel/requests/service/preview.h"
#include "vomtel/vomtel.h"

namespace vomtel::api {
namespace {

// The extended record's last text: read (at most 255 bytes) but not sent, since the request
// has no field for it.
constexpr std::size_t kExtraTextBound = 255;

vomtel::CallbackInsertRecord ReadCallback(const ::CallbackRecord& from) {
  vomtel::CallbackInsertRecord to;
  to.uiCmId = from.CmId;
  to.uiCmSq = from.CmSq;
  to.strCustKey = FieldText(from.CustKey);
  to.strCustName = FieldText(from.CustName);
  to.strCustKey2 = FieldText(from.CustKey2);
  to.strCustKey3 = FieldText(from.CustKey3);
  for (std::size_t i = 0; i < to.strCustChar.size(); ++i) to.strCustChar[i] = FieldText(from.CustChar[i]);
  for (std::size_t i = 0; i < to.strTelNo.size(); ++i) to.strTelNo[i] = FieldText(from.TelNo[i]);
  to.strtkdata = SizedString(FieldText(from.TkData));
  to.strMailAdd = FieldText(from.MailAdd);
  to.strSMSPhone = FieldText(from.SmsPhone);
  to.iBlackFlag = U32(from.BlackFlag);
  to.strReCallTime = FieldText(from.ReCallTime);
  to.strRecallTelNo = FieldText(from.RecallTelNo);
  to.employee_id = FieldText(from.EmployeeId);
  to.uiCallKind = from.CallKind;
  return to;
}

int InsertCallback(int gate, int requestId, const ::CallbackRecord& record,
                   ::CallbackResult* result) {
  vomtel::CallbackResult answer;
  const int code = CallbackListInsert(OrbaAdapter::Instance(), U32(requestId),
                                      ReadCallback(record), answer, gate);
  if (code == kOk && result) {
    result->CiodId = answer.ciodID;
    result->CampaignId = answer.campaignID;
    result->CampaignSeq = answer.campaignSeq;
    result->ReturnValue = static_cast<std::uint16_t>(answer.rtnvalue);
  }
  return code;
}

}  // namespace
}  // namespace vomtel::api

using namespace vomtel::api;
using vomtel::OrbaAdapter;

extern "C" {

int VOMTEL_CALL vomtelStartSystemPreview(int gate, int, uint32_t value, int number,
                                         const char* agentId) {
  return Export([&] {
    return vomtel::SystemPreview(OrbaAdapter::Instance(), value, U32(number), Text(agentId),
                                 vomtel::kStartMode, gate);
  });
}

int VOMTEL_CALL vomtelStopSystemPreview(int gate, int, uint32_t value, int number,
                                        const char* agentId) {
  return Export([&] {
    return vomtel::SystemPreview(OrbaAdapter::Instance(), value, U32(number), Text(agentId),
                                 vomtel::kStopMode, gate);
  });
}

int VOMTEL_CALL vomtelSysPreviewState(int gate, int, uint32_t value, int number,
                                      const char* agentId, int) {
  return Export([&] {
    return vomtel::SystemPreviewState(OrbaAdapter::Instance(), value, U32(number), Text(agentId),
                                      gate);
  });
}

int VOMTEL_CALL vomtelPreviewMakeCall(int gate, int, int first, int second, int third,
                                      const char* employeeId, int callKind) {
  return Export([&] {
    return vomtel::PreviewMakeCall(OrbaAdapter::Instance(), U32(first), U32(second), U32(third),
                                   Text(employeeId), U32(callKind), gate);
  });
}

int VOMTEL_CALL vomtelCallbackCampaign(int gate, int, int requestId, uint32_t* count,
                                       CallbackCampaignEntry* entries) {
  return Export([&] {
    return ListExport<vomtel::CallbackCampaignEntry>(
        entries, count, VOMTEL_CAP_AGENT_LIST,
        [&](std::vector<vomtel::CallbackCampaignEntry>& list) {
          return vomtel::CallbackCampaign(OrbaAdapter::Instance(), U32(requestId), list, gate);
        },
        [](const vomtel::CallbackCampaignEntry& from, CallbackCampaignEntry& to) {
          to.CampaignId = static_cast<std::int32_t>(from.campaignID);
          to.ServiceCode = static_cast<std::int32_t>(from.svcCode);
          to.CallbackCount = static_cast<std::int32_t>(from.cbCount);
        });
  });
}

int VOMTEL_CALL vomtelCallbackCampaignResult(int gate, int gateTo, int, int requestId, int count,
                                             const CallbackCampaignEntry* entries) {
  return Export([&]() -> int {
    // The low 16 bits of the count, taken as signed; 0 or less sends an empty list.
    const int n = static_cast<std::int16_t>(count & 0xFFFF);
    if (n > 0 && !entries) return kNullArgument;
    // Refused before the caller's array is read: it need hold no more than one request carries.
    if (n > static_cast<int>(vomtel::kMaxCallbackCampaignEntries)) return vomtel::kTooManyDevices;
    std::vector<vomtel::CallbackCampaignEntry> list;
    for (int i = 0; i < n; ++i) {
      list.push_back({U32(entries[i].CampaignId), U32(entries[i].ServiceCode),
                      U32(entries[i].CallbackCount)});
    }
    return vomtel::CallbackCampaignResult(OrbaAdapter::Instance(), U32(gateTo), U32(requestId), list,
                                          gate);
  });
}

int VOMTEL_CALL vomtelCallbackListInsert(int gate, int, int requestId,
                                         const CallbackRecord* record, CallbackResult* result) {
  return Export([&] {
    if (!record) return kNullArgument;
    return InsertCallback(gate, requestId, *record, result);
  });
}

int VOMTEL_CALL vomtelCallbackListInsertEx(int gate, int, int requestId,
                                           const CallbackRecordEx* record,
                                           CallbackResult* result) {
  return Export([&] {
    if (!record) return kNullArgument;
    [[maybe_unused]] const std::string_view extra = BoundedText(record->ExtraText, kExtraTextBound);
    return InsertCallback(gate, requestId, record->Record, result);
  });
}

}  // extern "C"
