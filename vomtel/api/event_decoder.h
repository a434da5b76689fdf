// The event decoder: one received event frame in, the decoded EventRecord and the texts for
// the session log out. No socket and no session in sight; the fetch (event_fetch.h) takes
// the frame from the gate and hands the texts to the gate's log.
//
// Frame: a 30-byte head (first byte, length, class, event code at byte 4, session byte and
// word, the time stamp at bytes 8-16, three unused numbers, server id, switch type and call
// kind at bytes 27-29), then the body of the event code. A frame whose first byte is 0xA4 is
// the server-down notice. Bytes beyond the frame read as 0 (event_cursor.h).
#pragma once

#include <cstdint>

#include "platform/time/local_time.h"
#include "vomtel/api/event_log_text.h"
#include "vomtel/api/event_record.h"
#include "vomtel/core/stream.h"

namespace vomtel {

struct EventContext {
  std::uint8_t version = 0;  // header byte of the gate's active session
  int gate = 0;              // shown in the log texts
  LocalTime (*clock)() = LocalTimeNow;  // time stamp of the server-down event
};

// Decodes `frame` from its read position into `record` (which should be new) and returns
// the log texts in order. The notice 0xA4 gives eventId 999 with the local time; a code
// without a body gives the head's values; an HA notice (a frame of one byte 17 or 18) gives
// eventId 0 and no text. Never reads outside the frame. Without `withLog` no text is built
// and none is returned; the record is the same.
EventLogTexts DecodeEvent(const Stream& frame, const EventContext& context, EventRecord& record,
                          bool withLog = true);

// The name after "vomtelGetEvent-" in the log, or empty for a code without one.
const char* EventLogName(std::int32_t code);

}  // namespace vomtel
