// The body readers of the event decoder, one per family. Each reads its body from the
// cursor (at byte 30 of the frame) into the record and appends its log text to `log`; a null
// `log` means the text is not wanted, and it is not built.
#pragma once

#include <string_view>

#include "vomtel/api/event_cursor.h"
#include "vomtel/api/event_decoder.h"
#include "vomtel/api/event_log_text.h"
#include "vomtel/api/event_record.h"

namespace vomtel {

// Call events 2-14, with the tagged field block.
void DecodeCallEvent(EventCursor& cursor, const EventContext& context, EventRecord& record,
                     EventLogTexts* log);
// Phone features 102, 103, 105, 106, 107.
void DecodeFeatureEvent(EventCursor& cursor, const EventContext& context, EventRecord& record,
                        EventLogTexts* log);
// Agent states 201-206.
void DecodeAgentStateEvent(EventCursor& cursor, const EventContext& context,
                           EventRecord& record, EventLogTexts* log);
// 250, 251 and the password confirmation 253.
void DecodeOtherEvent(EventCursor& cursor, const EventContext& context, EventRecord& record,
                      EventLogTexts* log);
// Private event 200.
void DecodePrivateEvent(EventCursor& cursor, const EventContext& context, EventRecord& record,
                        EventLogTexts* log);

// A text as the log shows it: up to its first NUL.
std::string_view LogText(const std::string& text);
// The same through MaskNumber.
std::string MaskedText(const std::string& text);

}  // namespace vomtel
