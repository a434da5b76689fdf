// Outbound requests: agent count, the maximum calls per second of a campaign (asked and
// answered), the black list (insert and answer) and the calling-list service. A request and
// its answer share class and code (0x45 0xF6, 0x45 0xF7); the answer's prefix carries the
// server's request id between the session id and the request number.
#pragma once

#include <cstdint>
#include <string_view>

#include "vomtel/requests/service/outbound_records.h"

namespace vomtel {

class OrbaAdapter;

// 0x45 0x5D: how many agents match `reqlist` (at most 1024 bytes) and the two modes.
int GetAgentCount(OrbaAdapter& adapter, std::string_view reqlist, std::uint8_t agentMode,
                  std::uint8_t blendMode, std::uint32_t& agentCount, int gate);
// 0x45 0xF6: the third of the reply's three numbers goes to `maxcpsq`.
int GetMaxCPSQ(OrbaAdapter& adapter, std::uint32_t ciodId, std::uint32_t cpid,
               std::uint32_t& maxcpsq, int gate);
// 0x45 0xF6 answer to the server's request `gateTo`: result, ciodID, cpid, maxcpsq. Sent
// without waiting; 1 when sent.
int GetMaxCPSQResult(OrbaAdapter& adapter, std::uint32_t gateTo, std::uint32_t ciodId,
                     std::uint32_t cpid, std::uint32_t maxcpsq, std::uint32_t result, int gate);
// 0x45 0xF7: puts a customer on the black list; the reply is read from its first byte.
int BlackListInsert(OrbaAdapter& adapter, std::uint32_t ciod, const BlackListEntry& entry, int gate);
// 0x45 0xF7 answer to the server's request `gateTo`. Sent without waiting; 1 when sent.
int BlackListInsertResult(OrbaAdapter& adapter, std::uint32_t gateTo, std::uint32_t result, int gate);
// 0x45 0xD5: a calling-list service command; 3002 when the reply names another service type.
int CallingListService(OrbaAdapter& adapter, std::uint16_t serviceType, std::uint32_t campaignId,
                       std::uint32_t callingId, std::uint32_t toListCount, std::uint8_t actionFlag,
                       int gate);

}  // namespace vomtel
