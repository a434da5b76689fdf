// Agent, IVR, campaign and service methods. Several build their records from the control's
// properties (the call-back customer, the campaign) or from their arguments (the campaign list
// handle, the black-list customer, the counsel result).
#include <cstdint>
#include <string>

#include "vomtel/vomtel.h"
#include "vomtel_ocx/log/trace_log.h"
#include "vomtel_ocx/main_control/call_records.h"
#include "vomtel_ocx/main_control/main_control.h"
#include "vomtel_ocx/main_control/main_control_events.h"
#include "vomtel_ocx/main_control/method_support.h"
#include "vomtel_ocx/main_control/outbound_records.h"

namespace vomtelx {
namespace {

// The two numbers of one vomtelWaitTimeGet, or zeros when it failed.
struct WaitTimes {
  int first = 0;
  int second = 0;
};

WaitTimes QueryWaitTimes(const vomcom::Args& a) {
  WaitTimes t;
  const std::string queue = NarrowArg(a, 3);
  if (vomtelWaitTimeGet(a.I4(0), a.I4(1), a.I4(2), queue.c_str(), &t.first, &t.second) !=
      VOMTEL_OK) {
    return {};
  }
  return t;
}

}  // namespace

HRESULT Cvomtel_ocxCtrl::vomtelWaitTimeGetX(const Args& a, VARIANT* r) {
  return Uncaught(r, [&] { return QueryWaitTimes(a).first; });
}

HRESULT Cvomtel_ocxCtrl::vomtelWaitCountGetX(const Args& a, VARIANT* r) {
  return Uncaught(r, [&] { return QueryWaitTimes(a).second; });
}

HRESULT Cvomtel_ocxCtrl::vomtelobSetCampaignListHandle(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelobSetCampaignListHandle ..........! ");
    const std::int16_t invoke = a.I2(1);
    // The ciodID argument (2) is not used: the record carries the constant 1 there.
    const CampaignListHandleRecord record = MakeListHandleRecord(
        {a.I4(0), invoke, a.I4(3), a.I4(4), TextArg(a, 5), a.I4(6), TextArg(a, 7), a.I4(8)});
    return vomtelSetCampaignListHandle(a.I4(0), invoke, &record);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelobCallbackListInsert(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelobCallbackListInsert ..........! ");
    const CallbackRecord record = MakeCallbackRecord(props_);
    CallbackResult answer{};
    const int result = vomtelCallbackListInsert(a.I4(0), a.I2(1), a.I4(2), &record, &answer);
    if (result != VOMTEL_OK) return result;
    Fire(kEventCallbackListInsert,
         {static_cast<std::int32_t>(answer.CiodId), static_cast<std::int32_t>(answer.CampaignId),
          static_cast<std::int32_t>(answer.CampaignSeq),
          static_cast<std::int16_t>(answer.ReturnValue)});
    return 0;
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelobBlackListInsert(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelobBlackListInsert ..........! ");
    const BlackListRecord record = MakeBlackListRecord(
        a.I4(3), {TextArg(a, 4), TextArg(a, 5), TextArg(a, 6), TextArg(a, 7), TextArg(a, 8)});
    return vomtelBlackListInsert(a.I4(0), a.I2(1), a.I4(2), &record);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelIvrRegisterCall(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelIvrRegisterCall ..........! ");
    const std::string text1 = NarrowArg(a, 4), text2 = NarrowArg(a, 5);
    UserDataBlock uei{};
    FillUserData(uei, TextArg(a, 6));
    return vomtelIVRRegisterCall(a.I4(0), a.I4(1), a.I4(2), a.I4(3), text1.c_str(),
                                 text2.c_str(), &uei, a.I4(7));
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelIvrReleaseCall(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelIvrReleaseCall ..........! ");
    const std::string dn = NarrowArg(a, 4), target = NarrowArg(a, 5);
    return vomtelIVRReleaseCall(a.I4(0), a.I4(1), a.I4(2), a.I4(3), dn.c_str(), target.c_str());
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelCreateCampaignExX(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelCreateCampaignExX ..........! ");
    if (NarrowText(props_.ucCampPhoneOrder).size() > kCampaignPhoneOrderMax ||
        NarrowText(props_.ucUserOption).size() > kCampaignUserOptionMax) {
      return VOMTEL_NULL_ARGUMENT;
    }
    const CampaignRecord campaign = MakeCampaignRecord(props_);
    std::uint32_t campaignId = 0;
    // The cpid argument (2) is not used: the campaign comes from the properties.
    const int result = vomtelCreateCampaignEx(a.I4(0), a.I4(1), &campaignId, &campaign);
    if (result == VOMTEL_OK) Fire(kEventCreateCampaign, {static_cast<std::int32_t>(campaignId)});
    return result;
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelDestoryCampaignX(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelDestoryCampaignX ..........! ");
    return vomtelDestoryCampaign(a.I4(0), a.I4(1), a.I4(2), a.I4(3), a.I4(4));
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelStartCampaignX(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelStartCampaignX ..........! ");
    return vomtelStartCampaign(a.I4(0), a.I4(1), a.I4(2), a.I4(3));
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelStopCampaignX(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelStopCampaignX ..........! ");
    return vomtelStopCampaign(a.I4(0), a.I4(1), a.I4(2), a.I4(3));
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelStartSystemPreviewX(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelStartSystemPreviewX ..........! ");
    const std::string agentId = NarrowArg(a, 4);
    return vomtelStartSystemPreview(a.I4(0), a.I4(1), static_cast<std::uint32_t>(a.I4(2)),
                                    a.I4(3), agentId.c_str());
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelStopSystemPreviewX(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelStopSystemPreviewX ..........! ");
    const std::string agentId = NarrowArg(a, 4);
    return vomtelStopSystemPreview(a.I4(0), a.I4(1), static_cast<std::uint32_t>(a.I4(2)),
                                   a.I4(3), agentId.c_str());
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelSetCounselResultX(const Args& a, VARIANT* r) {
  return Caught(r, {"vomtelSetCounselResult CException"}, [&] {
    TraceLog("vomtelSetCounselResult ..........! ");
    const std::int16_t invoke = a.I2(1);
    const CounselResultRecord record = MakeCounselResultRecord(
        {a.I4(0), invoke, a.I4(2), a.I4(3), a.I4(4), a.I4(5), a.I4(6), TextArg(a, 7), a.I4(8),
         a.I4(9), TextArg(a, 10), TextArg(a, 11), TextArg(a, 12), a.I4(13)});
    return vomtelSetCounselResult(a.I4(0), invoke, &record);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelSetAgentFlagX(const Args& a, VARIANT* r) {
  return Caught(r, {"vomtelSetAgentFlagX CException"}, [&] {
    TraceLog("vomtelSetAgentFlagX ..........! ");
    const std::string agentId = NarrowArg(a, 2);
    return vomtelSetAgentFlag(a.I4(0), a.I4(1), agentId.c_str(), a.I4(3));
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelSetIniX(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelSetIniX ..........! ");
    const std::string folder = NarrowArg(a, 1);
    return vomtelSetIni(a.I4(0), folder.c_str());
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelPutCounselInfoX(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelPutCounselInfoX ..........! ");
    const std::string cnid = NarrowArg(a, 2), tag = NarrowArg(a, 4);
    UserDataBlock attachment{};
    FillUserData(attachment, TextArg(a, 5));
    return vomtelPutCounselInfo(a.I4(0), a.I4(1), cnid.c_str(), a.I4(3), tag.c_str(),
                                &attachment);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelcallinglistservice(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelCallingListService ..........! ");
    return vomtelCallingListService(a.I4(0), a.I4(1), a.I4(2), a.I4(3), a.I4(4), a.I4(5),
                                    a.I4(6));
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelnotifyrecord(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelnotifyrecord ..........! ");
    const std::string device = NarrowArg(a, 3), code = NarrowArg(a, 5);
    return vomtelNotifyRecord(a.I4(0), a.I4(1), a.I4(2), device.c_str(), a.I4(4), code.c_str());
  });
}

}  // namespace vomtelx
