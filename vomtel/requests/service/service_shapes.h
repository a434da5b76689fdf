// The request table of the service requests: per request the label that opens its request
// log, its class and code, how its reply is awaited, and the form, name and invoke number of
// its outcome line. Bodies, log fields and the reading of reply data are in the operations'
// own files. The labels and names are log texts kept byte for byte (request_log.h).
#pragma once

#include <cstdint>
#include <string_view>

#include "vomtel/requests/call/request_exchange.h"
#include "vomtel/requests/service/service_exchange.h"

namespace vomtel {

// How the reply of a request is awaited.
enum class Await : std::uint8_t {
  kEcho,        // the reply that echoes this request's number (SendAndWait)
  kNext,        // the session's next reply as it comes: data, not an echo, at bytes 12-13
                // (SendAndWaitWhole)
  kListFrames,  // as kEcho, the list frames (0xA0) of an earlier query dropped before sending
  kNothing,     // sent without waiting: a reply the server may still send is dropped later
};

// The form of the outcome line (request_log.h).
enum class Outcome : std::uint8_t {
  kNone,       // the request writes no outcome line of this table's forms
  kNamed,      // " name [result][invoke] : [...", this request's number as the invoke
  kLabelled,   // "name [result][invoke] : [..."
  kQualified,  // "<name>result-invoke[..."
};

// The number that a labelled or qualified outcome line shows as the invoke.
enum class Invoke : std::uint8_t {
  kEchoed,   // the request number of the reply head
  kOwn,      // this request's number
  kReplied,  // the invoke number at bytes 4-5 of a reply read from its first byte
};

struct ServiceShape {
  std::string_view label = {};  // request log head up to "gate["; empty: the request logs none
  std::uint8_t code = 0;
  std::uint8_t cls = kServiceClass;
  Await await = Await::kEcho;
  Outcome outcome = Outcome::kNone;
  std::string_view name = {};  // in the outcome line
  Invoke invoke = Invoke::kEchoed;
  std::string_view logTail = {};  // behind the request log's last line ("\n" for a few)
  int waitSeconds = kReplyWaitSeconds;  // reply units (Timings::ReplyWait)
};

namespace shape {

// Agent lists.
inline constexpr ServiceShape kAgentGetBySkill{.label = "vomtelAgentGetBySkill: gate[", .code = 0x61,
                                               .outcome = Outcome::kNamed, .name = "vomtelAgentGetBySkill"};
inline constexpr ServiceShape kAgentBusyGetII{.label = "orbaAgentBusyGetII: gate[", .code = 0x97};
inline constexpr ServiceShape kAgentReadyGet{.label = "orbaAgentReadyGet: gate[", .code = 0x98};
inline constexpr ServiceShape kAgentReadyGetEx{.label = "orbaAgentReadyGetEx: gate[", .code = 0x60};
inline constexpr ServiceShape kAgentStatusGet{.label = "orbaAgentStatusGet: gate[", .code = 0xBE};

// Data queries.
inline constexpr ServiceShape kGetMonitor{.label = "vomtelGetMonitor: gate[", .code = 0x46, .cls = kMonitorClass,
                                          .outcome = Outcome::kQualified, .name = "OrbaAdapter::GetMonitor",
                                          .logTail = "\n"};
inline constexpr ServiceShape kCallToCNID{.label = "vomtelCallToCNID: gate[", .code = 0x5F,
                                          .outcome = Outcome::kLabelled, .name = "vomtelMultiCallToCNID"};
inline constexpr ServiceShape kUserExInfo{.label = "vomtelUserExInfo: gate[", .code = 0x78,
                                          .outcome = Outcome::kLabelled, .name = "vomtelUserExInfo"};
inline constexpr ServiceShape kMultiAddDevice{.label = "vomtelMultiAddDevice: gate[", .code = 0x64,
                                              .outcome = Outcome::kLabelled, .name = "vomtelMultiAddDevice"};
// Its outcome line, with the reply's count, is its own.
inline constexpr ServiceShape kMultiAgentGet{.label = "vomtelMultiAgentGet: gate[", .code = 0xE6};
inline constexpr ServiceShape kAgentSkillGet{.code = 0x5D, .outcome = Outcome::kQualified,
                                             .name = "OrbaAdapter::AgentSkillGet"};
inline constexpr ServiceShape kAgentReadyRateGet{.label = "AgentReadyRateGet: gate[", .code = 0xFB,
                                                 .outcome = Outcome::kLabelled, .name = "AgentReadyRateGet",
                                                 .invoke = Invoke::kOwn};
inline constexpr ServiceShape kQueryAgentStatusEx{.label = "vomtelQueryAgentStatusEx: gate[", .code = 0x6E,
                                                  .outcome = Outcome::kLabelled,
                                                  .name = "vomtelQueryAgentStatusEx", .invoke = Invoke::kOwn};
inline constexpr ServiceShape kWaitTimeGet{.label = "vomtelWaitTimeGet: gate[", .code = 0x82,
                                           .outcome = Outcome::kLabelled, .name = "vomtelWaitTimeGet",
                                           .invoke = Invoke::kOwn};
inline constexpr ServiceShape kNumberOfWait{.label = "vomtelNumberOfWait: gate[", .code = 0x3F, .cls = kIvrClass,
                                            .outcome = Outcome::kLabelled, .name = "vomtelNumberOfWait"};
inline constexpr ServiceShape kPwdConfirm{.label = "vomtelPwdConfirm: gate[", .code = 0xFC,
                                          .outcome = Outcome::kLabelled, .name = "vomtelPwdConfirm"};
inline constexpr ServiceShape kGetUEIData{.label = "vomtelGetUEIData: gate[", .code = 0xAB,
                                          .outcome = Outcome::kLabelled, .name = "vomtelGetUEIData"};

// Agent settings.
inline constexpr ServiceShape kAgentBlocking{.label = "vomtelAgentBlocking: gate[", .code = 0xCB,
                                             .outcome = Outcome::kLabelled, .name = "vomtelAgentBlocking"};
inline constexpr ServiceShape kAgentBlockingEx{.label = "vomtelAgentBlockingEx: gate[", .code = 0xCB,
                                               .outcome = Outcome::kLabelled, .name = "vomtelAgentBlockingEx"};
inline constexpr ServiceShape kAgentFlag{.label = "vomtelAgentFlag: gate[", .code = 0x5A,
                                         .outcome = Outcome::kLabelled, .name = "vomtelAgentFlag"};
inline constexpr ServiceShape kSetUEIData{.label = "vomtelSetUEIData: gate[", .code = 0xAA,
                                          .outcome = Outcome::kLabelled, .name = "vomtelSetUEIData"};

// Uploads.
inline constexpr ServiceShape kPutCounsel{.label = "vomtelPutCounsel: gate[", .code = 0xC1,
                                          .await = Await::kNothing, .outcome = Outcome::kLabelled,
                                          .name = "vomtelPutCounsel", .invoke = Invoke::kOwn};
inline constexpr ServiceShape kPutTraceInfo{.label = "vomtelPutTraceInfo: gate[", .code = 0xC0,
                                            .await = Await::kNothing, .outcome = Outcome::kLabelled,
                                            .name = "PutTraceInfo", .invoke = Invoke::kOwn};

// Waiting calls and the skill master.
inline constexpr ServiceShape kWaitingCallTimePeriod{.label = "vomtelWaitingCallTimePeriod: gate[", .code = 0x84,
                                                     .outcome = Outcome::kLabelled,
                                                     .name = "vomtelWaitingCallTimePeriod"};
inline constexpr ServiceShape kWaitingCallListOfQueue{.label = "vomtelWaitingCallListOfQueue: gate[",
                                                      .code = 0x84, .outcome = Outcome::kLabelled,
                                                      .name = "vomtelWaitingCallListOfQueue"};
inline constexpr ServiceShape kGetSkillMaster{.label = "vomtelGetSkillMaster: gate[", .code = 0xD2,
                                              .outcome = Outcome::kQualified,
                                              .name = "OrbaAdapter::GetSkillMaster"};

// IVR routing and SQL.
inline constexpr ServiceShape kRegisterCall{.label = "vomtelRegisterCall: gate[", .code = 0x3C, .cls = kIvrClass,
                                            .outcome = Outcome::kLabelled, .name = "vomtelRegisterCall"};
inline constexpr ServiceShape kReleaseCall{.label = "vomtelReleaseCall: gate[", .code = 0x3D, .cls = kIvrClass,
                                           .outcome = Outcome::kLabelled, .name = "vomtelReleaseCall"};
inline constexpr ServiceShape kAllowRouting{.label = "vomtelAllowRouting: gate[", .code = 0x3E, .cls = kIvrClass,
                                            .outcome = Outcome::kLabelled, .name = "vomtelAllowRouting"};
inline constexpr ServiceShape kSQLQuery{.label = "vomtelSQLQuery: gate[", .code = 0x5E,
                                        .outcome = Outcome::kLabelled, .name = "vomtelSQLQuery"};
inline constexpr ServiceShape kSQLExecute{.label = "vomtelSQLExecute: gate[", .code = 0xA0,
                                          .outcome = Outcome::kLabelled, .name = "vomtelSQLExecute"};

// Agent count, CPSQ, black list, calling list. An answer to a server request shares its
// request's code.
inline constexpr ServiceShape kGetAgentCount{.label = "vomtelGetAgentCount: gate[", .code = 0x5D,
                                             .outcome = Outcome::kLabelled, .name = "GetAgentCount"};
inline constexpr ServiceShape kGetMaxCPSQ{.label = "vomtelGetMaxCPSQ: gate[", .code = 0xF6,
                                          .outcome = Outcome::kLabelled, .name = "vomtelGetMaxCPSQ",
                                          .invoke = Invoke::kOwn};
inline constexpr ServiceShape kGetMaxCPSQResult{.label = "vomtelGetMaxCPSQResult: gate[", .code = 0xF6,
                                                .await = Await::kNothing, .outcome = Outcome::kLabelled,
                                                .name = "vomtelGetMaxCPSQResult", .invoke = Invoke::kOwn};
inline constexpr ServiceShape kBlackListInsert{.label = "vomtelBlackListInsert: gate[", .code = 0xF7,
                                               .await = Await::kNext, .outcome = Outcome::kLabelled,
                                               .name = "vomtelBlackListInsert", .invoke = Invoke::kReplied};
inline constexpr ServiceShape kBlackListInsertResult{.label = "vomtelBlackListInsertResult: gate[", .code = 0xF7,
                                                     .await = Await::kNothing, .outcome = Outcome::kLabelled,
                                                     .name = "vomtelBlackListInsertResult",
                                                     .invoke = Invoke::kOwn};
// Its reply is read from the first byte, but it echoes the service type, not the number.
inline constexpr ServiceShape kCallingListService{.label = "vomtelCallingListService: gate[", .code = 0xD5,
                                                  .outcome = Outcome::kLabelled,
                                                  .name = "vomtelCallingListService", .invoke = Invoke::kReplied};

// Campaign status and system preview.
inline constexpr ServiceShape kCampaignStatus{.label = "vomtelCamapignStatus: gate[", .code = 0xF0,
                                              .outcome = Outcome::kNamed, .name = "vomtelCamapignStatus"};
inline constexpr ServiceShape kSystemPreview{.label = "vomtelSystemPreview: gate[", .code = 0xF1,
                                             .outcome = Outcome::kNamed, .name = "vomtelSystemPreview"};
inline constexpr ServiceShape kCampaignInfo{.label = "vomtelCampaignInfo: gate[", .code = 0x8C,
                                            .outcome = Outcome::kNamed, .name = "vomtelCampaignInfo"};
inline constexpr ServiceShape kSystemPreviewState{.label = "vomtelSystemPreviewState: gate[", .code = 0xF2,
                                                  .outcome = Outcome::kNamed, .name = "vomtelSystemPreviewState"};

// Campaign lists and call-back campaigns.
inline constexpr ServiceShape kSetCampaignListHandle{.label = "vomtelSetCampaignListHandle: gate[", .code = 0xF5,
                                                     .outcome = Outcome::kNamed,
                                                     .name = "vomtelCampaignListHandle"};
inline constexpr ServiceShape kCampaignListHandleResult{.label = "vomtelCampaignListHandleResult: gate[",
                                                        .code = 0xF5, .outcome = Outcome::kNamed,
                                                        .name = "vomtelCampaignListHandleResult"};
inline constexpr ServiceShape kCallbackCampaign{.code = 0xC8, .await = Await::kNext,
                                                .outcome = Outcome::kLabelled, .name = "vomtelCallbackCampaign",
                                                .invoke = Invoke::kOwn};
inline constexpr ServiceShape kCallbackCampaignResult{.label = "vomtelCallbackCampaignResult: gate[",
                                                      .code = 0xC8, .outcome = Outcome::kNamed,
                                                      .name = "vomtelCallbackCampaignResult"};

// Agent directory.
inline constexpr ServiceShape kGetAgent{.label = "vomtelGetAgent: gate[", .code = 0xC2,
                                        .await = Await::kListFrames, .outcome = Outcome::kNamed,
                                        .name = "vomtelGetAgent", .waitSeconds = kDirectoryWaitSeconds};
inline constexpr ServiceShape kGetAgentEx{.label = "vomtelGetAgentEx: gate[", .code = 0xC7,
                                          .await = Await::kListFrames, .outcome = Outcome::kNamed,
                                          .name = "vomtelGetAgentEx", .waitSeconds = kDirectoryWaitSeconds};

// Call-back insert, call load, campaigns, preview call.
inline constexpr ServiceShape kCallbackListInsert{.label = "vomtelCallbackListInsert: gate[", .code = 0xC9,
                                                  .await = Await::kNext, .outcome = Outcome::kLabelled,
                                                  .name = "vomtelCallbackListInsert", .invoke = Invoke::kReplied};
inline constexpr ServiceShape kMaxCallLoadAgent{.label = " MaxCallLoadAgent: gate[", .code = 0xD6,
                                                .outcome = Outcome::kLabelled, .name = "vomtelMaxCallLoadAgent",
                                                .invoke = Invoke::kOwn, .logTail = "\n"};
inline constexpr ServiceShape kCreateCampaign{.code = 0xFA, .await = Await::kNext, .outcome = Outcome::kLabelled,
                                              .name = "vomtelCreateCampaign", .invoke = Invoke::kReplied};
inline constexpr ServiceShape kDestoryCampaign{.code = 0xFB, .outcome = Outcome::kNamed,
                                               .name = "vomtelDestoryCampaign"};
inline constexpr ServiceShape kPreviewMakeCall{.label = "vomtelPreviewMakeCall: gate[", .code = 0xF8,
                                               .await = Await::kNext, .outcome = Outcome::kLabelled,
                                               .name = "vomtelPreviewMakeCall", .invoke = Invoke::kReplied};

}  // namespace shape
}  // namespace vomtel
