// The library's four-part file version, fixed at build time.
#pragma once

#include <string>

namespace vomtel {

// The version as "major.minor.patch.build" (for example "1.0.0.1"), or "unknown version"
// when the build gave none.
std::string FileVersionText();

}  // namespace vomtel
