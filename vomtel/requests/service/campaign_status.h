// Starting and stopping campaigns and the system preview dialling of an agent, the campaign
// data of a call and the preview state of an agent. Each hands back the server's result.
#pragma once

#include <cstdint>
#include <string_view>

namespace vomtel {

class OrbaAdapter;

inline constexpr std::uint8_t kStartMode = 1;
inline constexpr std::uint8_t kStopMode = 0;

// 0x45 0xF0: `mode` 1 starts the campaign, 0 stops it.
int CampaignStatus(OrbaAdapter& adapter, std::uint32_t ciod, std::uint32_t cpid, std::uint8_t mode,
                   int gate);
// 0x45 0xF1: `mode` 1 starts the agent's system preview, 0 stops it.
int SystemPreview(OrbaAdapter& adapter, std::uint32_t ciod, std::uint32_t cpid,
                  std::string_view agentId, std::uint8_t mode, int gate);
// 0x45 0x8C: the campaign data of a call.
int CampaignInfo(OrbaAdapter& adapter, std::uint32_t callId, std::string_view sysData, int gate);
// 0x45 0xF2: the system preview state of an agent; nothing behind the reply head is read.
int SystemPreviewState(OrbaAdapter& adapter, std::uint32_t ciod, std::uint32_t cpid,
                       std::string_view agentId, int gate);

}  // namespace vomtel
