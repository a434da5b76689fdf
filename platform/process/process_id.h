// Id of the running process.
#pragma once

namespace vomtel {

int ProcessId();

}  // namespace vomtel
