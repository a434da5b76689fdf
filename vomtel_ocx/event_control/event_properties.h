// The event control's 84 properties: read-outs of the last fetched EventData record.
//
// One row per property, in DISPID order (the DISPID is the row's position, from 1). A row names
// the field by its offset and width in the library's public EventData layout and the format in
// which a get shows it; every property is a text on the automation side.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "vomtel/vomtel_event.h"

namespace vomtelx {

enum class FieldFormat : uint8_t {
  kSigned,       // "%d" of a 32-bit signed integer
  kByte,         // "%d" of an unsigned byte
  kUnsigned,     // "%u" of a 32-bit unsigned integer
  kChar,         // "%c" of one byte; a zero byte is the empty text
  kText,         // the NUL-terminated text of the field, read within the field
  kTimeStamp,    // "%04d/%02d/%02d %02d:%02d:%02d" of six signed 16-bit values
};

struct EventProperty {
  int32_t dispid;
  const char* name;     // as the type library spells it (lookup by name ignores case)
  uint16_t offset;      // in EventData
  uint16_t width;       // bytes of the field
  FieldFormat format;
  bool writable;        // a put is taken and its value discarded
  bool declaredLong;    // declared as a long in the type library (still a text when read)
};

inline constexpr size_t kEventPropertyCount = 84;

// The rows, DISPID 1 to 84.
std::span<const EventProperty> EventProperties();

// The property's field of `record` as narrow text (the code page of the desk, as the library
// delivered it).
std::string FormatEventField(const EventProperty& property, const EventData& record);

}  // namespace vomtelx
