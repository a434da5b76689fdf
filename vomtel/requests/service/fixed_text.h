// Copying a server's text into a caller's fixed character area.
#pragma once

#include <span>
#include <string_view>

namespace vomtel {

// Copies `text` into `area`, cut to leave room for the terminating NUL, which is always
// written. An empty area gets nothing. Returns the number of text bytes copied.
std::size_t CopyToFixed(std::string_view text, std::span<char> area);

}  // namespace vomtel
