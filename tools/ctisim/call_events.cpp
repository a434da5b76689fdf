#include "tools/ctisim/call_events.h"

#include "tools/ctisim/frame.h"

namespace ctisim {

Bytes CallEventBody(std::uint8_t code, const CallParties& p, const CallData& d) {
  constexpr std::uint8_t kPartyType = 1;
  Frame f;
  f.PutStr8(p.monitored).PutU32(p.call_id).PutStr8("").PutU32(p.call_id);
  f.PutU32(code == kEventConnectionCleared ? 0 : 3).PutU32(d.cause);
  if (p.version == 0x50) f.PutStr8("UCID" + std::to_string(p.call_id));
  switch (code) {
    case kEventOriginated:
      f.PutTaggedStr8(kPartyType, p.other).PutTaggedStr8(kPartyType, p.other);
      f.PutTaggedStr8(kPartyType, p.monitored);
      break;
    case kEventDelivered:
      f.PutTaggedStr8(kPartyType, p.other).PutTaggedStr8(0, "");
      f.PutTaggedStr8(kPartyType, p.other).PutTaggedStr8(kPartyType, p.monitored);
      f.PutU32(0).PutU32(0).PutU8(0).PutU32(0);
      break;
    case kEventEstablished:
      f.PutTaggedStr8(kPartyType, p.other).PutTaggedStr8(0, "");
      f.PutTaggedStr8(kPartyType, p.other);
      break;
    default:
      f.PutTaggedStr8(kPartyType, p.other);
      break;
  }
  const bool text_numbers = p.version == 0x28 || p.version == 0x50;
  const std::uint32_t cnid = d.cnid.value_or(p.call_id);
  f.PutU8(0xAA).PutU8(0xB0);
  if (text_numbers) {
    f.PutStr8(std::to_string(cnid));
  } else {
    f.PutU32(cnid);
  }
  if (!d.uei.empty()) f.PutU8(0xB3).PutStr16(d.uei);
  if (!d.ci.empty()) f.PutU8(0xB4).PutStr16(d.ci);
  if (d.queue) {
    f.PutU8(0xB5);
    if (text_numbers) {
      f.PutStr8(std::to_string(*d.queue));
    } else {
      f.PutU32(*d.queue);
    }
  }
  f.PutU8(0xFF);
  return f.Take();
}

}  // namespace ctisim
