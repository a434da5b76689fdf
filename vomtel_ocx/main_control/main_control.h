// Cvomtel_ocxCtrl, the main control: the library's C interface made callable through IDispatch.
//
// Its properties keep the connection settings and the input records of the request methods
// (main_control_properties.h); each request method logs its label line, fills the library's
// records from its arguments, calls one export and hands back the export's result; each query
// method fires one event per entry of the library's answer, inside the call, before it returns.
// Everything runs on the host's apartment thread; the records are locals of each call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "vomcom/control_base.h"
#include "vomcom/dispatch_table.h"
#include "vomcom/variant.h"
#include "vomtel/vomtel.h"
#include "vomtel_ocx/main_control/main_control_properties.h"

namespace vomtelx {

class Cvomtel_ocxCtrl : public vomcom::ControlBase<Cvomtel_ocxCtrl> {
 public:
  static constexpr std::size_t kMemberCount = 208;
  static constexpr std::size_t kEventCount = 27;
  static const vomcom::Member<Cvomtel_ocxCtrl> kMembers[kMemberCount];
  static const vomcom::EventMember kEvents[kEventCount];
  static const vomcom::ControlClass kClass;

  Cvomtel_ocxCtrl();

  // The property exchange of a load, a save or a reset (InitNew).
  void DoPropExchange(vomcom::PropExchange& px);

  const MainControlProperties& Properties() const { return props_; }

  // ---- Properties ------------------------------------------------------------------------
  template <std::u16string MainControlProperties::*F>
  HRESULT GetText(VARIANT* result);
  template <std::u16string MainControlProperties::*F>
  HRESULT PutText(const VARIANT& value);
  template <std::int32_t MainControlProperties::*F>
  HRESULT GetLong(VARIANT* result);
  template <std::int32_t MainControlProperties::*F>
  HRESULT PutLong(const VARIANT& value);
  HRESULT GetLogTrace(VARIANT* result);
  HRESULT PutLogTrace(const VARIANT& value);
  HRESULT PutLogPath(const VARIANT& value);

  // ---- Methods (one handler each, named as the member) ---------------------------------
  using Args = vomcom::Args;
  // Server connection (main_control_connection.cpp).
  HRESULT vomtelopenserver(const Args& a, VARIANT* r);
  HRESULT vomtelopenserverX(const Args& a, VARIANT* r);
  HRESULT vomtelOpenServerHAX(const Args& a, VARIANT* r);
  HRESULT vomtelCloseServerX(const Args& a, VARIANT* r);
  HRESULT vomtelcloseserver(const Args& a, VARIANT* r);
  HRESULT SetServerNameHA(const Args& a, VARIANT* r);
  HRESULT vomteladddevice(const Args& a, VARIANT* r);
  HRESULT AboutBox(const Args& a, VARIANT* r);
  // Calls and phone features (main_control_calls.cpp).
  HRESULT vomtelmonitorstart(const Args& a, VARIANT* r);
  HRESULT vomtelmonitorstop(const Args& a, VARIANT* r);
  HRESULT vomtelmakecall(const Args& a, VARIANT* r);
  HRESULT vomtelanswercall(const Args& a, VARIANT* r);
  HRESULT vomtelclearconnection(const Args& a, VARIANT* r);
  HRESULT vomtelholdcall(const Args& a, VARIANT* r);
  HRESULT vomtelretrievecall(const Args& a, VARIANT* r);
  HRESULT vomtelconsultationcall(const Args& a, VARIANT* r);
  HRESULT vomteltransfercall(const Args& a, VARIANT* r);
  HRESULT vomtelconferencecall(const Args& a, VARIANT* r);
  HRESULT vomtelsinglesteptransfer(const Args& a, VARIANT* r);
  HRESULT vomtelsetfeatureagentstatus(const Args& a, VARIANT* r);
  HRESULT vomtelsenddtmf(const Args& a, VARIANT* r);
  HRESULT vomtelsetfeaturednd(const Args& a, VARIANT* r);
  HRESULT vomtelonestepconference(const Args& a, VARIANT* r);
  HRESULT vomtelreconnectcall(const Args& a, VARIANT* r);
  HRESULT vomteluserexinfodata(const Args& a, VARIANT* r);
  HRESULT vomtelpwdconfirm(const Args& a, VARIANT* r);
  HRESULT vomtelsetfeatureforward(const Args& a, VARIANT* r);
  HRESULT vomtelsetagentblockingex(const Args& a, VARIANT* r);
  HRESULT vomtelonesteptransfer(const Args& a, VARIANT* r);
  HRESULT vomteldivertdeflect(const Args& a, VARIANT* r);
  HRESULT vomtelSetFeatureMicrophoneMuteX(const Args& a, VARIANT* r);
  HRESULT vomtelsinglestepconferencex(const Args& a, VARIANT* r);
  HRESULT vomtelSetFeatureSpeakerMuteX(const Args& a, VARIANT* r);
  HRESULT vomtelconferencecallX(const Args& a, VARIANT* r);
  HRESULT vomtelsinglestepconference(const Args& a, VARIANT* r);
  HRESULT TestFuncTion1(const Args& a, VARIANT* r);
  // Agent, IVR, campaign and service requests (main_control_services.cpp).
  HRESULT vomtelWaitTimeGetX(const Args& a, VARIANT* r);
  HRESULT vomtelWaitCountGetX(const Args& a, VARIANT* r);
  HRESULT vomtelobSetCampaignListHandle(const Args& a, VARIANT* r);
  HRESULT vomtelobCallbackListInsert(const Args& a, VARIANT* r);
  HRESULT vomtelobBlackListInsert(const Args& a, VARIANT* r);
  HRESULT vomtelIvrRegisterCall(const Args& a, VARIANT* r);
  HRESULT vomtelIvrReleaseCall(const Args& a, VARIANT* r);
  HRESULT vomtelCreateCampaignExX(const Args& a, VARIANT* r);
  HRESULT vomtelDestoryCampaignX(const Args& a, VARIANT* r);
  HRESULT vomtelStartCampaignX(const Args& a, VARIANT* r);
  HRESULT vomtelStopCampaignX(const Args& a, VARIANT* r);
  HRESULT vomtelStartSystemPreviewX(const Args& a, VARIANT* r);
  HRESULT vomtelStopSystemPreviewX(const Args& a, VARIANT* r);
  HRESULT vomtelSetCounselResultX(const Args& a, VARIANT* r);
  HRESULT vomtelSetAgentFlagX(const Args& a, VARIANT* r);
  HRESULT vomtelSetIniX(const Args& a, VARIANT* r);
  HRESULT vomtelPutCounselInfoX(const Args& a, VARIANT* r);
  HRESULT vomtelcallinglistservice(const Args& a, VARIANT* r);
  HRESULT vomtelnotifyrecord(const Args& a, VARIANT* r);
  // Outbound forwarders (main_control_forwarders.cpp).
  HRESULT vomtelGetMaxCPSQResultX(const Args& a, VARIANT* r);
  HRESULT vomtelBlackListInsertX(const Args& a, VARIANT* r);
  HRESULT vomtelBlackListInsertResultX(const Args& a, VARIANT* r);
  HRESULT vomtelSetCampaignListHandleX(const Args& a, VARIANT* r);
  HRESULT vomtelSetCampaignListHandleResulX(const Args& a, VARIANT* r);
  HRESULT vomtelCallbackCampaignX(const Args& a, VARIANT* r);
  HRESULT vomtelCallbackCampaignResultX(const Args& a, VARIANT* r);
  HRESULT vomtelCallbackListInsertX(const Args& a, VARIANT* r);
  HRESULT vomtelCallbackListInsertResultX(const Args& a, VARIANT* r);
  HRESULT vomtelSetCounselResultResultX(const Args& a, VARIANT* r);
  HRESULT vomtelCreateCampaignX(const Args& a, VARIANT* r);
  HRESULT vomtelPreviewMakeCallResultX(const Args& a, VARIANT* r);
  HRESULT vomtelSendPopupX(const Args& a, VARIANT* r);
  HRESULT vomtelPreviewMakeCallX(const Args& a, VARIANT* r);
  // Queries and their result events (main_control_queries.cpp, main_control_lists.cpp).
  HRESULT vomtelGetMaxCPSQX(const Args& a, VARIANT* r);
  HRESULT vomtelagentreadyget(const Args& a, VARIANT* r);
  HRESULT vomtelagentreadygetex(const Args& a, VARIANT* r);
  HRESULT vomtelagentreadygetexu(const Args& a, VARIANT* r);
  HRESULT vomtelAgentReadyGetIIX(const Args& a, VARIANT* r);
  HRESULT vomtelGetSkillMasterX(const Args& a, VARIANT* r);
  HRESULT vomtelAgentGetBySkillX(const Args& a, VARIANT* r);
  HRESULT vomtelQueryAgentStatusX(const Args& a, VARIANT* r);
  HRESULT vomtelCallToCNIDX(const Args& a, VARIANT* r);
  HRESULT vomtelwaitingcalltimeperiod(const Args& a, VARIANT* r);
  HRESULT vomtelwaitingcallListofque(const Args& a, VARIANT* r);
  HRESULT vomtelagentStatusGet(const Args& a, VARIANT* r);
  HRESULT vomtelAgentStatusGetX(const Args& a, VARIANT* r);
  HRESULT vomtelAgentStatusGetIIX(const Args& a, VARIANT* r);
  HRESULT vomtelobCallbackCampaign(const Args& a, VARIANT* r);
  HRESULT vomtelmultiagentget(const Args& a, VARIANT* r);
  HRESULT vomtelSysPreviewStateX(const Args& a, VARIANT* r);
  HRESULT vomtelAgentSkillGetX(const Args& a, VARIANT* r);
  HRESULT vomtelAgentBusyGetIIX(const Args& a, VARIANT* r);
  HRESULT vomtelGetUEIDataX(const Args& a, VARIANT* r);
  HRESULT vomtelgetagentex(const Args& a, VARIANT* r);

  // Events shared by several queries.
  void FireReadyAgentEx(const AgentReadyExEntry& e);
  void FireAgentStatus(const AgentStatusEntry& e);

 protected:
  void OnDraw(const VcSurface& surface) override;
  SIZEL AdjustExtent(const SIZEL& requested) override;

 private:
  // Event firing with the parameters in declaration order.
  void Fire(DISPID event, std::initializer_list<vomcom::Variant> params);
  void MarkModified();

  MainControlProperties props_;
};

// ---- Property templates -------------------------------------------------------------------

template <std::u16string MainControlProperties::*F>
HRESULT Cvomtel_ocxCtrl::GetText(VARIANT* result) {
  if (result == nullptr) return S_OK;
  const std::u16string& text = props_.*F;
  BSTR copy = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (copy == nullptr) return E_OUTOFMEMORY;
  result->vt = VT_BSTR;
  result->bstrVal = copy;
  return S_OK;
}

template <std::u16string MainControlProperties::*F>
HRESULT Cvomtel_ocxCtrl::PutText(const VARIANT& value) {
  props_.*F = std::u16string(value.bstrVal ? value.bstrVal : u"", SysStringLen(value.bstrVal));
  MarkModified();
  return S_OK;
}

template <std::int32_t MainControlProperties::*F>
HRESULT Cvomtel_ocxCtrl::GetLong(VARIANT* result) {
  if (result == nullptr) return S_OK;
  result->vt = VT_I4;
  result->lVal = props_.*F;
  return S_OK;
}

template <std::int32_t MainControlProperties::*F>
HRESULT Cvomtel_ocxCtrl::PutLong(const VARIANT& value) {
  props_.*F = value.lVal;
  MarkModified();
  return S_OK;
}

}  // namespace vomtelx
