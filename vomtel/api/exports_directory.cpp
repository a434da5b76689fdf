// Exports of the agent directory queries.
#include <string>

#include "vomtel/api/export_guard.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/requests/service/agent_directory.h"
#include "vomtel/vomtel.h"

namespace vomtel::api {
namespace {

// The caller's read-count text: char[1025].
constexpr std::size_t kReadCountSize = 1025;

void FillAgent(const AgentListEntry& from, AgentExEntry& to) {
  PutText(from.tenant, to.Tenant);
  PutText(from.groupName, to.Group);
  PutText(from.device, to.Dn);
  PutText(from.partName, to.Part);
  PutText(from.agentId, to.AgentId);
  PutText(from.agentName, to.Name);
  to.Mode = from.agentMode;
  to.BlendMode = from.blendMode;
  to.BlockMode = from.blockMode;
  to.Time = from.time;
}

}  // namespace
}  // namespace vomtel::api

using namespace vomtel::api;
using vomtel::OrbaAdapter;

extern "C" {

int VOMTEL_CALL vomtelGetAgent(int gate, int, const char* text1, const char* text2,
                               const char* text3, const char* text4, const char* text5,
                               const char* text6, const char* text7, AgentExEntry* entries,
                               uint32_t* count, const char* text8) {
  return Export([&] {
    const vomtel::AgentDirectoryQuery query{Text(text1), Text(text2), Text(text3), Text(text4),
                                            Text(text5), Text(text6), Text(text7), {},
                                            Text(text8)};
    return ListExport<vomtel::AgentListEntry>(
        entries, count, VOMTEL_CAP_AGENT_LIST,
        [&](vomtel::AgentList& list) {
          return vomtel::GetAgent(OrbaAdapter::Instance(), query, list, gate);
        },
        FillAgent);
  });
}

int VOMTEL_CALL vomtelGetAgentEx(int gate, int, const char* dn, const char* id,
                                 const char* skill, const char* tenant, const char* group,
                                 const char* part, const char* mode, const char* blend,
                                 AgentExEntry* entries, char* readCount, uint32_t* count,
                                 const char* maxCount) {
  return Export([&]() -> int {
    if (!entries || !readCount || !count) return kNullArgument;
    const vomtel::AgentDirectoryQuery query{Text(dn),    Text(id),   Text(skill),
                                            Text(tenant), Text(group), Text(part),
                                            Text(mode),  Text(blend), Text(maxCount)};
    vomtel::AgentList list;
    std::string reads;
    std::uint32_t total = 0;
    const int result = vomtel::GetAgentEx(OrbaAdapter::Instance(), query, list, reads, total, gate);
    if (result != vomtel::kOk) return result;
    vomtel::CopyToFixed(reads, std::span<char>(readCount, kReadCountSize));
    *count = CopyEntries(list, entries, VOMTEL_CAP_AGENT_LIST,
                         [](const vomtel::AgentListEntry& from, AgentExEntry& to) {
                           FillAgent(from, to);
                           PutText(from.skill, to.Skills);
                         });
    return result;
  });
}

}  // extern "C"
