// Agent settings on the server (blocking, wait mode) and the UEI data of a call.
// AgentBlocking and AgentBlockingEx share class and code 0x45 0xCB; their bodies differ.
#pragma once

#include <cstdint>
#include <string_view>

namespace vomtel {

class OrbaAdapter;

// 0x45 0xCB: agent id, blocking time.
int AgentBlocking(OrbaAdapter& adapter, std::string_view agentId, std::uint32_t btime, int gate);
// 0x45 0xCB, always on gate 0: agent id, blocking time, campaign name, campaign id, source;
// the reply's two numbers go to `validSec` and `setter` (whatever the result).
int AgentBlockingEx(OrbaAdapter& adapter, std::string_view agentId, std::uint32_t btime,
                    std::uint32_t campaignId, std::string_view campaignName, std::uint32_t source,
                    std::uint32_t& validSec, std::uint32_t& setter);
// 0x45 0x5A: the agent's wait mode (its low byte is sent).
int AgentFlag(OrbaAdapter& adapter, std::string_view agentId, std::uint32_t waitMode, int gate);
// 0x45 0xAA: a call's UEI data (at most 1024 bytes).
int SetUEIData(OrbaAdapter& adapter, std::uint8_t serverId, std::uint32_t activeCall,
               std::string_view uei, int gate);

}  // namespace vomtel
