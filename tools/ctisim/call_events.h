// Bodies of the usual call events (originated, delivered, established, held, retrieved,
// cleared), for the simulator program, its flows and for tests that want a plausible call
// without spelling out its bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "tools/ctisim/wire.h"

namespace ctisim {

inline constexpr std::uint8_t kEventConnectionCleared = 3;
inline constexpr std::uint8_t kEventDelivered = 4;
inline constexpr std::uint8_t kEventEstablished = 6;
inline constexpr std::uint8_t kEventHeld = 8;
inline constexpr std::uint8_t kEventOriginated = 10;
inline constexpr std::uint8_t kEventRetrieved = 12;

struct CallParties {
  std::string monitored;       // the monitored device (the agent's DN)
  std::string other;           // the far end
  std::uint32_t call_id = 1;   // callRefId, also the tagged block's number id
  std::uint8_t version = 0;    // the session's version byte: 0x50 adds the ucid text, 0x28 and
                               // 0x50 carry the number id and queue number as text
};

// Call data beyond the parties; empty texts and unset numbers are left out of the tagged block.
struct CallData {
  std::string uei;                     // user-entered data (tag 0xB3)
  std::string ci;                      // call information (tag 0xB4)
  std::optional<std::uint32_t> cnid;   // the number id (tag 0xB0); default: the call id
  std::optional<std::uint32_t> queue;  // queue device number (tag 0xB5)
  std::uint32_t cause = 0;             // eventCause
};

// The body (from frame byte 30) of call event `code` (3, 4, 6, 8, 10 or 12): the common prefix,
// the event's parties, then a tagged field block holding the number id and the call data.
Bytes CallEventBody(std::uint8_t code, const CallParties& parties, const CallData& data = {});

}  // namespace ctisim
