#include "platform/version/file_version.h"

#ifndef VOMTEL_FILE_VERSION
#define VOMTEL_FILE_VERSION ""
#endif

namespace vomtel {

std::string FileVersionText() {
  const std::string version = VOMTEL_FILE_VERSION;
  return version.empty() ? "unknown version" : version;
}

}  // namespace vomtel
