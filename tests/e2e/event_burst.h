// A burst of the switch's events for the desk and window tests: delivered calls in one write,
// with call ids of their own, and the order in which the desk logged them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/e2e/harness/desk_events.h"
#include "tests/e2e/harness/desk_log.h"

namespace desk::test {

inline constexpr std::uint32_t kBurst = 2000;
inline constexpr std::uint32_t kFirstBurstCall = 50001;  // apart from the switch's own ids

// Delivered events of the calls kFirstBurstCall ... in order, for the agent `dn`.
std::vector<CallEvent> DeliveredBurst(const std::string& dn);

// The desk's log line of the burst's call `call` delivered.
std::string DeliveredLine(std::uint32_t call);

// The burst's calls in the order the desk logged them as delivered.
std::vector<std::uint32_t> HandledBurstCalls(const DeskLog& log);

// kFirstBurstCall ... in order: what HandledBurstCalls gives once every event was handled.
std::vector<std::uint32_t> WholeBurst();

}  // namespace desk::test
