#include "tools/ctisim/agent_state_events.h"

#include "tools/ctisim/frame.h"

namespace ctisim {

Bytes AgentStateEventBody(std::uint8_t code, const AgentStateParties& p) {
  Frame f;
  f.PutStr8(p.device).PutU32(p.monitor_id).PutStr8(p.agent_id).PutStr8(p.group).PutStr8(p.extra);
  if (code == kEventLoggedOff) f.PutU16(0).PutU8(0);
  if (code == kEventNotReady) f.PutU8(0).PutU8(0);
  f.PutU8(p.work_mode).PutU8(p.reason);
  return f.Take();
}

}  // namespace ctisim
