// Exports of the agent's state and settings: agent state, wait mode, blocking, password
// confirmation and a call's UEI data.
#include "vomtel/api/export_guard.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/requests/call/agent_state.h"
#include "vomtel/requests/service/agent_settings.h"
#include "vomtel/requests/service/data_queries.h"
#include "vomtel/vomtel.h"

using namespace vomtel::api;
using vomtel::OrbaAdapter;

extern "C" {

// The sixth argument is the agent's part and the seventh its group: the request carries the
// group before the part.
int VOMTEL_CALL vomtelSetFeatureAgentStatus(int gate, int, const char* device, int agentMode,
                                            const char* agentId, const char* agentPart,
                                            const char* agentGroup, int reasonCode, int workMode,
                                            const PrivateDataBlock*) {
  return Export([&] {
    return vomtel::AgentStatus(OrbaAdapter::Instance(), Text(device), Text(agentId),
                               Text(agentGroup), Text(agentPart), agentMode, reasonCode,
                               workMode, gate);
  });
}

int VOMTEL_CALL vomtelSetAgentFlag(int gate, int, const char* agentId, int waitMode) {
  return Export([&] {
    return vomtel::AgentFlag(OrbaAdapter::Instance(), Text(agentId), U32(waitMode), gate);
  });
}

int VOMTEL_CALL vomtelSetAgentBlocking(int gate, int, const char* agentId, int blockingTime) {
  return Export([&] {
    return vomtel::AgentBlocking(OrbaAdapter::Instance(), Text(agentId), U32(blockingTime), gate);
  });
}

int VOMTEL_CALL vomtelSetAgentBlockingEx(int, int, const char* agentId, int blockingTime,
                                         int campaignId, const char* campaignName, int source,
                                         int* results) {
  return Export([&] {
    if (!results) return kNullArgument;
    // The operation writes both numbers whenever a reply carried them.
    std::uint32_t validSeconds = U32(results[0]);
    std::uint32_t setter = U32(results[1]);
    const int code = vomtel::AgentBlockingEx(OrbaAdapter::Instance(), Text(agentId),
                                             U32(blockingTime), U32(campaignId),
                                             Text(campaignName), U32(source), validSeconds, setter);
    results[0] = static_cast<int>(validSeconds);
    results[1] = static_cast<int>(setter);
    return code;
  });
}

int VOMTEL_CALL vomtelPwdConfirm(int gate, int, int deviceNumber, int confirm,
                                 const UserDataBlock* uei) {
  return Export([&] {
    return vomtel::PwdConfirm(OrbaAdapter::Instance(), deviceNumber, confirm, BlockText(uei), gate);
  });
}

int VOMTEL_CALL vomtelSetUEIData(int gate, int, int serverId, const int* callId,
                                 const UserDataBlock* uei) {
  return Export([&] {
    if (!callId) return kNullArgument;
    return vomtel::SetUEIData(OrbaAdapter::Instance(), LowByte(serverId), U32(*callId),
                              BlockText(uei), gate);
  });
}

}  // extern "C"
