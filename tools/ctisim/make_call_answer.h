// How the simulator program answers a make-call request: the reply, then the events of the
// call it started (originated, delivered, established, cleared, and so on round), one every
// `spacing`, on the request's connection. The reply is queued before the first event, so an
// event never overtakes it however late the server thread gets the processor.
#pragma once

#include <cstdint>
#include <functional>

#include "tools/ctisim/reply_rule.h"

namespace ctisim {

class SimServer;

struct MakeCallEvents {
  int count = 4;
  Millis spacing{50};  // before the first event and between two events
};

// The rule for class 0x41 code 0x65 on `sim`. `version_of` gives the version byte that a
// connection opened with, which decides the layout of its event bodies. The reply goes out as
// built: it is not sealed in an envelope.
ReplyRule MakeCallRule(SimServer& sim, MakeCallEvents events,
                       std::function<std::uint8_t(int connection)> version_of);

}  // namespace ctisim
