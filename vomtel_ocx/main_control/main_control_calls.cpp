// Monitor, call-control and phone-feature methods: each fills the library's call records from
// its arguments and calls the export of its name.
#include <cinttypes>
#include <cstdint>
#include <string>

#include "vomcom/variant.h"
#include "vomtel/vomtel.h"
#include "vomtel_ocx/log/trace_log.h"
#include "vomtel_ocx/main_control/call_records.h"
#include "vomtel_ocx/main_control/main_control.h"
#include "vomtel_ocx/main_control/method_support.h"

namespace vomtelx {
namespace {

// The block passed where an export takes an argument that the library does not read.
struct ReservedBlock {
  std::uint8_t bytes[32] = {};
};

// The hold's reserved number and the one-step conference's reserved flag.
constexpr std::int32_t kHoldReserved = 48;
constexpr std::int32_t kOneStepConferenceReserved = 1;

struct UserData {
  UserDataBlock block{};
  UserData(std::u16string_view text) { FillUserData(block, text); }
};

}  // namespace

HRESULT Cvomtel_ocxCtrl::vomtelmonitorstart(const Args& a, VARIANT* r) {
  return Uncaught(r, [&] {
    TraceLog("vomtelMonitorStart ..........! ");
    return vomtelMonitorStart(a.I4(0), a.I4(1));
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelmonitorstop(const Args& a, VARIANT* r) {
  return Uncaught(r, [&] {
    TraceLog("vomtelMonitorStop ..........! ");
    return vomtelMonitorStop(a.I4(0), a.I4(1));
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelmakecall(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelMakeCall ..........! ");
    const ReservedBlock reserved;
    const UserData uei(TextArg(a, 7));
    const UserData ci(TextArg(a, 8));
    PrivateDataBlock priv{};
    FillPrivateData(priv, TextArg(a, 9));
    const std::string calling = NarrowArg(a, 2), called = NarrowArg(a, 3), uui = NarrowArg(a, 4),
                      account = NarrowArg(a, 5), auth = NarrowArg(a, 6);
    return vomtelMakeCall(a.I4(0), a.I4(1), calling.c_str(), called.c_str(), uui.c_str(),
                          account.c_str(), auth.c_str(), &reserved, &uei.block, &ci.block, &priv);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelanswercall(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelanswercall ..........! ");
    const ConnectionId call = MakeConnectionId(a.I4(2), TextArg(a, 3));
    const PrivateDataBlock priv{};
    return vomtelAnswerCall(a.I4(0), a.I4(1), &call, &priv);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelclearconnection(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelclearconnection ..........! ");
    const ConnectionId call = MakeConnectionId(a.I4(2), TextArg(a, 3));
    const PrivateDataBlock priv{};
    return vomtelClearConnection(a.I4(0), a.I4(1), &call, &priv);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelholdcall(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelholdcall ..........! ");
    const ConnectionId call = MakeConnectionId(a.I4(2), TextArg(a, 3));
    const PrivateDataBlock priv{};
    return vomtelHoldCall(a.I4(0), a.I4(1), &call, kHoldReserved, &priv);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelretrievecall(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    const std::int32_t callId = a.I4(2);
    TraceLog("vomtelretrievecall setting start callid : %d", callId);
    const ConnectionId call = MakeConnectionId(callId, TextArg(a, 3));
    TraceLog("vomtelretrievecall device set: %s", call.Device);
    const PrivateDataBlock priv{};
    TraceLog("vomtelretrievecall pri    set");
    TraceLog("vomtelretrievecall setting stop callid : %d", callId);
    return vomtelRetrieveCall(a.I4(0), a.I4(1), &call, &priv);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelconsultationcall(const Args& a, VARIANT* r) {
  return Caught(r, {"vomtelconsultationcall CException: ", true}, [&] {
    const std::int32_t callId = a.I4(2);
    TraceLog("vomtelconsultationcall setting start callid : %d", callId);
    const ConnectionId call = MakeConnectionId(callId, TextArg(a, 3));
    TraceLog("vomtelconsultationcall device set: %s", call.Device);
    const UserData uei(TextArg(a, 9));
    TraceLog("vomtelconsultationcall uei    set: %s", uei.block.Text);
    TraceLog("vomtelconsultationcall setting stop callid : %d", callId);
    const std::string called = NarrowArg(a, 4), uui = NarrowArg(a, 6), account = NarrowArg(a, 7),
                      auth = NarrowArg(a, 8);
    const std::int32_t callClass = a.I4(5);
    const std::int32_t zero = 0;
    // The CI and private data go to the library as null blocks.
    return vomtelConsultationCall(a.I4(0), a.I4(1), &call, called.c_str(), &callClass,
                                  uui.c_str(), account.c_str(), auth.c_str(), &zero, &uei.block,
                                  nullptr, nullptr);
  });
}

HRESULT Cvomtel_ocxCtrl::vomteltransfercall(const Args& a, VARIANT* r) {
  return Caught(r, {"vomteltransfercall CException: ", true}, [&] {
    TraceLog("vomteltransfercall Start..........! ");
    const ConnectionId held = MakeConnectionId(a.I4(2), TextArg(a, 3));
    const ConnectionId active = MakeConnectionId(a.I4(4), TextArg(a, 5));
    const ReservedBlock reserved;
    const int result =
        vomtelTransferCall(a.I4(0), a.I4(1), &held, &active, &reserved, nullptr, nullptr);
    TraceLog("vomteltransfercall End..........! ");
    return result;
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelconferencecall(const Args& a, VARIANT* r) {
  return Caught(r, {"vomtelconferencecall CException: ", true}, [&] {
    TraceLog("vomtelconferencecall Start ..........! ");
    const ConnectionId held = MakeConnectionId(a.I4(2), TextArg(a, 3));
    const ConnectionId active = MakeConnectionId(a.I4(4), TextArg(a, 5));
    TraceLog("vomtelconferencecall gate[%d]", a.I4(0));
    TraceLog("vomtelconferencecall invoke[%d]", a.I4(1));
    TraceLog("vomtelconferencecall heldCallID[%d]", held.CallId);
    TraceLog("vomtelconferencecall heldDevice[%s]", held.Device);
    TraceLog("vomtelconferencecall activeCallID[%d]", active.CallId);
    TraceLog("vomtelconferencecall activeDevice[%s]", active.Device);
    const ReservedBlock reserved;
    const int result =
        vomtelConferenceCall(a.I4(0), a.I4(1), &held, &active, &reserved, nullptr, nullptr);
    TraceLog("vomtelconferencecall End ..........! ");
    return result;
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelsinglesteptransfer(const Args& a, VARIANT* r) {
  return Caught(r, {"vomtelsinglesteptransfer CException"}, [&] {
    TraceLog("vomtelsinglesteptransfer ..........! ");
    const ConnectionId call = MakeConnectionId(a.I4(2), TextArg(a, 3));
    const UserData uei(TextArg(a, 9));
    const UserData ci(TextArg(a, 10));
    const ReservedBlock reserved;
    const std::string called = NarrowArg(a, 4), uui = NarrowArg(a, 6), account = NarrowArg(a, 7),
                      auth = NarrowArg(a, 8);
    return vomtelSingleStepTransfer(a.I4(0), a.I4(1), &call, called.c_str(), a.I4(5), &reserved,
                                    uui.c_str(), account.c_str(), auth.c_str(), &uei.block,
                                    &ci.block);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelsetfeatureagentstatus(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelsetfeatureagentstatus ..........! ");
    const std::string device = NarrowArg(a, 2), agentId = NarrowArg(a, 4),
                      agentData = NarrowArg(a, 5), agentGroup = NarrowArg(a, 6);
    return vomtelSetFeatureAgentStatus(a.I4(0), a.I4(1), device.c_str(), a.I4(3),
                                       agentId.c_str(), agentData.c_str(), agentGroup.c_str(),
                                       a.I4(7), a.I4(8), nullptr);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelsenddtmf(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelsenddtmf ..........! ");
    const ConnectionId call = MakeConnectionId(a.I4(2), TextArg(a, 3));
    const std::string digits = NarrowArg(a, 4);
    return vomtelSendDTMF(a.I4(0), a.I4(1), &call, digits.c_str(), a.I4(5), a.I4(6));
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelsetfeaturednd(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelsetfeaturednd ..........! ");
    const std::string device = NarrowArg(a, 2);
    PrivateDataBlock priv{};
    FillPrivateData(priv, TextArg(a, 4));
    return vomtelSetFeatureDND(a.I4(0), a.I4(1), device.c_str(), a.I4(3), &priv);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelonestepconference(const Args& a, VARIANT* r) {
  return Caught(r, {"vomtelonestepconference CException"}, [&] {
    TraceLog("vomtelonestepconference ..........! ");
    const ConnectionId call = MakeConnectionId(a.I4(2), TextArg(a, 3));
    const UserData uei(TextArg(a, 6));
    const UserData ci(TextArg(a, 7));
    const PrivateDataBlock priv{};
    const ReservedBlock reserved;
    const std::string called = NarrowArg(a, 4), uui = NarrowArg(a, 5);
    return vomtelOneStepConference(a.I4(0), a.I4(1), &call, called.c_str(),
                                   &kOneStepConferenceReserved, uui.c_str(), &reserved,
                                   &uei.block, &ci.block, &priv);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelreconnectcall(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelreconnectcall setting start heldcallid : %d", a.I4(2));
    const ConnectionId held = MakeConnectionId(a.I4(2), TextArg(a, 3));
    const ConnectionId active = MakeConnectionId(a.I4(4), TextArg(a, 5));
    return vomtelReconnectCall(a.I4(0), a.I4(1), &held, &active, nullptr);
  });
}

HRESULT Cvomtel_ocxCtrl::vomteluserexinfodata(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomteluserexinfodata ..........! ");
    const UserData uei(TextArg(a, 3));
    return vomtelUserExInfoData(a.I4(0), a.I4(1), a.I4(2), &uei.block);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelpwdconfirm(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelpwdconfirm ..........! ");
    const UserData uei(TextArg(a, 4));
    return vomtelPwdConfirm(a.I4(0), a.I4(1), a.I4(2), a.I4(3), &uei.block);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelsetfeatureforward(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    const std::string device = NarrowArg(a, 2), forwardDn = NarrowArg(a, 5);
    TraceLog("vomtelsetfeatureforward   ");
    TraceLog("vomtelsetfeatureforward   gate[%d]", a.I4(0));
    TraceLog("vomtelsetfeatureforward   invoke[%d]", a.I4(1));
    TraceLog("vomtelsetfeatureforward   device[%s]", device.c_str());
    TraceLog("vomtelsetfeatureforward   forwardmode[%d]", a.I4(3));
    TraceLog("vomtelsetfeatureforward   forwardon[%d]", a.I4(4));
    TraceLog("vomtelsetfeatureforward   forwarddn[%s]", forwardDn.c_str());
    return vomtelSetFeatureForward(a.I4(0), a.I4(1), device.c_str(), a.I4(3), a.I4(4),
                                   forwardDn.c_str(), nullptr);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelsetagentblockingex(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    const std::string agentId = NarrowArg(a, 2), campaignName = NarrowArg(a, 5);
    TraceLog("vomtelsetagentblockingex   ");
    TraceLog("vomtelsetagentblockingex   gate[%d]", a.I4(0));
    TraceLog("vomtelsetagentblockingex   invoke[%d]", a.I4(1));
    TraceLog("vomtelsetagentblockingex   agentid[%s]", agentId.c_str());
    TraceLog("vomtelsetagentblockingex   btime[%d]", a.I4(3));
    TraceLog("vomtelsetagentblockingex   campaignid[%d]", a.I4(4));
    TraceLog("vomtelsetagentblockingex   campaignname[%s]", campaignName.c_str());
    TraceLog("vomtelsetagentblockingex   nsource[%d]", a.I4(6));
    // The library's two answers (valid seconds, setter) are not handed to the host.
    int results[2] = {0, 0};
    return vomtelSetAgentBlockingEx(a.I4(0), a.I4(1), agentId.c_str(), a.I4(3), a.I4(4),
                                    campaignName.c_str(), a.I4(6), results);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelonesteptransfer(const Args& a, VARIANT* r) {
  return Caught(r, {"vomtelonesteptransfer CException"}, [&] {
    const std::string calling = NarrowArg(a, 3), called = NarrowArg(a, 4), uui = NarrowArg(a, 5);
    TraceLog("vomtelonesteptransfer   ");
    TraceLog("vomtelonesteptransfer   gate[%d]", a.I4(0));
    TraceLog("vomtelonesteptransfer   invoke[%d]", a.I4(1));
    TraceLog("vomtelonesteptransfer   callid[%d]", a.I4(2));
    TraceLog("vomtelonesteptransfer   callingdevice[%" PRIxPTR "]",
             reinterpret_cast<std::uintptr_t>(calling.c_str()));
    TraceLog("vomtelonesteptransfer   callingdevice[%s]", calling.c_str());
    TraceLog("vomtelonesteptransfer   calleddevice[%" PRIxPTR "]",
             reinterpret_cast<std::uintptr_t>(called.c_str()));
    TraceLog("vomtelonesteptransfer   calleddevice[%s]", called.c_str());
    const ConnectionId call = MakeConnectionId(a.I4(2), TextArg(a, 3));
    const UserData uei(TextArg(a, 6));
    const UserData ci(TextArg(a, 7));
    const ReservedBlock reserved;
    return vomtelOneStepTransfer(a.I4(0), a.I4(1), &call, called.c_str(), uui.c_str(), &reserved,
                                 &uei.block, &ci.block, nullptr);
  });
}

HRESULT Cvomtel_ocxCtrl::vomteldivertdeflect(const Args& a, VARIANT* r) {
  return Caught(r, {"vomtelDivertDeflect CException"}, [&] {
    const std::string calling = NarrowArg(a, 3), divert = NarrowArg(a, 4), uui = NarrowArg(a, 5);
    TraceLog("vomtelDivertDeflect   ");
    TraceLog("vomtelDivertDeflect   gate[%d]", a.I4(0));
    TraceLog("vomtelDivertDeflect   invoke[%d]", a.I4(1));
    TraceLog("vomtelDivertDeflect   callid[%d]", a.I4(2));
    TraceLog("vomtelDivertDeflect   callingdevice[%s]", calling.c_str());
    TraceLog("vomtelDivertDeflect   divertDn[%s]", divert.c_str());
    const ConnectionId call = MakeConnectionId(a.I4(2), TextArg(a, 3));
    const UserData uei(TextArg(a, 6));
    const UserData ci(TextArg(a, 7));
    return vomtelDivertDeflect(a.I4(0), a.I4(1), &call, divert.c_str(), uui.c_str(), &uei.block,
                               &ci.block, nullptr);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelSetFeatureMicrophoneMuteX(const Args& a, VARIANT* r) {
  return Caught(r, {"vomtelSetFeatureMicrophoneMuteX CException"}, [&] {
    TraceLog("vomtelSetFeatureMicrophoneMuteX ..........! ");
    const std::string device = NarrowArg(a, 2);
    return vomtelSetFeatureMicrophoneMute(a.I4(0), a.I4(1), device.c_str(), a.I4(3));
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelsinglestepconferencex(const Args& a, VARIANT* r) {
  return Caught(r, {"vomtelsinglestepconferencex CException"}, [&] {
    TraceLog("vomtelsinglestepconferencex ..........! ");
    const std::string calling = NarrowArg(a, 3), called = NarrowArg(a, 4), uui = NarrowArg(a, 6),
                      account = NarrowArg(a, 7), auth = NarrowArg(a, 8);
    const UserData uei(TextArg(a, 9));
    const UserData ci(TextArg(a, 10));
    const ReservedBlock reserved;
    return vomtelSingleStepConference(a.I4(0), a.I4(1), a.I4(2), calling.c_str(), called.c_str(),
                                      a.I4(5), uui.c_str(), account.c_str(), auth.c_str(),
                                      &reserved, &uei.block, &ci.block);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelSetFeatureSpeakerMuteX(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelSetFeatureSpeakerMuteX ..........! ");
    const std::string device = NarrowArg(a, 2);
    return vomtelSetFeatureSpeakerMute(a.I4(0), a.I4(1), device.c_str(), a.I4(3));
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelconferencecallX(const Args& a, VARIANT* r) {
  return Uncaught(r, [&] {
    TraceLog("vomtelconferencecallX ..........!");
    static constexpr const char* kNames[] = {"gate", "invoke", "heldCallID",
                                             "heldDevice", "activeCallID", "activeDevice"};
    for (std::size_t i = 0; i < 6; ++i) {
      TraceLog("vomtelconferencecallX ..........! %s.vt[%d]", kNames[i], a.Ref(i)->vt);
    }
    for (std::size_t i : {0, 1, 2, 4}) {
      TraceLog("vomtelconferencecallX ..........! %s[%d]", kNames[i],
               vomcom::Variant(*a.Ref(i)).ToI4(0));
    }
    for (std::size_t i : {3, 5}) {
      const VARIANT* v = a.Ref(i);
      BSTR text = nullptr;
      if (v->vt == VT_BSTR) text = v->bstrVal;
      else if (v->vt == (VT_BSTR | VT_BYREF) && v->pbstrVal != nullptr) text = *v->pbstrVal;
      else continue;
      const std::string narrow = NarrowCut({text ? text : u"", SysStringLen(text)}, 1024);
      TraceLog("vomtelconferencecallX ..........! %s.vt[%s]", kNames[i], narrow.c_str());
    }
    return 0;
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelsinglestepconference(const Args&, VARIANT* r) {
  return ReturnLong(r, 0);
}

HRESULT Cvomtel_ocxCtrl::TestFuncTion1(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("TestFuncTion11 ..........! id[%d] ", a.I4(0));
    return 1;
  });
}

}  // namespace vomtelx
