#include "vomtel/requests/call/agent_state.h"

#include "vomtel/requests/call/call_request.h"

namespace vomtel {

int AgentStatus(OrbaAdapter& adapter, std::string_view DN, std::string_view agentId,
                std::string_view agentGroup, std::string_view agentPart, int agentMode,
                int reasoncode, int workMode, int gate) {
  return Guarded([&] {
    const U8 mode(agentMode), reason(reasoncode), work(workMode);
    return RunCall(adapter, gate,
                   {shape::kAgentStatus,
                    {},
                    {Str8{DN}, mode, Str8{agentId}, Str8{agentGroup}, Str8{agentPart}, reason,
                     work},
                    {{"\t\tDN\t\t[", Shown(DN)},
                     {"\t\tagentMode\t\t[", Shown(mode.value)},
                     {"\t\tagentId\t\t[", Shown(agentId)},
                     {"\t\tagentPart\t\t[", Shown(agentPart)},
                     {"\t\tagentGroup\t\t[", Shown(agentGroup)},
                     {"\t\treasoncode\t\t[", Shown(reason.value)},
                     {"\t\tworkMode\t\t[", Shown(work.value)}}});
  });
}

}  // namespace vomtel
