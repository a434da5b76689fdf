// The form in which telephone numbers appear in log lines.
#pragma once

#include <string>
#include <string_view>

namespace vomtel {

// `number` up to its first NUL; when that holds 7 characters or more its last 4 are
// replaced by '*' (length unchanged), a shorter text comes back as it is.
std::string MaskNumber(std::string_view number);

}  // namespace vomtel
