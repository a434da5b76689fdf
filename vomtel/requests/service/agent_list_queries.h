// The agent list queries: agents of a skill, busy and ready agents of a group and part, and
// the agent states of a group and part (an answer of several reply frames). The lists are
// the caller's; the queries append at their end and never remove anything.
#pragma once

#include <cstdint>

#include "vomtel/requests/service/agent_list_records.h"

namespace vomtel {

class OrbaAdapter;

// 0x45 0x61. Reads the reply head only.
int AgentGetBySkill(OrbaAdapter& adapter, std::int32_t tenantId, std::int32_t skillId,
                    std::uint8_t agentMode, std::uint16_t stateCount, int gate);
// 0x45 0x97, always on gate 0. Appends the busy agents whatever the result.
int AgentBusyGetII(OrbaAdapter& adapter, std::int32_t group, std::int32_t part,
                   std::uint16_t maxcount, AgentList& list);
// 0x45 0x98. Appends the ready agents on result 1.
int AgentReadyGet(OrbaAdapter& adapter, std::int32_t group, std::int32_t part,
                  std::uint16_t maxcount, AgentList& list, int gate);
// 0x45 0x60: as AgentReadyGet with the three numbers sent as uint16.
int AgentReadyGetEx(OrbaAdapter& adapter, std::uint16_t group, std::uint16_t part,
                    std::uint16_t maxcount, AgentList& list, int gate);
// 0x45 0xBE. Reads reply frames until one whose "more" byte is 0 and returns that frame's
// result; every frame before it appends its entries. The answer as a whole is bounded by
// kListAnswerSeconds and kMaxListEntries (service_exchange.h).
int AgentStatusGet(OrbaAdapter& adapter, std::uint8_t mode, std::int32_t maxcount,
                   std::int32_t group, std::int32_t part, AgentStatusList& list, int gate);

}  // namespace vomtel
