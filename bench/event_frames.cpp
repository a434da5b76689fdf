#include "bench/event_frames.h"

#include "bench/sim_gate.h"
#include "tools/ctisim/call_events.h"
#include "tools/ctisim/frame.h"

namespace vomtel::bench {

ctisim::Bytes CallEvent(std::uint8_t code, std::uint32_t callId) {
  return ctisim::EventFrame(code,
                            ctisim::CallEventBody(code, {kAgentDn, kFarEnd, callId, kHeaderByte}));
}

ctisim::Bytes CallEventBurst(int count, std::uint32_t firstCallId) {
  static constexpr std::uint8_t kCodes[] = {ctisim::kEventDelivered, ctisim::kEventEstablished,
                                            ctisim::kEventConnectionCleared};
  ctisim::Bytes burst;
  for (int i = 0; i < count; ++i) {
    const ctisim::Bytes frame =
        CallEvent(kCodes[i % 3], firstCallId + static_cast<std::uint32_t>(i));
    burst.insert(burst.end(), frame.begin(), frame.end());
  }
  return burst;
}

}  // namespace vomtel::bench
