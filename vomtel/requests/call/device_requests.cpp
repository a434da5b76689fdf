#include "vomtel/requests/call/device_requests.h"

#include <cstdint>
#include <string>

#include "vomtel/core/logger.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/requests/call/request_exchange.h"

namespace vomtel {

namespace {

void LogQuietly(OrbaAdapter& adapter, const std::string& text, int gate) noexcept {
  try {
    adapter.Log(text, gate);
  } catch (...) {
    // The line is dropped; the result stands.
  }
}

// The checks before anything is logged: a gate without sessions, a DN its str8 cannot hold.
int CheckDevice(OrbaAdapter& adapter, std::string_view DN, int gate) {
  if (!adapter.Proxy().HasSessions(gate)) return kNoSession;
  return CheckTexts({{DN, kStr8Limit}});
}

}  // namespace

int AddDevice(OrbaAdapter& adapter, std::string_view DN, int dType, int ext, int gate) {
  return Guarded([&] {
    if (const int checked = CheckDevice(adapter, DN, gate); checked != kOk) return checked;
    const std::uint16_t counter = adapter.RequestCounter();
    if (adapter.LogEnabled(gate, kLogInfo)) {
      adapter.Log(RequestLog("vomtelAddDevice: gate[", gate, counter)
                      .Field("\t\tdType\t\t[", std::int64_t{dType})
                      .Field("\t\text\t\t[", std::int64_t{static_cast<std::uint8_t>(ext)})
                      .Field("\t\tDn\t\t[", DN)
                      .Text(),
                  gate);
    }
    const int result = adapter.Proxy().AddDevice(std::string(DN), static_cast<std::uint8_t>(dType),
                                                 static_cast<std::uint8_t>(ext), gate);
    if (adapter.LogEnabled(gate, kLogInfo)) {
      LogQuietly(adapter, LabelOutcomeLine("vomtelAddDevice [result][invoke] : [", result, counter),
                 gate);
    }
    return result;
  });
}

int RemoveDevice(OrbaAdapter& adapter, std::string_view DN, int gate) {
  return Guarded([&] {
    if (const int checked = CheckDevice(adapter, DN, gate); checked != kOk) return checked;
    const std::uint16_t counter = adapter.RequestCounter();
    if (adapter.LogEnabled(gate, kLogInfo)) {
      adapter.Log(
          RequestLog("vomtelRemoveDevice: gate[", gate, counter).Field("\t\tDn\t\t[", DN).Text(),
          gate);
    }
    const int result = adapter.Proxy().RemoveDevice(std::string(DN), gate);
    if (adapter.LogEnabled(gate, kLogInfo)) {
      LogQuietly(adapter,
                 LabelOutcomeLine("vomtelRemoveDevice [result][invoke] : [", result, counter),
                 gate);
    }
    return result;
  });
}

}  // namespace vomtel
