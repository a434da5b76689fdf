// Exports of the monitor and of device registration.
#include <string>
#include <vector>

#include "vomtel/api/export_guard.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/requests/call/device_requests.h"
#include "vomtel/requests/service/data_queries.h"
#include "vomtel/vomtel.h"

using namespace vomtel::api;
using vomtel::OrbaAdapter;

extern "C" {

int VOMTEL_CALL vomtelMonitorStart(int gate, int) {
  return Export([&] { return OrbaAdapter::Instance().Proxy().MonitorStart(gate); });
}

int VOMTEL_CALL vomtelMonitorStop(int gate, int) {
  return Export([&] { return OrbaAdapter::Instance().Proxy().MonitorStop(gate); });
}

int VOMTEL_CALL vomtelGetMonitor(int gate, int, int* monitor) {
  return Export([&] {
    if (!monitor) return kNullArgument;
    std::uint8_t value = 0;
    const int result = vomtel::GetMonitor(OrbaAdapter::Instance(), value, gate);
    if (result == vomtel::kOk) *monitor = value;
    return result;
  });
}

int VOMTEL_CALL vomtelAddDevice(int gate, int, const DeviceRecord* device) {
  return Export([&] {
    if (!device) return kNullArgument;
    return vomtel::AddDevice(OrbaAdapter::Instance(), FieldText(device->Device), device->DeviceType,
                             LowByte(device->LinkMode), gate);
  });
}

int VOMTEL_CALL vomtelMultiAddDevice(int gate, int, const DeviceRecord* device, int count,
                                     const uint32_t* devices) {
  return Export([&] {
    // The count is checked whole, before anything is read through `devices`.
    if (count < 0 || count > VOMTEL_MAX_DEVICES) return static_cast<int>(vomtel::kTooManyDevices);
    if (!device || (count > 0 && !devices)) return kNullArgument;
    const std::vector<std::uint32_t> list(devices, devices + count);
    return vomtel::MultiAddDevice(OrbaAdapter::Instance(), LowByte(device->DeviceType),
                                  LowByte(device->LinkMode), static_cast<std::uint16_t>(count),
                                  list, gate);
  });
}

int VOMTEL_CALL vomtelRemoveDevice(int gate, int, const char* device) {
  return Export([&] { return vomtel::RemoveDevice(OrbaAdapter::Instance(), Text(device), gate); });
}

}  // extern "C"
