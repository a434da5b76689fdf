// Exports of the agent list queries: ready and busy agents, agent states, agents of a device
// or a skill, and one agent's state. Each writes at most its room of entries (export_guard.h).
#include <cstdint>

#include "vomtel/api/export_guard.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/requests/service/agent_list_queries.h"
#include "vomtel/requests/service/data_queries.h"
#include "vomtel/vomtel.h"

namespace vomtel::api {
namespace {

void FillReady(const AgentListEntry& from, AgentReadyEntry& to) {
  PutText(from.agentId, to.EmployeeId);
  to.Dn = static_cast<std::int32_t>(from.dn);
  to.BlendMode = from.blendMode;
  to.Time = from.time;
}

void FillReadyEx(const AgentListEntry& from, AgentReadyExEntry& to) {
  PutText(from.agentId, to.AgentId);
  PutText(from.agentName, to.AgentName);
  to.AgentGroup = static_cast<std::int32_t>(from.agentGroup);
  PutText(from.groupName, to.GroupName);
  to.AgentPart = static_cast<std::int32_t>(from.agentPart);
  PutText(from.partName, to.PartName);
  to.Dn = static_cast<std::int32_t>(from.dn);
  to.BlendMode = from.blendMode;
  to.Time = from.time;
}

template <class Entry, class Query, class Fill>
int ListQuery(Entry* entries, std::uint32_t* count, std::size_t room, Query&& query, Fill fill) {
  return ListExport<AgentListEntry>(entries, count, room, query, fill);
}

// The count queries: the number of entries of the answer.
template <class Query>
int CountQuery(int* count, Query&& query) {
  if (!count) return kNullArgument;
  AgentList list;
  const int result = query(list);
  if (result == kOk) *count = static_cast<int>(list.size());
  return result;
}

int ReadyEx(int gate, int group, int part, int maxCount, AgentReadyExEntry* entries,
            std::uint32_t* count, bool ex) {
  return Export([&] {
    return ListQuery(entries, count, ListRoom(maxCount, SIZE_MAX),
                     [&](AgentList& list) {
                       OrbaAdapter& adapter = OrbaAdapter::Instance();
                       const auto max = static_cast<std::uint16_t>(maxCount);
                       return ex ? AgentReadyGetEx(adapter, static_cast<std::uint16_t>(group),
                                                   static_cast<std::uint16_t>(part), max, list, gate)
                                 : AgentReadyGet(adapter, group, part, max, list, gate);
                     },
                     FillReadyEx);
  });
}

int Busy(int group, int part, int maxCount, AgentReadyEntry* entries, std::uint32_t* count) {
  return Export([&] {
    return ListQuery(entries, count, ListRoom(maxCount, SIZE_MAX),
                     [&](AgentList& list) {
                       return AgentBusyGetII(OrbaAdapter::Instance(), group, part,
                                             static_cast<std::uint16_t>(maxCount), list);
                     },
                     FillReady);
  });
}

int BusyCount(int group, int part, int maxCount, int* count) {
  return Export([&] {
    return CountQuery(count, [&](AgentList& list) {
      return AgentBusyGetII(OrbaAdapter::Instance(), group, part,
                            static_cast<std::uint16_t>(maxCount), list);
    });
  });
}

int ReadyCount(int gate, int group, int part, int maxCount, int* count) {
  return Export([&] {
    return CountQuery(count, [&](AgentList& list) {
      return AgentReadyGet(OrbaAdapter::Instance(), group, part,
                           static_cast<std::uint16_t>(maxCount), list, gate);
    });
  });
}

}  // namespace
}  // namespace vomtel::api

using namespace vomtel::api;
using vomtel::OrbaAdapter;

extern "C" {

int VOMTEL_CALL vomtelAgentReadyGet(int gate, int, int group, int part, int maxCount,
                                    AgentReadyEntry* entries, uint32_t* count) {
  return Export([&] {
    return ListQuery(entries, count, ListRoom(maxCount, SIZE_MAX),
                     [&](vomtel::AgentList& list) {
                       return vomtel::AgentReadyGet(OrbaAdapter::Instance(), group, part,
                                                    static_cast<std::uint16_t>(maxCount), list,
                                                    gate);
                     },
                     FillReady);
  });
}

int VOMTEL_CALL vomtelAgentReadyGetII(int gate, int, int group, int part, int maxCount,
                                      AgentReadyExEntry* entries, uint32_t* count) {
  return ReadyEx(gate, group, part, maxCount, entries, count, false);
}

int VOMTEL_CALL vomtelAgentReadyGetEx(int gate, int, int group, int part, int maxCount,
                                      AgentReadyExEntry* entries, uint32_t* count) {
  return ReadyEx(gate, group, part, maxCount, entries, count, true);
}

int VOMTEL_CALL vomtelAgentReadyGetCount(int gate, int, int group, int part, int maxCount,
                                         int* count) {
  return ReadyCount(gate, group, part, maxCount, count);
}

int VOMTEL_CALL vomtelAgentReadyGetCountII(int gate, int, int, int group, int part, int maxCount,
                                           int* count) {
  return ReadyCount(gate, group, part, maxCount, count);
}

int VOMTEL_CALL vomtelAgentBusyGet(int, int, int group, int part, int maxCount,
                                   AgentReadyEntry* entries, uint32_t* count) {
  return Busy(group, part, maxCount, entries, count);
}

int VOMTEL_CALL vomtelAgentBusyGetII(int, int, int, int group, int part, int maxCount,
                                     AgentReadyEntry* entries, uint32_t* count) {
  return Busy(group, part, maxCount, entries, count);
}

int VOMTEL_CALL vomtelAgentBusyGetCount(int, int, int group, int part, int maxCount, int* count) {
  return BusyCount(group, part, maxCount, count);
}

int VOMTEL_CALL vomtelAgentBusyGetCountII(int, int, int, int group, int part, int maxCount,
                                          int* count) {
  return BusyCount(group, part, maxCount, count);
}

int VOMTEL_CALL vomtelAgentStatusGet(int gate, int, int mode, int maxCount, int group, int part,
                                     AgentStatusEntry* entries, uint32_t* count, int) {
  return Export([&] {
    return ListExport<vomtel::AgentStatusEntry>(
        entries, count, ListRoom(maxCount, SIZE_MAX),
        [&](vomtel::AgentStatusList& list) {
          return vomtel::AgentStatusGet(OrbaAdapter::Instance(), LowByte(mode), maxCount, group,
                                        part, list, gate);
        },
        [](const vomtel::AgentStatusEntry& from, AgentStatusEntry& to) {
          to.Group = from.group;
          to.Part = from.part;
          to.AgentNumber = static_cast<std::int32_t>(from.agentNumber);
          to.Mode = from.mode;
          PutText(from.name, to.Name);
          to.Dn = static_cast<std::int32_t>(from.dn);
        });
  });
}

int VOMTEL_CALL vomtelQueryAgentStatusEx(int gate, int, const char* agentId, int device,
                                         char* name, int* mode, int* extension, int* blendMode,
                                         int* blockMode, int* time, int, int, int) {
  return Export([&]() -> int {
    if (!name || !mode || !extension || !blendMode || !blockMode || !time) return kNullArgument;
    vomtel::AgentListEntry entry;
    const int result =
        vomtel::QueryAgentStatusEx(OrbaAdapter::Instance(), Text(agentId), device, entry, gate);
    if (result != vomtel::kOk) return result;
    vomtel::CopyToFixed(entry.agentId, std::span<char>(name, 31));
    *mode = entry.agentMode;
    *extension = static_cast<int>(entry.dn);
    *blendMode = entry.blendMode;
    *blockMode = entry.blockMode;
    *time = entry.time;
    return result;
  });
}

int VOMTEL_CALL vomtelMultiAgentGet(int gate, int, const char* deviceDn, const char* agentId,
                                    MultiAgentEntry* entries, uint32_t* count) {
  return Export([&] {
    return ListQuery(entries, count, VOMTEL_CAP_MULTI_AGENT,
                     [&](vomtel::AgentList& list) {
                       return vomtel::MultiAgentGet(OrbaAdapter::Instance(), Text(deviceDn),
                                                    Text(agentId), list, gate);
                     },
                     [](const vomtel::AgentListEntry& from, MultiAgentEntry& to) {
                       to.Number = static_cast<std::int32_t>(from.dn);
                       PutText(from.agentId, to.AgentId);
                     });
  });
}

// The first integer is the query's maximum count.
int VOMTEL_CALL vomtelAgentSkillGet(int gate, int, int first, int second,
                                    SkillAgentEntry* entries, uint32_t* count) {
  return Export([&] {
    return ListQuery(entries, count, ListRoom(first, VOMTEL_CAP_AGENT_LIST),
                     [&](vomtel::AgentList& list) {
                       return vomtel::AgentSkillGet(OrbaAdapter::Instance(), first, second, list,
                                                    gate);
                     },
                     [](const vomtel::AgentListEntry& from, SkillAgentEntry& to) {
                       to.Group = static_cast<std::int32_t>(from.agentGroup);
                       to.Part = static_cast<std::int32_t>(from.agentPart);
                       to.AgentNumber = static_cast<std::int32_t>(from.agentNumber);
                       to.Mode = from.agentMode;
                       to.Time = from.time;
                     });
  });
}

int VOMTEL_CALL vomtelAgentGetBySkill(int gate, int, int tenantId, int skillId, int agentMode,
                                      int stateCount, uint32_t* count, SkillCountEntry* entries) {
  return Export([&]() -> int {
    if (!entries || !count) return kNullArgument;
    const int result = vomtel::AgentGetBySkill(OrbaAdapter::Instance(), tenantId, skillId,
                                               LowByte(agentMode),
                                               static_cast<std::uint16_t>(stateCount), gate);
    // The answer carries no entries.
    if (result == vomtel::kOk) *count = 0;
    return result;
  });
}

}  // extern "C"
