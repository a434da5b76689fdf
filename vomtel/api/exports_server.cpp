// Exports that open and close gates and set the library's log.
#include <string>

#include "vomtel/api/export_guard.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/vomtel.h"

namespace vomtel::api {
namespace {

// Levels above 3 are taken as 3; lower values pass unchanged.
int LogLevel(int level) { return level > 3 ? 3 : level; }

int Open(int* gate, const DeviceRecord* device, std::initializer_list<const char*> servers,
         int port, const char* application, int headerWord) {
  if (!device) return kNullArgument;
  // A port that 16 bits cannot hold is refused, not cut to another server's port.
  if (port < 1 || port > 0xFFFF) return vomtel::kBadPort;
  OrbaAdapter& adapter = OrbaAdapter::Instance();
  const std::string app(Text(application));
  const std::string dn(FieldText(device->Device));
  for (const char* server : servers) {
    adapter.AddServer(std::string(Text(server)), static_cast<std::uint16_t>(port),
                      LowByte(device->LinkMode), LowByte(device->DeviceType), dn, app,
                      LowByte(device->HeaderByte), static_cast<std::uint16_t>(headerWord));
  }
  return adapter.OpenServer(gate);
}

}  // namespace
}  // namespace vomtel::api

using namespace vomtel::api;

extern "C" {

int VOMTEL_CALL vomtelOpenServer(int* gate, int, const DeviceRecord* device,
                                 const char* serverName, int port, const char*,
                                 const char* application, int, int headerWord) {
  return Export([&] { return Open(gate, device, {serverName}, port, application, headerWord); });
}

int VOMTEL_CALL vomtelOpenServerHA(int* gate, int, const DeviceRecord* device,
                                   const char* serverName, const char* secondServerName,
                                   int port, const char*, const char* application, int,
                                   int headerWord) {
  return Export([&] {
    return Open(gate, device, {serverName, secondServerName}, port, application, headerWord);
  });
}

int VOMTEL_CALL vomtelCloseServer(int gate, int) {
  return Export([&] {
    if (gate >= 0) vomtel::OrbaAdapter::Instance().Proxy().Close(gate);
    return static_cast<int>(vomtel::kOk);
  });
}

int VOMTEL_CALL vomtelCloseServerHA(int gate, int invoke) { return vomtelCloseServer(gate, invoke); }

int VOMTEL_CALL vomtelSetIni(int level, const char* folder) {
  return Export([&] {
    vomtel::OrbaAdapter& adapter = vomtel::OrbaAdapter::Instance();
    adapter.Proxy().SetLogLevel(LogLevel(level));
    return adapter.SetLogPath(std::string(Text(folder)));
  });
}

int VOMTEL_CALL vomtelSetLogLevel(int level) {
  return Export([&] {
    vomtel::OrbaAdapter::Instance().Proxy().SetLogLevel(LogLevel(level));
    return static_cast<int>(vomtel::kOk);
  });
}

int VOMTEL_CALL vomtelSetLogPath(const char* folder) {
  return Export([&] { return vomtel::OrbaAdapter::Instance().SetLogPath(std::string(Text(folder))); });
}

int VOMTEL_CALL vomtelGetOrbaVersion(int gate, int* version) {
  return Export([&] {
    if (!version) return kNullArgument;
    *version = vomtel::OrbaAdapter::Instance().GetVersion(gate);
    return static_cast<int>(vomtel::kOk);
  });
}

}  // extern "C"
