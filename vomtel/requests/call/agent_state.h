// The agent-state request: log in, log out, not ready with a reason, ready, other work,
// after-call work (agent modes 0-5, sent as their low byte and not checked).
#pragma once

#include <string_view>

namespace vomtel {

class OrbaAdapter;

// Class 0x41, code 0xDD. The server's result word, or 3007, 3025 (a text over 255 bytes), 2,
// 3013, 3014, 3112.
int AgentStatus(OrbaAdapter& adapter, std::string_view DN, std::string_view agentId,
                std::string_view agentGroup, std::string_view agentPart, int agentMode,
                int reasoncode, int workMode, int gate);

}  // namespace vomtel
