// Device registration and removal for a gate. The work is the gate proxy's: each session of
// the gate sends the device request with its own counter (so the standby knows the device
// too, and a re-opened session registers it again); these operations log it and return the
// active session's result.
#pragma once

#include <string_view>

namespace vomtel {

class OrbaAdapter;

// 3007 when the gate has no session, 3025 for a DN over 255 bytes (nothing logged or sent),
// 3014 when no session is active, else the active session's result; 3112 on an exception.
// The device type and link mode go out as their low bytes.
int AddDevice(OrbaAdapter& adapter, std::string_view DN, int dType, int ext, int gate);
int RemoveDevice(OrbaAdapter& adapter, std::string_view DN, int gate);

}  // namespace vomtel
