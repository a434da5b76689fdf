#include "vomtel/requests/service/campaign_status.h"

#include "vomtel/requests/service/service_request.h"

namespace vomtel {

int CampaignStatus(OrbaAdapter& adapter, std::uint32_t ciod, std::uint32_t cpid, std::uint8_t mode,
                   int gate) {
  return RunService(adapter, gate,
                    {shape::kCampaignStatus,
                     {},
                     {U32(ciod), U32(cpid), U8(mode)},
                     {{"\t\tciod\t\t[", ciod}, {"\t\tcpid\t\t[", cpid}, {"\t\tmode\t\t[", mode}}});
}

int SystemPreview(OrbaAdapter& adapter, std::uint32_t ciod, std::uint32_t cpid,
                  std::string_view agentId, std::uint8_t mode, int gate) {
  return RunService(adapter, gate,
                    {shape::kSystemPreview,
                     {},
                     {U32(ciod), U32(cpid), Str8{agentId}, U8(mode)},
                     {{"\t\tciod\t\t[", ciod},
                      {"\t\tcpid\t\t[", cpid},
                      {"\t\tagentId\t\t[", agentId},
                      {"\t\tmode\t\t[", mode}}});
}

int CampaignInfo(OrbaAdapter& adapter, std::uint32_t callId, std::string_view sysData, int gate) {
  return RunService(adapter, gate,
                    {shape::kCampaignInfo,
                     {},
                     {U32(callId), Str16{sysData}},
                     {{"\t\tcallID\t\t[", callId}, {"\t\tsysData\t\t[", sysData}}});
}

int SystemPreviewState(OrbaAdapter& adapter, std::uint32_t ciod, std::uint32_t cpid,
                       std::string_view agentId, int gate) {
  return RunService(adapter, gate,
                    {shape::kSystemPreviewState,
                     {},
                     {U32(ciod), U32(cpid), Str8{agentId}},
                     {{"\t\tciod\t\t[", ciod}, {"\t\tcpid\t\t[", cpid}, {"\t\tagentId\t\t[", agentId}}});
}

}  // namespace vomtel
