#include "vomtel/api/tagged_fields.h"

#include <string>

namespace vomtel {

bool SendsTextIds(std::uint8_t version) { return version == 0x28 || version == 0x50; }

void ParseEventFields(EventCursor& cursor, EventRecord& record, std::uint8_t version) {
  bool found = false;
  for (int i = 0; i < kTagSearchLength && !found; ++i) found = cursor.U8() == kTagStart;
  if (!found) return;

  record.cnid = 0;
  record.cnsq = 0;
  record.queueDN = 0;
  record.queueWait = 0;
  const bool textIds = SendsTextIds(version);
  for (int count = 0; count < kMaxTags; ++count) {
    const std::uint8_t tag = cursor.U8();
    switch (tag) {
      case 0xB0:
        if (textIds) {
          record.cnidText = cursor.Str8();
        } else {
          record.cnid = cursor.U32();
          record.cnidText = std::to_string(record.cnid);
        }
        break;
      case 0xB1:
        record.cnsq = cursor.U16();
        break;
      case 0xB2:
        record.ctype = cursor.U8();
        break;
      case 0xB3:
        record.uei = cursor.Str16();
        break;
      case 0xB4:
        record.ci = cursor.Str16();
        break;
      case 0xB5:
        if (textIds) {
          record.queueDNText = cursor.Str8();
        } else {
          record.queueDN = cursor.U32();
          record.queueDNText = std::to_string(static_cast<std::int32_t>(record.queueDN));
        }
        break;
      case 0xB6:
        record.queueWait = cursor.U32();
        break;
      default:
        break;
    }
    if (tag == kTagEnd) return;
  }
}

}  // namespace vomtel
