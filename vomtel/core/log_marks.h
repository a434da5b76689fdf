// The marks in front of some packet log lines: characters of the Korean code page CP949,
// written as their bytes.
#pragma once

#include <string_view>

namespace vomtel {

inline constexpr std::string_view kMarkQueued = "\xA2\xB7\xA2\xB7";          // two white left triangles
inline constexpr std::string_view kMarkSent = "\xA1\xE3\xA1\xE3\xA1\xE3";    // three black up triangles
inline constexpr std::string_view kMarkEvent = "\xA1\xDF\xA1\xDF\xA1\xDF";   // three black diamonds

}  // namespace vomtel
