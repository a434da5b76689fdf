// Bodies of the usual call events (originated, delivered, established, cleared), for the
// simulator program and for tests that want a plausible call without spelling out its bytes.
#pragma once

#include <cstdint>
#include <string>

#include "tools/ctisim/wire.h"

namespace ctisim {

inline constexpr std::uint8_t kEventConnectionCleared = 3;
inline constexpr std::uint8_t kEventDelivered = 4;
inline constexpr std::uint8_t kEventEstablished = 6;
inline constexpr std::uint8_t kEventOriginated = 10;

struct CallParties {
  std::string monitored;       // the monitored device (the agent's DN)
  std::string other;           // the far end
  std::uint32_t call_id = 1;   // callRefId, also the tagged block's number id
  std::uint8_t version = 0;    // the session's version byte: 0x50 adds the ucid text, 0x28 and
                               // 0x50 carry the number id as text
};

// The body (from frame byte 30) of call event `code` (3, 4, 6 or 10): the common prefix, the
// event's parties, then a tagged field block holding the number id.
Bytes CallEventBody(std::uint8_t code, const CallParties& parties);

}  // namespace ctisim
