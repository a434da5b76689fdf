// The readers of the reply data that the service requests hand back: pure functions over a
// ReplyReader that already stands behind the reply's head (the operation reads the head, so
// each operation shows which of the reply layouts it reads).
//
// Each reader fills its output and returns true when the reply held everything it
// announced. On false the output holds a partial reading that the caller must drop: the
// operations copy outputs into their callers' lists only from a complete reading.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vomtel/requests/service/agent_list_records.h"
#include "vomtel/requests/service/outbound_records.h"
#include "vomtel/requests/service/queue_records.h"
#include "vomtel/requests/service/reply_reader.h"

namespace vomtel {

// uint16 count, then per agent: id str8, extension uint32, blend mode uint8, time uint16.
bool ReadBusyList(ReplyReader& in, AgentList& out);
// uint16 count, then per agent: id, name, group uint32, group name, part uint32, part name,
// extension uint32, blend mode uint8, time uint16.
bool ReadReadyList(ReplyReader& in, AgentList& out);

// One frame of the agent-state answer: a "more" byte (0: the last frame, nothing follows),
// a byte not used, the mode byte of its entries, a uint32 count and the entries (group
// uint16, part uint16, agent number uint32, name str8, extension uint32).
struct StatusFrame {
  bool more = false;
  AgentStatusList entries;
};
bool ReadStatusFrame(ReplyReader& in, StatusFrame& out);

// uint16 count, then per agent: id str8, extension uint32. `count` gets the announced count.
bool ReadMultiAgentList(ReplyReader& in, AgentList& out, std::uint16_t& count);
// uint16 count, then per agent: group, part, agent number (uint32 each), mode uint8, time uint16.
bool ReadSkillAgentList(ReplyReader& in, AgentList& out);
// id str8, mode uint8 (the agent-state event codes 201-206 become the modes 0-5), extension
// uint32, blend, block (uint8), time uint16, type uint8; sets spare to 0 and nothing else.
bool ReadAgentStatusEx(ReplyReader& in, AgentListEntry& out);

// Queue name str8, uint32 count, then per period: call count, wait period (uint32 each).
bool ReadWaitingPeriods(ReplyReader& in, std::string& queue, std::vector<WaitingPeriodEntry>& out);
// Queue name str8, uint32 count, then per call: call id, wait time (uint32 each), ani str8.
bool ReadQueueCalls(ReplyReader& in, std::string& queue, std::vector<QueueEntry>& out);
// uint16 count, then per skill: id uint16, name str8.
bool ReadSkillMaster(ReplyReader& in, std::vector<SkillMasterItem>& out);

// The agent of a GetAgent list frame (behind its head): tenant, group, part, device, id and
// name (str8 each), mode, blend and block (uint8 each), time uint16.
bool ReadDirectoryEntry(ReplyReader& in, AgentListEntry& out);
// The agent of a GetAgentEx list frame: the six str8 texts, mode, blend and block as uint16
// of which the low byte is kept, time uint16, skill str16.
bool ReadDirectoryEntryEx(ReplyReader& in, AgentListEntry& out);

// uint16 count, then per campaign: campaign id, service code, call-back count (uint32 each).
bool ReadCallbackCampaigns(ReplyReader& in, std::vector<CallbackCampaignEntry>& out);
// The agent id as echoed (str8), uint16 count, then per campaign: campaign id, maximum call
// count, answered count (uint32 each).
bool ReadMaxCallLoad(ReplyReader& in, std::string& echo, std::vector<MaxCallLoadEntry>& out);

}  // namespace vomtel
