// Queries for one piece of data about the gate, a call, an agent or a queue, and the small
// hand-overs beside them (UEI data, a device list, a password confirmation). Outputs are
// written only from a reply that holds them; a reply that does not gives 3002 for a success.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "vomtel/requests/service/agent_list_records.h"

namespace vomtel {

class OrbaAdapter;

// The most devices MultiAddDevice sends in one request.
inline constexpr std::size_t kMaxMultiDevices = 2000;

// 0x42 0x46: the monitor byte of the gate.
int GetMonitor(OrbaAdapter& adapter, std::uint8_t& monitor, int gate);
// 0x45 0x5F: the CNID of a call.
int CallToCNID(OrbaAdapter& adapter, std::int32_t callId, std::int32_t dn, std::uint32_t& cnid,
               int gate);
// 0x45 0x78: hands the server a call's UEI data.
int UserExInfo(OrbaAdapter& adapter, std::int32_t callId, std::string_view uei, int gate);
// 0x45 0x64: registers `count` devices of `devices` at once. 3040 over kMaxMultiDevices,
// 3009 for a device number 0 or a list shorter than `count`.
int MultiAddDevice(OrbaAdapter& adapter, std::uint8_t dtype, std::uint8_t ext, std::uint16_t count,
                   std::span<const std::uint32_t> devices, int gate);
// 0x45 0xE6: agents of a device or agent id (id and extension), appended to `list`.
int MultiAgentGet(OrbaAdapter& adapter, std::string_view deviceDn, std::string_view agentId,
                  AgentList& list, int gate);
// 0x45 0x5D: agents of a skill (group, part, number, mode, time), appended to `list`.
int AgentSkillGet(OrbaAdapter& adapter, std::int32_t maxcount, std::int32_t skill,
                  AgentList& list, int gate);
// 0x45 0xFB: the ready rate, sent by the server in hundredths.
int AgentReadyRateGet(OrbaAdapter& adapter, std::int32_t value, float& rate, int gate);
// 0x45 0x6E: one agent's state into `entry` (id, mode, extension, blend, block, time, type).
int QueryAgentStatusEx(OrbaAdapter& adapter, std::string_view agentId, std::int32_t dn,
                       AgentListEntry& entry, int gate);
// 0x45 0x82: the two waiting-time numbers of a queue.
int WaitTimeGet(OrbaAdapter& adapter, std::string_view queueDn, std::int32_t tenantId,
                std::uint32_t& first, std::uint32_t& second, int gate);
// 0x57 0x3F: the number of calls waiting ahead of a call.
int NumberOfWait(OrbaAdapter& adapter, std::int32_t sid, std::int32_t callId, std::string_view dn,
                 std::uint32_t& number, int gate);
// 0x45 0xFC: a password confirmation; `uei` (at most 1024 bytes) never reaches the log.
int PwdConfirm(OrbaAdapter& adapter, std::int32_t deviceDn, std::int32_t confirm,
               std::string_view uei, int gate);
// 0x45 0xAB, always on gate 0: a call's UEI and CI texts, each copied into its area cut to
// the area and NUL-terminated (an area of size 0 gets nothing).
int GetUEIData(OrbaAdapter& adapter, std::uint8_t serverId, std::int32_t activeCall,
               std::span<char> ueiArea, std::span<char> ciArea);

}  // namespace vomtel
