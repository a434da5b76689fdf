// Entry points that do nothing: each keeps its prototype and runs the one body of its entry
// point, which reads no argument and returns the entry point's constant. exports.tsv names
// the entry point behind each name.
#include "vomtel/core/result_codes.h"
#include "vomtel/vomtel.h"

namespace vomtel::api {
namespace {

// Entry points that answer 1, by their argument bytes.
int ReturnsOne24() { return kOk; }
int ReturnsOne12() { return kOk; }
int ReturnsOne28() { return kOk; }
// The proxy open: no proxy is supported, so nothing is opened and no gate is written; 2018
// rather than 1, so that a caller testing for 1 does not take the gate for open.
int OpensNoProxy52() { return kDoesNothing; }
// Entry points that answer 2018, by their argument bytes.
int DoesNothing36() { return kDoesNothing; }
int DoesNothing28() { return kDoesNothing; }
int DoesNothing12() { return kDoesNothing; }
int DoesNothing16() { return kDoesNothing; }
int DoesNothing20() { return kDoesNothing; }
int DoesNothing32() { return kDoesNothing; }
int DoesNothing40() { return kDoesNothing; }
int DoesNothing24() { return kDoesNothing; }
int DoesNothing52() { return kDoesNothing; }

}  // namespace
}  // namespace vomtel::api

using namespace vomtel::api;

extern "C" {

int VOMTEL_CALL vomtelSendMsg(int, int, int, int, int, int) { return ReturnsOne24(); }
int VOMTEL_CALL vomtelSetPbxID(int, int, int) { return ReturnsOne12(); }
int VOMTEL_CALL vomtelAgentBusyGetValue(int, int, int, int, int, void*, void*) {
  return ReturnsOne28();
}
int VOMTEL_CALL vomtelAgentReadyGetValue(int, int, int, int, int, void*, void*) {
  return ReturnsOne28();
}
int VOMTEL_CALL vomtelOpenServerP(int*, int, const char*, int, const char*, const char*,
                                  const DeviceRecord*, const char*, int, const char*,
                                  const char*, int, int) {
  return OpensNoProxy52();
}
int VOMTEL_CALL vomtelOneStepTransfer(int, int, const void*, const void*, const void*,
                                      const void*, const void*, const void*, const void*) {
  return DoesNothing36();
}
int VOMTEL_CALL vomtelGetPartMaster(int, int, int, int, int, int, int, void*, void*) {
  return DoesNothing36();
}
int VOMTEL_CALL vomtelQueryAgentStatus(int, int, const void*, int, void*, void*, void*) {
  return DoesNothing28();
}
int VOMTEL_CALL vomtelAgentReadyGetExu(int, int, int, int, int, void*, void*) {
  return DoesNothing28();
}
int VOMTEL_CALL vomtelGetTenantMaster(int, int, int, int, int, void*, void*) {
  return DoesNothing28();
}
int VOMTEL_CALL vomtelCallbackListInsertResult(int, int, int, int, int, int, int) {
  return DoesNothing28();
}
int VOMTEL_CALL vomtelCurrentDN(int, int, void*) { return DoesNothing12(); }
int VOMTEL_CALL vomtelEventNotify(int, int, void*) { return DoesNothing12(); }
int VOMTEL_CALL vomtelGetEventPoll(int, void*, int) { return DoesNothing12(); }
int VOMTEL_CALL vomtelSetCounselResult(int, int, const void*) { return DoesNothing12(); }
int VOMTEL_CALL vomtelCreateCampaign(int, int, void*, const void*) { return DoesNothing16(); }
int VOMTEL_CALL vomtelErrMsg(int, int, int, void*) { return DoesNothing16(); }
int VOMTEL_CALL vomtelPreviewMakeCallResult(int, int, int, int) { return DoesNothing16(); }
int VOMTEL_CALL vomtelSendPopup(int, int, const char*, const void*) { return DoesNothing16(); }
int VOMTEL_CALL vomtelSetCounselResultResult(int, int, int, int) { return DoesNothing16(); }
int VOMTEL_CALL vomtelCreateCampaignResult(int, int, int, int, int) { return DoesNothing20(); }
int VOMTEL_CALL vomtelQueryAgentStatusExIII(int, int, const void*, int, void*) {
  return DoesNothing20();
}
int VOMTEL_CALL vomtelSendData(int, int, int, const void*, int) { return DoesNothing20(); }
int VOMTEL_CALL vomtelAgentReadyGetW(int, int, int, int, int, void*, void*, int) {
  return DoesNothing32();
}
int VOMTEL_CALL vomtelGetGroupMaster(int, int, int, int, int, int, void*, void*) {
  return DoesNothing32();
}
int VOMTEL_CALL vomtelSendWebChatMsg(int, int, const void*, const void*, const void*,
                                     const void*, int, int) {
  return DoesNothing32();
}
int VOMTEL_CALL vomtelAgentBusyGetValueII(int, int, int, int, int, int, void*, void*) {
  return DoesNothing32();
}
int VOMTEL_CALL vomtelAgentReadyGetValueII(int, int, int, int, int, int, void*, void*) {
  return DoesNothing32();
}
int VOMTEL_CALL vomtelAgentStatusGetII(int, int, int, int, int, int, int, void*, void*, int) {
  return DoesNothing40();
}
int VOMTEL_CALL vomtelGetAgentMaster(int, int, int, int, int, int, int, int, void*, void*) {
  return DoesNothing40();
}
int VOMTEL_CALL vomtelGetEmployeeMaster(int, int, int, int, int, int, int, int, void*, void*) {
  return DoesNothing40();
}
int VOMTEL_CALL vomtelNotifyRecord(int, int, int, const char*, int, const char*) {
  return DoesNothing24();
}
int VOMTEL_CALL vomtelPutTraceInfoEx(int, int, int, int, const void*, const void*, const void*,
                                     const void*, const void*, const void*, int, const void*,
                                     const void*) {
  return DoesNothing52();
}

}  // extern "C"
