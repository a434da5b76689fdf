// Trimming of leading and trailing characters that belong to a set.
#pragma once

#include <string>
#include <string_view>

namespace vomtel {

// Blank, tab, carriage return and line feed: what the configuration reader trims.
inline constexpr std::string_view kBlankChars = " \t\r\n";

// A copy of `text` without its leading characters that occur in `set`.
std::string TrimLeft(std::string_view text, std::string_view set = kBlankChars);
// A copy of `text` without its trailing characters that occur in `set`.
std::string TrimRight(std::string_view text, std::string_view set = kBlankChars);
// TrimRight then TrimLeft; a text made only of set characters becomes empty.
std::string Trim(std::string_view text, std::string_view set = kBlankChars);

}  // namespace vomtel
