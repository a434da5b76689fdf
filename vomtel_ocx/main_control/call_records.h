// The library's fixed records that the request methods fill from their arguments: each is a
// local of one call, zero-filled, and dead after it. A text is cut to what its field holds.
#pragma once

#include <cstdint>
#include <string_view>

#include "vomtel/vomtel.h"

namespace vomtelx {

// Bytes of a call's device kept in a ConnectionId: the rest of its array stays zero, so the
// device is always NUL-terminated.
inline constexpr std::size_t kConnectionDeviceBytes = 24;
// Bytes of a device number kept in a DeviceRecord.
inline constexpr std::size_t kDeviceRecordBytes = sizeof(DeviceRecord::Device) - 1;
// The header byte of every DeviceRecord the control builds.
inline constexpr std::int32_t kDeviceHeaderByte = 48;

ConnectionId MakeConnectionId(std::int32_t callId, std::u16string_view device);

// UEI and CI data: at most 1,027 bytes, NUL after, Length the bytes copied.
void FillUserData(UserDataBlock& block, std::u16string_view text);

// Private data: at most 1,023 bytes at byte 36, Length (byte 32) the bytes copied.
void FillPrivateData(PrivateDataBlock& block, std::u16string_view text);

// Device type 0, header byte 48, the link mode, the device number (at most 23 bytes).
DeviceRecord MakeDeviceRecord(std::int32_t linkMode, std::u16string_view device);

}  // namespace vomtelx
