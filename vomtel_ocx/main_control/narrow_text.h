// Host texts (UTF-16) as the narrow texts of the desk's code page, which the library takes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vomtelx {

// The whole text in the narrow code page (characters without a narrow form become '?').
std::string NarrowText(std::u16string_view text);

// Copies the narrow text into a field of `size` bytes: at most size - 1 bytes, cut on a
// character boundary, then a NUL. Returns the bytes copied (without the NUL). Nothing is
// written when size is 0.
std::size_t CopyNarrow(std::u16string_view text, char* field, std::size_t size);

// Copies at most `width` bytes of the narrow text into a field of that width, cut on a
// character boundary; a text that fills the field has no NUL after it. Returns the bytes copied.
std::size_t CopyNarrowFill(std::u16string_view text, char* field, std::size_t width);

// A narrow text cut to a field of `size` bytes (at most size - 1 bytes, on a character boundary).
std::string NarrowCut(std::u16string_view text, std::size_t size);

// The host's text back from a narrow text of the library (at most maxBytes bytes, up to a NUL).
std::u16string WideText(const char* narrow, std::size_t maxBytes);

}  // namespace vomtelx
