// The waiting calls of a queue (as counts per period or as a list of calls) and the skill
// master of a tenant. The two waiting-call queries share class and code 0x45 0x84; their
// bodies differ. Entries are appended to the caller's list in reply order.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "vomtel/requests/service/queue_records.h"

namespace vomtel {

class OrbaAdapter;

// 0x45 0x84: interval, queue. Appends the periods whatever the result.
int WaitingCallTimePeriod(OrbaAdapter& adapter, std::uint32_t interval, std::string_view queue,
                          std::vector<WaitingPeriodEntry>& list, int gate);
// 0x45 0x84: queue. Appends the waiting calls whatever the result.
int WaitingCallListOfQueue(OrbaAdapter& adapter, std::string_view queue,
                           std::vector<QueueEntry>& list, int gate);
// 0x45 0xD2: tenant. Appends the skills on result 1.
int GetSkillMaster(OrbaAdapter& adapter, std::uint32_t tenantId,
                   std::vector<SkillMasterItem>& list, int gate);

}  // namespace vomtel
