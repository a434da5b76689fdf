// The call-back list insert and the per-agent call load of the campaigns.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "vomtel/requests/service/outbound_records.h"

namespace vomtel {

class OrbaAdapter;

// 0x45 0xC9: puts a customer on the call-back list of `ciodId`. The reply, read from its
// first byte, fills `result`; returns 1 (3002 for a reply too short to hold it).
int CallbackListInsert(OrbaAdapter& adapter, std::uint32_t ciodId, const CallbackInsertRecord& record,
                       CallbackResult& result, int gate);
// 0x45 0xD6: the call load of one agent per campaign. Returns the reply's status; on 1 the
// campaigns are appended to `list`.
int MaxCallLoadAgent(OrbaAdapter& adapter, std::string_view employeeId,
                     std::vector<MaxCallLoadEntry>& list, int gate);

}  // namespace vomtel
