// The tagged field block that closes the body of a call event.
//
// Within the first 20 bytes a start marker 0xAA; then tags, each one byte, most with a value:
// 0xB0 number id (u32, or a str8 from sessions with header byte 0x28 or 0x50), 0xB1 its
// sequence (u16), 0xB2 call type (u8), 0xB3 UEI (str16), 0xB4 CI (str16), 0xB5 queue device
// (u32, or a str8 from sessions 0x28 and 0x50), 0xB6 queue wait (u32); 0xFF ends the block;
// any other byte is a tag without a value. At most 1001 tags are read.
#pragma once

#include <cstdint>

#include "vomtel/api/event_cursor.h"
#include "vomtel/api/event_record.h"

namespace vomtel {

inline constexpr std::uint8_t kTagStart = 0xAA;
inline constexpr std::uint8_t kTagEnd = 0xFF;
inline constexpr int kTagSearchLength = 20;
inline constexpr int kMaxTags = 1001;

// True for the session header bytes whose sessions send the number id and the queue device
// as texts (and the device of the password confirmation).
bool SendsTextIds(std::uint8_t version);

// Reads the block from the cursor's position into the record. Without a marker in the first
// 20 bytes those 20 bytes are consumed and the record is left as it was.
void ParseEventFields(EventCursor& cursor, EventRecord& record, std::uint8_t version);

}  // namespace vomtel
