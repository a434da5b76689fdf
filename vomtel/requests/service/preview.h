// Preview dialling: a call placed for a campaign entry on behalf of an agent.
#pragma once

#include <cstdint>
#include <string_view>

namespace vomtel {

class OrbaAdapter;

// 0x45 0xF8. The reply is read from its first byte (the result at bytes 6-9).
int PreviewMakeCall(OrbaAdapter& adapter, std::uint32_t ciodId, std::uint32_t cpid, std::uint32_t cpsq,
                    std::string_view employeeId, std::uint32_t dialKind, int gate);

}  // namespace vomtel
