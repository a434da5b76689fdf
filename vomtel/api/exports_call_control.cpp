// Exports of call control: answer, clear, hold, retrieve, alternate, reconnect, conference,
// transfer, consultation, the make-call family, single-step and one-step requests, divert,
// DTMF and the call's user data.
#include "vomtel/api/export_guard.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/requests/call/answer_clear_hold.h"
#include "vomtel/requests/call/consultation_transfer.h"
#include "vomtel/requests/call/divert.h"
#include "vomtel/requests/call/make_call.h"
#include "vomtel/requests/call/one_step_conference.h"
#include "vomtel/requests/call/phone_features.h"
#include "vomtel/requests/call/single_step.h"
#include "vomtel/requests/service/data_queries.h"
#include "vomtel/vomtel.h"

namespace vomtel::api {
namespace {

std::string_view Device(const ConnectionId& call) { return FieldText(call.Device); }
std::uint32_t CallId(const ConnectionId& call) { return U32(call.CallId); }

using OneCall = int (*)(OrbaAdapter&, std::string_view, std::uint32_t, int);
using TwoCalls = int (*)(OrbaAdapter&, std::string_view, std::uint32_t, std::string_view,
                         std::uint32_t, int);
using Dial = int (*)(OrbaAdapter&, std::string_view, std::string_view, std::string_view,
                     std::string_view, std::string_view, std::string_view, std::string_view, int);
using Divert = int (*)(OrbaAdapter&, std::string_view, std::uint32_t, std::string_view,
                       std::string_view, std::string_view, std::string_view, int);

int OnCall(OneCall operation, int gate, const ConnectionId* call) {
  return Export([&] {
    if (!call) return kNullArgument;
    return operation(OrbaAdapter::Instance(), Device(*call), CallId(*call), gate);
  });
}

int OnTwoCalls(TwoCalls operation, int gate, const ConnectionId* held,
               const ConnectionId* active) {
  return Export([&] {
    if (!held || !active) return kNullArgument;
    return operation(OrbaAdapter::Instance(), Device(*held), CallId(*held), Device(*active),
                     CallId(*active), gate);
  });
}

int Dialled(Dial operation, int gate, const char* callingDn, const char* calledDn,
            const char* uui, const char* accountCode, const char* authCode,
            const UserDataBlock* uei, const UserDataBlock* ci) {
  return Export([&] {
    return operation(OrbaAdapter::Instance(), Text(callingDn), Text(calledDn), Text(uui),
                     Text(accountCode), Text(authCode), BlockText(uei), BlockText(ci), gate);
  });
}

int Diverted(Divert operation, int gate, const ConnectionId* call, const char* divertDn,
             const char* uui, const UserDataBlock* uei, const UserDataBlock* ci) {
  return Export([&] {
    if (!call) return kNullArgument;
    return operation(OrbaAdapter::Instance(), Device(*call), CallId(*call), Text(divertDn),
                     Text(uui), BlockText(uei), BlockText(ci), gate);
  });
}

int Conference(OrbaAdapter& adapter, std::string_view heldDn, std::uint32_t heldCall,
               std::string_view activeDn, std::uint32_t activeCall, int gate) {
  return ConferenceCall(adapter, heldDn, heldCall, activeDn, activeCall, gate);
}

}  // namespace
}  // namespace vomtel::api

using namespace vomtel::api;
using vomtel::OrbaAdapter;

extern "C" {

int VOMTEL_CALL vomtelAnswerCall(int gate, int, const ConnectionId* call,
                                 const PrivateDataBlock*) {
  return OnCall(vomtel::AnswerCall, gate, call);
}

int VOMTEL_CALL vomtelClearConnection(int gate, int, const ConnectionId* call,
                                      const PrivateDataBlock*) {
  return OnCall(vomtel::ClearConnectionCall, gate, call);
}

int VOMTEL_CALL vomtelHoldCall(int gate, int, const ConnectionId* call, int,
                               const PrivateDataBlock*) {
  return OnCall(vomtel::HoldCall, gate, call);
}

int VOMTEL_CALL vomtelRetrieveCall(int gate, int, const ConnectionId* call,
                                   const PrivateDataBlock*) {
  return OnCall(vomtel::RetrieveCall, gate, call);
}

int VOMTEL_CALL vomtelAlternateCall(int gate, int, const ConnectionId* held,
                                    const ConnectionId* active, const PrivateDataBlock*) {
  return OnTwoCalls(vomtel::AlternateCall, gate, held, active);
}

int VOMTEL_CALL vomtelReconnectCall(int gate, int, const ConnectionId* held,
                                    const ConnectionId* active, const PrivateDataBlock*) {
  return OnTwoCalls(vomtel::ReconnectCall, gate, held, active);
}

int VOMTEL_CALL vomtelConferenceCall(int gate, int, const ConnectionId* held,
                                     const ConnectionId* active, const void*, const void*,
                                     const void*) {
  return OnTwoCalls(Conference, gate, held, active);
}

int VOMTEL_CALL vomtelTransferCall(int gate, int, const ConnectionId* held,
                                   const ConnectionId* active, const void*, const void*,
                                   const void*) {
  return OnTwoCalls(vomtel::TransferCall, gate, held, active);
}

int VOMTEL_CALL vomtelConsultationCall(int gate, int, const ConnectionId* held,
                                       const char* calledDn, const void*, const char* uui,
                                       const char* accountCode, const char* authCode,
                                       const void*, const UserDataBlock* uei,
                                       const UserDataBlock* ci, const PrivateDataBlock*) {
  return Export([&] {
    if (!held) return kNullArgument;
    return vomtel::ConsultationCall(OrbaAdapter::Instance(), FieldText(held->Device),
                                    U32(held->CallId), Text(calledDn), Text(uui),
                                    Text(accountCode), Text(authCode), BlockText(uei),
                                    BlockText(ci), gate);
  });
}

int VOMTEL_CALL vomtelMakeCall(int gate, int, const char* callingDn, const char* calledDn,
                               const char* uui, const char* accountCode, const char* authCode,
                               const void*, const UserDataBlock* uei, const UserDataBlock* ci,
                               const PrivateDataBlock*) {
  return Dialled(vomtel::MakeCall, gate, callingDn, calledDn, uui, accountCode, authCode, uei, ci);
}

int VOMTEL_CALL vomtelObservationCall(int gate, int, const char* callingDn, const char* calledDn,
                                      const char* uui, const char* accountCode,
                                      const char* authCode, const void*,
                                      const UserDataBlock* uei, const UserDataBlock* ci,
                                      const PrivateDataBlock*) {
  return Dialled(vomtel::ObservationCall, gate, callingDn, calledDn, uui, accountCode, authCode,
                 uei, ci);
}

int VOMTEL_CALL vomtelObservationTalkCall(int gate, int, const char* callingDn,
                                          const char* calledDn, const char* uui,
                                          const char* accountCode, const char* authCode,
                                          const void*, const UserDataBlock* uei,
                                          const UserDataBlock* ci, const PrivateDataBlock*) {
  return Dialled(vomtel::ObservationTalkCall, gate, callingDn, calledDn, uui, accountCode,
                 authCode, uei, ci);
}

int VOMTEL_CALL vomtelWhisperCall(int gate, int, const char* callingDn, const char* calledDn,
                                  const char* uui, const char* accountCode, const char* authCode,
                                  const void*, const UserDataBlock* uei, const UserDataBlock* ci,
                                  const PrivateDataBlock*) {
  return Dialled(vomtel::WhisperCall, gate, callingDn, calledDn, uui, accountCode, authCode, uei,
                 ci);
}

int VOMTEL_CALL vomtelSingleStepTransfer(int gate, int, const ConnectionId* call,
                                         const char* calledDn, int mode, const void*,
                                         const char* uui, const void*, const void*,
                                         const UserDataBlock* uei, const UserDataBlock* ci) {
  return Export([&] {
    if (!call) return kNullArgument;
    return vomtel::SingleStepTransfer(OrbaAdapter::Instance(), FieldText(call->Device),
                                      Text(calledDn), U32(call->CallId), mode, Text(uui),
                                      BlockText(uei), BlockText(ci), gate);
  });
}

int VOMTEL_CALL vomtelSingleStepConference(int gate, int, int callId, const char* callingDn,
                                           const char* calledDn, int mode, const char* uui,
                                           const char*, const char*, const void*,
                                           const UserDataBlock* uei, const UserDataBlock* ci) {
  return Export([&] {
    return vomtel::SingleStepConference(OrbaAdapter::Instance(), Text(callingDn), Text(calledDn),
                                        U32(callId), mode, Text(uui), BlockText(uei),
                                        BlockText(ci), gate);
  });
}

int VOMTEL_CALL vomtelOneStepConference(int gate, int, const ConnectionId* held,
                                        const char* calledDn, const void*, const char* uui,
                                        const void*, const UserDataBlock* uei,
                                        const UserDataBlock* ci, const PrivateDataBlock*) {
  return Export([&] {
    if (!held) return kNullArgument;
    return vomtel::OneStepConference(OrbaAdapter::Instance(), FieldText(held->Device),
                                     U32(held->CallId), Text(calledDn), Text(uui),
                                     BlockText(uei), BlockText(ci), gate);
  });
}

int VOMTEL_CALL vomtelDivertDeflect(int gate, int, const ConnectionId* call, const char* divertDn,
                                    const char* uui, const UserDataBlock* uei,
                                    const UserDataBlock* ci, const PrivateDataBlock*) {
  return Diverted(vomtel::DivertDeflect, gate, call, divertDn, uui, uei, ci);
}

int VOMTEL_CALL vomtelDivertDirect(int gate, int, const ConnectionId* call, const char* divertDn,
                                   const char* uui, const UserDataBlock* uei,
                                   const UserDataBlock* ci, const PrivateDataBlock*) {
  return Diverted(vomtel::DivertDirect, gate, call, divertDn, uui, uei, ci);
}

int VOMTEL_CALL vomtelSendDTMF(int gate, int, const ConnectionId* call, const char* digits,
                               int toneDuration, int pauseDuration) {
  return Export([&] {
    if (!call) return kNullArgument;
    return vomtel::SendDTMF(OrbaAdapter::Instance(), FieldText(call->Device), U32(call->CallId),
                            Text(digits), toneDuration, pauseDuration, gate);
  });
}

int VOMTEL_CALL vomtelCallToCNID(int gate, int, int first, int second, int* result) {
  return Export([&] {
    if (!result) return kNullArgument;
    // The operation writes the number whenever a reply carried it.
    std::uint32_t cnid = U32(*result);
    const int code = vomtel::CallToCNID(OrbaAdapter::Instance(), first, second, cnid, gate);
    *result = static_cast<int>(cnid);
    return code;
  });
}

int VOMTEL_CALL vomtelUserExInfoData(int gate, int, int callId, const UserDataBlock* uei) {
  return Export([&] {
    if (!uei) return kNullArgument;
    return vomtel::UserExInfo(OrbaAdapter::Instance(), callId, BlockText(uei), gate);
  });
}

}  // extern "C"
