// The desk's narrow code page (process-wide setting; conversions through iconv).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vomcom::detail {

// At most limit bytes, never half a character; unmappable characters as '?'.
std::string NarrowFromUtf16(std::u16string_view text, size_t limit);
// Bytes that are no character of the code page become '?'.
std::u16string Utf16FromNarrow(std::string_view narrow);

}  // namespace vomcom::detail
