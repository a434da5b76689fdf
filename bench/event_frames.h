// Call event frames as the simulator sends them to the benchmark's agent.
#pragma once

#include <cstdint>

#include "tools/ctisim/call_events.h"
#include "tools/ctisim/wire.h"

namespace vomtel::bench {

// One call event (4 delivered, 6 established, 3 cleared, 10 originated) of call `callId`.
ctisim::Bytes CallEvent(std::uint8_t code, std::uint32_t callId);

// `count` call events one after another, codes cycling delivered, established, cleared, call
// ids from `firstCallId` on.
ctisim::Bytes CallEventBurst(int count, std::uint32_t firstCallId);

}  // namespace vomtel::bench
