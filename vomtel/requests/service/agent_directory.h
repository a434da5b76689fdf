// The agent directory queries: the agents that match a device, an agent id, a skill, a
// tenant, a group, a part and a mode (GetAgentEx also a blend mode). The reply carries the
// result; each agent then arrives in a list frame (0xA0) of its own, which the list readers
// take from the session's list queue. List frames left over from an earlier query are
// dropped before the request is sent, so they never become this query's entries.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vomtel/requests/service/agent_list_records.h"

namespace vomtel {

class OrbaAdapter;

// The query texts; all numbers travel as text. `blend` is sent by GetAgentEx only.
struct AgentDirectoryQuery {
  std::string_view deviceNumber;
  std::string_view agentid;
  std::string_view skill;
  std::string_view tenant;
  std::string_view group;
  std::string_view part;
  std::string_view mode;
  std::string_view blend;
  std::string_view maxcnt;
};

// Limits of GetAgentEx's texts; over them it returns -3025 before anything else.
inline constexpr std::size_t kDirectoryTextLimit = 1024;  // deviceNumber .. group
inline constexpr std::size_t kDirectoryPartLimit = 20;    // part
inline constexpr int kDirectoryTextTooLong = -3025;

// 0x45 0xC2, 5 s. On result 1 the agents of the list frames replace the caller's list.
// Uses two request numbers when a reply came.
int GetAgent(OrbaAdapter& adapter, const AgentDirectoryQuery& query, AgentList& list, int gate);
// 0x45 0xC7, 5 s. Whatever the result, the reply's read count and total count go to
// `readCount` and `totalCount`; on result 1 the agents replace the caller's list.
int GetAgentEx(OrbaAdapter& adapter, const AgentDirectoryQuery& query, AgentList& list,
               std::string& readCount, std::uint32_t& totalCount, int gate);

}  // namespace vomtel
