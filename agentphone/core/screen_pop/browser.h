// A browser that opens a page and can end what it opened. Handles are unique across every
// browser of the program (NextBrowserHandle), so a handle can be handed to all of them and only
// its owner acts on it.
#pragma once

#include <cstdint>
#include <string>

namespace agentphone {

class Browser {
 public:
  virtual ~Browser() = default;
  // Opens the page. Returns the handle of what was started, or 0 when nothing was started or
  // what was started cannot be ended again.
  virtual int64_t Open(const std::string& url) = 0;
  // Ends what Open returned the handle of; 0, an unknown or an ended handle does nothing.
  virtual void End(int64_t handle) = 0;
};

// A new handle, never 0, never given twice in a run. User-interface thread only.
int64_t NextBrowserHandle();

}  // namespace agentphone
