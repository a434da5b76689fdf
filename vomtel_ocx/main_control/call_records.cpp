#include "vomtel_ocx/main_control/call_records.h"

#include "vomtel_ocx/main_control/narrow_text.h"

namespace vomtelx {

ConnectionId MakeConnectionId(std::int32_t callId, std::u16string_view device) {
  ConnectionId call{};
  call.CallId = callId;
  CopyNarrow(device, call.Device, kConnectionDeviceBytes + 1);
  return call;
}

void FillUserData(UserDataBlock& block, std::u16string_view text) {
  block = UserDataBlock{};
  block.Length = static_cast<std::int32_t>(CopyNarrow(text, block.Text, sizeof block.Text));
}

void FillPrivateData(PrivateDataBlock& block, std::u16string_view text) {
  block = PrivateDataBlock{};
  block.Length = static_cast<std::int32_t>(CopyNarrow(text, block.Text, sizeof block.Text));
}

DeviceRecord MakeDeviceRecord(std::int32_t linkMode, std::u16string_view device) {
  DeviceRecord record{};
  record.DeviceType = 0;
  record.HeaderByte = kDeviceHeaderByte;
  record.LinkMode = linkMode;
  CopyNarrow(device, record.Device, sizeof record.Device);
  return record;
}

}  // namespace vomtelx
