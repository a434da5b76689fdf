// The copy of a decoded EventRecord into the caller's EventData.
#pragma once

#include "vomtel/api/event_record.h"
#include "vomtel/vomtel_event.h"

namespace vomtel {

// Writes `record`, decoded with result `decodeResult`, into `out`:
// - no event (decodeResult 3010, or the record's eventId is 0): EventKind 0, nothing else
//   written, returns 3010;
// - otherwise bytes 0-4311 are zeroed first; 999 writes EventKind and TimeStamp only; every
//   other event writes every field the record fills (texts cut to the field's size less one
//   and NUL-terminated, UEILen and CILen the bytes copied), TypeIE the sub-code's low byte,
//   and for event 200 with sub-code 100, 101 or 107 the PrivateEvent union; 107 is shown as
//   EventKind 254 with its pop-up fields over MonitorParty, Type, VoiceLength, VoicePosition,
//   ThirdPartyTrunk and ThirdPartyType. Returns decodeResult (1).
// Bytes 4312 and on are never written. A null `out` gives 3009.
int CopyEventRecord(const EventRecord& record, int decodeResult, EventData* out);

}  // namespace vomtel
