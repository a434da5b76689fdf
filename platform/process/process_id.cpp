#include "platform/process/process_id.h"

#include <unistd.h>

namespace vomtel {

int ProcessId() { return static_cast<int>(::getpid()); }

}  // namespace vomtel
