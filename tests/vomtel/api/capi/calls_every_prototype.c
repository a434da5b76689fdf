/* Calls every function of the public header from C11 on a gate that has no session: each
 * request function answers 3007 without a server, the null checks 3009, the do-nothing names
 * their constants. Exits 0 when every call gave what it should. */
#include <stdio.h>
#include <string.h>

#include "vomtel/vomtel.h"

static int failures = 0;

static void Expect(const char* name, int got, int want) {
  if (got != want) {
    fprintf(stderr, "%s: got %d, want %d\n", name, got, want);
    ++failures;
  }
}

#define EXPECT(want, call) Expect(#call, (call), (want))

enum { kGate = 77, kInvoke = 5, kNoSession = VOMTEL_NO_SESSION, kNull = VOMTEL_NULL_ARGUMENT };

int main(void) {
  static DeviceRecord device;
  static ConnectionId call;
  static UserDataBlock block;
  static UserDataBlock block2;
  static PrivateDataBlock priv;
  static BlackListRecord black;
  static CampaignListHandleRecord handle;
  static CallbackCampaignEntry campaigns[4];
  static CallbackRecordEx callback;
  static CallbackResult callbackResult;
  static CampaignRecord campaign;
  static AgentReadyEntry ready[4];
  static AgentReadyExEntry readyEx[4];
  static AgentStatusEntry status[4];
  static MultiAgentEntry multi[4];
  static SkillAgentEntry skill[4];
  static SkillCountEntry skillCount[4];
  static SkillMasterEntry master[4];
  static CallLoadEntry load[4];
  static WaitingPeriodEntry period[4];
  static WaitingCallEntry waiting[4];
  static AgentExEntry agents[2];
  static EventData event;
  static char text[1025];
  uint32_t count = 0;
  uint32_t devices[2] = {3001, 3002};
  int number = 0, a = 0, b = 0, c = 0, d = 0, e = 0, results[2] = {0, 0};
  float rate = 0;
  int gate = -1;

  strcpy(device.Device, "3001");
  strcpy(call.Device, "3001");
  call.CallId = 9;

  /* Server, monitor, devices and settings. */
  EXPECT(VOMTEL_NOT_CONNECTED, vomtelOpenServer(&gate, kInvoke, &device, "127.0.0.1", 1, "TCPIP",
                                                "capi", 1, 0));
  EXPECT(1, gate >= 0);
  EXPECT(1, vomtelCloseServer(gate, kInvoke));
  EXPECT(kNull, vomtelOpenServer(&gate, kInvoke, NULL, "127.0.0.1", 1, "TCPIP", "capi", 1, 0));
  EXPECT(kNull, vomtelOpenServerHA(&gate, kInvoke, NULL, "127.0.0.1", "127.0.0.1", 1, "TCPIP",
                                   "capi", 1, 0));
  EXPECT(1, vomtelCloseServer(kGate, kInvoke));
  EXPECT(1, vomtelCloseServerHA(kGate, kInvoke));
  EXPECT(1, vomtelCloseServer(-1, kInvoke));
  EXPECT(kNoSession, vomtelMonitorStart(kGate, kInvoke));
  EXPECT(kNoSession, vomtelMonitorStop(kGate, kInvoke));
  EXPECT(kNoSession, vomtelGetMonitor(kGate, kInvoke, &number));
  EXPECT(kNull, vomtelGetMonitor(kGate, kInvoke, NULL));
  EXPECT(kNoSession, vomtelAddDevice(kGate, kInvoke, &device));
  EXPECT(kNull, vomtelAddDevice(kGate, kInvoke, NULL));
  EXPECT(kNoSession, vomtelMultiAddDevice(kGate, kInvoke, &device, 2, devices));
  EXPECT(VOMTEL_TOO_MANY_DEVICES, vomtelMultiAddDevice(kGate, kInvoke, &device, 2001, devices));
  EXPECT(VOMTEL_TOO_MANY_DEVICES, vomtelMultiAddDevice(kGate, kInvoke, &device, -1, devices));
  EXPECT(kNull, vomtelMultiAddDevice(kGate, kInvoke, &device, 2, NULL));
  EXPECT(kNoSession, vomtelRemoveDevice(kGate, kInvoke, "3001"));
  EXPECT(0, vomtelSetIni(2, NULL));
  EXPECT(1, vomtelSetLogLevel(7));
  EXPECT(0, vomtelSetLogPath("."));
  number = 55;
  EXPECT(1, vomtelGetOrbaVersion(kGate, &number));
  EXPECT(0, number);
  EXPECT(kNull, vomtelGetOrbaVersion(kGate, NULL));
  EXPECT(kNull, vomtelGetEvent(kGate, NULL, 0));
  memset(&event, 0, sizeof event);
  {
    /* A gate without sessions reads as lost: the server-down event, or nothing. */
    const int got = vomtelGetEvent(kGate, &event, 0);
    EXPECT(1, (got == 1 && event.EventKind == VOMTEL_EVENT_SERVER_DOWN) ||
                  (got == VOMTEL_NO_EVENT && event.EventKind == 0));
  }

  /* Call control. */
  EXPECT(kNoSession, vomtelAnswerCall(kGate, kInvoke, &call, &priv));
  EXPECT(kNull, vomtelAnswerCall(kGate, kInvoke, NULL, &priv));
  EXPECT(kNoSession, vomtelClearConnection(kGate, kInvoke, &call, NULL));
  EXPECT(kNoSession, vomtelHoldCall(kGate, kInvoke, &call, 0, NULL));
  EXPECT(kNoSession, vomtelRetrieveCall(kGate, kInvoke, &call, NULL));
  EXPECT(kNoSession, vomtelAlternateCall(kGate, kInvoke, &call, &call, NULL));
  EXPECT(kNull, vomtelAlternateCall(kGate, kInvoke, &call, NULL, NULL));
  EXPECT(kNoSession, vomtelReconnectCall(kGate, kInvoke, &call, &call, NULL));
  EXPECT(kNoSession, vomtelConferenceCall(kGate, kInvoke, &call, &call, NULL, NULL, NULL));
  EXPECT(kNoSession, vomtelTransferCall(kGate, kInvoke, &call, &call, NULL, NULL, NULL));
  EXPECT(kNoSession, vomtelConsultationCall(kGate, kInvoke, &call, "3002", NULL, "", "", "",
                                            NULL, &block, NULL, &priv));
  EXPECT(kNoSession, vomtelMakeCall(kGate, kInvoke, "3001", "3002", "", "", "", NULL, NULL, NULL,
                                    NULL));
  EXPECT(kNoSession, vomtelObservationCall(kGate, kInvoke, "3001", "3002", NULL, NULL, NULL, NULL,
                                           &block, &block2, &priv));
  EXPECT(kNoSession, vomtelObservationTalkCall(kGate, kInvoke, "3001", "3002", "", "", "", NULL,
                                               NULL, NULL, NULL));
  EXPECT(kNoSession, vomtelWhisperCall(kGate, kInvoke, "3001", "3002", "", "", "", NULL, NULL,
                                       NULL, NULL));
  EXPECT(kNoSession, vomtelSingleStepTransfer(kGate, kInvoke, &call, "3002", 1, NULL, "", NULL,
                                              NULL, NULL, NULL));
  EXPECT(kNoSession, vomtelSingleStepConference(kGate, kInvoke, 9, "3001", "3002", 1, "", "", "",
                                                NULL, NULL, NULL));
  EXPECT(kNoSession, vomtelOneStepConference(kGate, kInvoke, &call, "3002", NULL, "", NULL, NULL,
                                             NULL, NULL));
  EXPECT(kNoSession, vomtelDivertDeflect(kGate, kInvoke, &call, "3003", "", NULL, NULL, NULL));
  EXPECT(kNoSession, vomtelDivertDirect(kGate, kInvoke, &call, "3003", "", NULL, NULL, NULL));
  EXPECT(kNoSession, vomtelSendDTMF(kGate, kInvoke, &call, "12#", 100, 50));
  EXPECT(kNoSession, vomtelCallToCNID(kGate, kInvoke, 9, 3001, &number));
  EXPECT(kNull, vomtelCallToCNID(kGate, kInvoke, 9, 3001, NULL));
  EXPECT(kNoSession, vomtelUserExInfoData(kGate, kInvoke, 9, &block));
  EXPECT(kNull, vomtelUserExInfoData(kGate, kInvoke, 9, NULL));

  /* Phone features and agent state. */
  EXPECT(kNoSession, vomtelSetFeatureDND(kGate, kInvoke, "3001", 1, &priv));
  EXPECT(kNoSession, vomtelSetFeatureForward(kGate, kInvoke, "3001", 1, 1, "3009", NULL));
  EXPECT(kNoSession, vomtelSetFeatureMicrophoneMute(kGate, kInvoke, "3001", 1));
  EXPECT(kNoSession, vomtelSetFeatureSpeakerMute(kGate, kInvoke, "3001", 1));
  EXPECT(kNoSession, vomtelSetFeatureAutoAnswer(kGate, kInvoke, "3001", 1, NULL));
  EXPECT(kNoSession, vomtelSetFeatureAgentStatus(kGate, kInvoke, "3001", 3, "agent", "part",
                                                 "group", 0, 0, NULL));
  EXPECT(kNoSession, vomtelSetAgentFlag(kGate, kInvoke, "agent", 1));
  EXPECT(kNoSession, vomtelSetAgentBlocking(kGate, kInvoke, "agent", 30));
  EXPECT(kNoSession, vomtelSetAgentBlockingEx(kGate, kInvoke, "agent", 30, 1, "camp", 2, results));
  EXPECT(kNull, vomtelSetAgentBlockingEx(kGate, kInvoke, "agent", 30, 1, "camp", 2, NULL));
  EXPECT(kNoSession, vomtelPwdConfirm(kGate, kInvoke, 3001, 1, NULL));
  EXPECT(kNoSession, vomtelSetUEIData(kGate, kInvoke, 1, &number, &block));
  EXPECT(kNull, vomtelSetUEIData(kGate, kInvoke, 1, NULL, &block));

  /* Queries. */
  EXPECT(kNoSession, vomtelAgentReadyGet(kGate, kInvoke, 1, 2, 4, ready, &count));
  EXPECT(kNull, vomtelAgentReadyGet(kGate, kInvoke, 1, 2, 4, NULL, &count));
  EXPECT(kNoSession, vomtelAgentReadyGetII(kGate, kInvoke, 1, 2, 4, readyEx, &count));
  EXPECT(kNoSession, vomtelAgentReadyGetEx(kGate, kInvoke, 1, 2, 4, readyEx, &count));
  EXPECT(kNull, vomtelAgentReadyGetEx(kGate, kInvoke, 1, 2, 4, readyEx, NULL));
  EXPECT(kNoSession, vomtelAgentReadyGetCount(kGate, kInvoke, 1, 2, 4, &number));
  EXPECT(kNoSession, vomtelAgentReadyGetCountII(kGate, kInvoke, 0, 1, 2, 4, &number));
  EXPECT(kNoSession, vomtelAgentBusyGet(kGate, kInvoke, 1, 2, 4, ready, &count));
  EXPECT(kNull, vomtelAgentBusyGet(kGate, kInvoke, 1, 2, 4, ready, NULL));
  EXPECT(kNull, vomtelAgentBusyGetII(kGate, kInvoke, 0, 1, 2, 4, NULL, &count));
  EXPECT(kNull, vomtelAgentBusyGetCount(kGate, kInvoke, 1, 2, 4, NULL));
  EXPECT(kNull, vomtelAgentBusyGetCountII(kGate, kInvoke, 0, 1, 2, 4, NULL));
  EXPECT(kNoSession, vomtelAgentStatusGet(kGate, kInvoke, 1, 4, 1, 2, status, &count, 0));
  EXPECT(kNoSession, vomtelQueryAgentStatusEx(kGate, kInvoke, "agent", 3001, text, &a, &b, &c,
                                              &d, &e, 0, 0, 0));
  EXPECT(kNull, vomtelQueryAgentStatusEx(kGate, kInvoke, "agent", 3001, NULL, &a, &b, &c, &d, &e,
                                         0, 0, 0));
  EXPECT(kNoSession, vomtelMultiAgentGet(kGate, kInvoke, "3001", "agent", multi, &count));
  EXPECT(kNoSession, vomtelAgentSkillGet(kGate, kInvoke, 4, 7, skill, &count));
  EXPECT(kNoSession, vomtelAgentGetBySkill(kGate, kInvoke, 1, 7, 3, 4, &count, skillCount));
  EXPECT(kNoSession, vomtelGetSkillMaster(kGate, kInvoke, 1, master, &count));
  EXPECT(kNoSession, vomtelGetAgent(kGate, kInvoke, "", "", "", "", "", "", "", agents, &count,
                                    "10"));
  EXPECT(kNoSession, vomtelGetAgentEx(kGate, kInvoke, "", "", "", "", "", "", "", "", agents,
                                      text, &count, "10"));
  EXPECT(kNull, vomtelGetAgentEx(kGate, kInvoke, "", "", "", "", "", "", "", "", agents, NULL,
                                 &count, "10"));
  EXPECT(kNoSession, vomtelGetAgentCount(kGate, kInvoke, &block, 3, 0, &count));
  EXPECT(kNoSession, vomtelReadyRateGet(kGate, kInvoke, 1, &rate));
  EXPECT(kNull, vomtelReadyRateGet(kGate, kInvoke, 1, NULL));
  EXPECT(kNoSession, vomtelWaitTimeGet(kGate, kInvoke, 1, "5000", &a, &b));
  EXPECT(kNoSession, vomtelWaitingCallTimePeriod(kGate, kInvoke, 10, "5000", &count, period));
  EXPECT(kNoSession, vomtelWaitingCallListOfQue(kGate, kInvoke, "5000", &count, waiting));
  EXPECT(kNoSession, vomtelMaxCallLoadAgent(kGate, kInvoke, "emp", &count, load));
  EXPECT(kNoSession, vomtelGetUEIData(kGate, kInvoke, 1, 9, &block, &block2));
  EXPECT(kNull, vomtelGetUEIData(kGate, kInvoke, 1, 9, &block, NULL));

  /* IVR routing and SQL. */
  EXPECT(kNoSession, vomtelIVRRegisterCall(kGate, kInvoke, 1, 9, "3001", "0101", NULL, 2));
  EXPECT(kNoSession, vomtelIVRReleaseCall(kGate, kInvoke, 1, 9, "3001", "3002"));
  EXPECT(kNoSession, vomtelIVRAllowRouting(kGate, kInvoke, 1, 9, "3001", 1));
  EXPECT(kNoSession, vomtelIVRNumberOfWait(kGate, kInvoke, 0x80000001u, 9, "3001", &number));
  EXPECT(kNoSession, vomtelSQLQuery(kGate, kInvoke, "3001", 1, ',', &block, &number, &block2));
  EXPECT(kNull, vomtelSQLQuery(kGate, kInvoke, "3001", 1, ',', &block, &number, NULL));
  EXPECT(kNoSession, vomtelSQLExecute(kGate, kInvoke, "3001", NULL));

  /* Uploads. */
  EXPECT(kNoSession, vomtelPutTraceInfo(kGate, kInvoke, 1, 2, "a", "b", "c", "d", "e", "f", 1,
                                        "g", &block));
  EXPECT(kNoSession, vomtelPutCounselInfo(kGate, kInvoke, "cnid", 1, "tag", NULL));

  /* Outbound. */
  EXPECT(kNoSession, vomtelGetMaxCPSQ(kGate, kInvoke, 1, 2, &number));
  EXPECT(kNoSession, vomtelGetMaxCPSQResult(kGate, 3, 0, 1, 2, 3, 4));
  EXPECT(kNoSession, vomtelBlackListInsert(kGate, kInvoke, 1, &black));
  EXPECT(kNull, vomtelBlackListInsert(kGate, kInvoke, 1, NULL));
  EXPECT(kNoSession, vomtelBlackListInsertResult(kGate, 3, 0, 1));
  EXPECT(kNoSession, vomtelSetCampaignListHandle(kGate, kInvoke, &handle));
  EXPECT(kNull, vomtelSetCampaignListHandle(kGate, kInvoke, NULL));
  EXPECT(kNoSession, vomtelSetCampaignListHandleResult(kGate, 3, 0, 1));
  EXPECT(kNoSession, vomtelCallbackCampaign(kGate, kInvoke, 1, &count, campaigns));
  EXPECT(kNull, vomtelCallbackCampaign(kGate, kInvoke, 1, NULL, campaigns));
  EXPECT(kNoSession, vomtelCallbackCampaignResult(kGate, 3, 0, 1, 2, campaigns));
  EXPECT(kNull, vomtelCallbackCampaignResult(kGate, 3, 0, 1, 2, NULL));
  EXPECT(kNoSession, vomtelCallbackListInsert(kGate, kInvoke, 1, &callback.Record,
                                              &callbackResult));
  EXPECT(kNoSession, vomtelCallbackListInsertEx(kGate, kInvoke, 1, &callback, NULL));
  EXPECT(kNull, vomtelCallbackListInsertEx(kGate, kInvoke, 1, NULL, &callbackResult));
  EXPECT(kNoSession, vomtelCreateCampaignEx(kGate, kInvoke, &count, &campaign));
  campaign.SkillCnt = 6;
  EXPECT(VOMTEL_TEXT_TOO_LONG, vomtelCreateCampaignEx(kGate, kInvoke, &count, &campaign));
  EXPECT(kNoSession, vomtelDestoryCampaign(kGate, kInvoke, 1, 2, 0));
  EXPECT(kNoSession, vomtelStartCampaign(kGate, kInvoke, 1, 2));
  EXPECT(kNoSession, vomtelStopCampaign(kGate, kInvoke, 1, 2));
  EXPECT(kNoSession, vomtelStartSystemPreview(kGate, kInvoke, 1u, 2, "agent"));
  EXPECT(kNoSession, vomtelStopSystemPreview(kGate, kInvoke, 1u, 2, "agent"));
  EXPECT(kNoSession, vomtelSysPreviewState(kGate, kInvoke, 1u, 2, "agent", 0));
  EXPECT(kNoSession, vomtelPreviewMakeCall(kGate, kInvoke, 1, 2, 3, "emp", 1));
  EXPECT(kNoSession, vomtelCampaignInfo(kGate, kInvoke, 9u, &block));
  EXPECT(kNull, vomtelCampaignInfo(kGate, kInvoke, 9u, NULL));
  EXPECT(kNoSession, vomtelCallingListService(kGate, kInvoke, 1, 2, 3, 4, 1));

  /* Entry points that do nothing. */
  EXPECT(1, vomtelSendMsg(kGate, kInvoke, 0, 0, 0, 0));
  EXPECT(1, vomtelSetPbxID(kGate, kInvoke, 1));
  EXPECT(1, vomtelAgentBusyGetValue(kGate, kInvoke, 0, 0, 0, NULL, NULL));
  EXPECT(1, vomtelAgentReadyGetValue(kGate, kInvoke, 0, 0, 0, NULL, NULL));
  gate = 42;
  EXPECT(VOMTEL_DOES_NOTHING, vomtelOpenServerP(&gate, kInvoke, "127.0.0.1", 8080, "id", "pw",
                                                &device, "127.0.0.1", 1, "TCPIP", "capi", 1, 0));
  EXPECT(42, gate);
  EXPECT(VOMTEL_DOES_NOTHING, vomtelOneStepTransfer(kGate, kInvoke, NULL, NULL, NULL, NULL, NULL,
                                                    NULL, NULL));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelGetPartMaster(kGate, kInvoke, 0, 0, 0, 0, 0, NULL, NULL));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelQueryAgentStatus(kGate, kInvoke, NULL, 0, NULL, NULL, NULL));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelAgentReadyGetExu(kGate, kInvoke, 0, 0, 0, NULL, NULL));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelGetTenantMaster(kGate, kInvoke, 0, 0, 0, NULL, NULL));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelCallbackListInsertResult(kGate, 3, kInvoke, 1, 2, 3, 4));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelCurrentDN(kGate, kInvoke, NULL));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelEventNotify(kGate, kInvoke, NULL));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelGetEventPoll(kGate, NULL, 0));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelSetCounselResult(kGate, kInvoke, NULL));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelCreateCampaign(kGate, kInvoke, NULL, NULL));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelErrMsg(kGate, kInvoke, 3007, NULL));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelPreviewMakeCallResult(kGate, 3, kInvoke, 1));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelSendPopup(kGate, kInvoke, "emp", NULL));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelSetCounselResultResult(kGate, 3, kInvoke, 1));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelCreateCampaignResult(kGate, 3, kInvoke, 1, 2));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelQueryAgentStatusExIII(kGate, kInvoke, NULL, 0, NULL));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelSendData(kGate, kInvoke, 0, NULL, 0));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelAgentReadyGetW(kGate, kInvoke, 0, 0, 0, NULL, NULL, 0));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelGetGroupMaster(kGate, kInvoke, 0, 0, 0, 0, NULL, NULL));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelSendWebChatMsg(kGate, kInvoke, NULL, NULL, NULL, NULL, 0, 0));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelAgentBusyGetValueII(kGate, kInvoke, 0, 0, 0, 0, NULL, NULL));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelAgentReadyGetValueII(kGate, kInvoke, 0, 0, 0, 0, NULL, NULL));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelAgentStatusGetII(kGate, 4, kInvoke, 1, 4, 1, 2, NULL, NULL, 0));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelGetAgentMaster(kGate, kInvoke, 0, 0, 0, 0, 0, 0, NULL, NULL));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelGetEmployeeMaster(kGate, kInvoke, 0, 0, 0, 0, 0, 0, NULL,
                                                      NULL));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelNotifyRecord(kGate, kInvoke, 9, "3001", 1, "code"));
  EXPECT(VOMTEL_DOES_NOTHING, vomtelPutTraceInfoEx(kGate, kInvoke, 0, 0, NULL, NULL, NULL, NULL,
                                                   NULL, NULL, 0, NULL, NULL));

  if (failures) fprintf(stderr, "%d call(s) gave the wrong result\n", failures);
  return failures ? 1 : 0;
}
