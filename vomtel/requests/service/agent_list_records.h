// The records in which the agent queries hand their lists back: one AgentListEntry per agent
// of any agent query, one AgentStatusEntry per agent of the agent-state query. A query sets
// only the fields its reply carries; the others keep their initial values (empty, 0).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vomtel {

struct AgentListEntry {
  std::string tenant;
  std::string agentId;
  std::string agentName;
  std::string groupName;
  std::string partName;
  std::string device;
  std::string skill;
  std::uint32_t agentNumber = 0;
  std::uint8_t agentMode = 0;   // 0 logged on, 1 logged off, 2 not ready, 3 ready, 4 other work, 5 after-call work
  std::uint32_t agentGroup = 0;
  std::uint32_t agentPart = 0;
  std::uint32_t dn = 0;
  std::uint8_t blendMode = 0;
  std::uint8_t blockMode = 0;
  std::uint16_t time = 0;       // time in the current state, as the server counts it
  std::uint8_t type = 0;
  std::uint8_t spare = 0;

  bool operator==(const AgentListEntry&) const = default;
};

struct AgentStatusEntry {
  std::uint8_t mode = 0;        // the mode byte of the reply frame that carried the entry
  std::uint16_t group = 0;
  std::uint16_t part = 0;
  std::uint32_t agentNumber = 0;
  std::uint32_t dn = 0;
  std::string name;
  std::string extra;            // never filled

  bool operator==(const AgentStatusEntry&) const = default;
};

using AgentList = std::vector<AgentListEntry>;
using AgentStatusList = std::vector<AgentStatusEntry>;

}  // namespace vomtel
