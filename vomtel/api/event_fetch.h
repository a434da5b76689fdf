// The event fetch: the next queued event of a gate, decoded, logged and copied into the
// caller's EventData. The exported vomtelGetEvent calls GetEvent.
#pragma once

#include "vomtel/api/event_record.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/vomtel_event.h"

namespace vomtel {

// Takes the gate's next event frame (CSessionProxy::Notify, which never waits for an event
// to arrive but may wait out the fail-over), decodes it into `record` (which should be new)
// with the header byte of the gate's active session and writes the decoder's texts into the
// gate's log. 1 when a frame was taken, whether or not it held an event (an HA notice leaves
// eventId 0; a lost gate gives 999); otherwise the fetch's result (3010 when none waits),
// with the record untouched.
int Event(OrbaAdapter& adapter, EventRecord& record, int gate);

// One poll of the gate's events: 1 when an event was written into `out` (bytes 0-4311 zeroed
// first, then its fields; the server-down event 999 included), 3010 when there was none (only
// EventKind is written, 0). A null `out` gives 3009 without fetching, so no event is lost.
// An exception inside gives 3112 (EventKind 0). Never throws.
int GetEvent(OrbaAdapter& adapter, int gate, EventData* out);

}  // namespace vomtel
