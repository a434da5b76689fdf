// Event parameters made from the library's entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "vomcom/bstr.h"
#include "vomcom/variant.h"

namespace vomtelx {

// A NUL-terminated narrow text of an entry's field (read at most to the field's end).
template <std::size_t N>
vomcom::Variant EntryText(const char (&field)[N]) {
  return vomcom::Variant(vomcom::Bstr::FromNarrow(field, N));
}

inline vomcom::Variant Long(std::int32_t value) { return vomcom::Variant(value); }
inline vomcom::Variant Short(std::int32_t value) {
  return vomcom::Variant(static_cast<std::int16_t>(value));
}
inline vomcom::Variant HostText(std::u16string_view text) {
  return vomcom::Variant(vomcom::Bstr(text));
}

}  // namespace vomtelx
