// Creating and removing campaigns.
#pragma once

#include <cstdint>

#include "vomtel/requests/service/outbound_records.h"

namespace vomtel {

class OrbaAdapter;

// 0x45 0xFA: sends a whole campaign definition; the reply, read from its first byte, gives
// the result and the new campaign's id (stored whatever the result). 3040 when a count of
// the record is above the room of its array.
int CreateCampaign(OrbaAdapter& adapter, std::uint32_t& campaignId, const CampaignRecord& record,
                   int gate);
// 0x45 0xFB: removes a campaign (the low byte of `mode` is sent).
int DestoryCampaign(OrbaAdapter& adapter, std::uint32_t ciod, std::uint32_t cpid, std::uint32_t mode,
                    int gate);

}  // namespace vomtel
