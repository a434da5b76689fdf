// Calling lists of a campaign and the call-back campaigns of an outbound record, as requests
// and as answers to the server's own requests. A request and its answer share class and
// code (0x45 0xF5, 0x45 0xC8); the answer's prefix carries the server's request id.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "vomtel/requests/service/outbound_records.h"

namespace vomtel {

class OrbaAdapter;

// The most entries CallbackCampaignResult sends: as many as fit one request frame.
inline constexpr std::size_t kMaxCallbackCampaignEntries = 680;

// 0x45 0xF5: hands the server a calling list.
int SetCampaignListHandle(OrbaAdapter& adapter, const CampaignListHandle& handle, int gate);
// 0x45 0xF5 answer to the server's request `gateTo`; waits for the reply, returns its result.
int CampaignListHandleResult(OrbaAdapter& adapter, std::uint32_t gateTo, std::uint32_t result,
                             int gate);
// 0x45 0xC8: the call-back campaigns of `ciodId`. Returns the reply's status; on status 1 the
// caller's list is replaced by the reply's entries, otherwise it is left as it was. Uses two
// request numbers when a reply came.
int CallbackCampaign(OrbaAdapter& adapter, std::uint32_t ciodId,
                     std::vector<CallbackCampaignEntry>& list, int gate);
// 0x45 0xC8 answer to the server's request `gateTo` with a list of call-back campaigns (at
// most kMaxCallbackCampaignEntries, else 3040); waits for the reply, returns its result.
int CallbackCampaignResult(OrbaAdapter& adapter, std::uint32_t gateTo, std::uint32_t ciodId,
                           std::span<const CallbackCampaignEntry> list, int gate);

}  // namespace vomtel
