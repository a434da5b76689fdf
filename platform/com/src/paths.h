// Per-user file locations of the runtime.
#pragma once

#include <string>

namespace vomcom::detail {

// $name when set and not empty, else $fallbackVar/suffix, else $HOME/homeSuffix/suffix.
std::string UserPath(const char* name, const char* fallbackVar, const char* homeSuffix,
                     const char* suffix);
// mkdir -p of the folder that holds path; false when it cannot be made.
bool MakeParentDirs(const std::string& path);

}  // namespace vomcom::detail
