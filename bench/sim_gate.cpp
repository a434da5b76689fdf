#include "bench/sim_gate.h"

#include <chrono>
#include <cstring>
#include <exception>

#include "vomtel/core/orba_adapter.h"
#include "vomtel/vomtel.h"

namespace vomtel::bench {
namespace {

constexpr std::chrono::milliseconds kKeepAlive{250};

DeviceRecord AgentDevice() {
  DeviceRecord device{};
  device.DeviceType = 1;
  device.HeaderByte = kHeaderByte;
  device.LinkMode = 0;
  std::strncpy(device.Device, kAgentDn, sizeof device.Device - 1);
  return device;
}

}  // namespace

std::unique_ptr<ctisim::SimServer> StartServer(const char* address, std::uint8_t activeFlag,
                                               std::uint16_t port) {
  ctisim::SimOptions options;
  options.address = address;
  options.port = port;
  options.open.active_flag = activeFlag;
  auto server = std::make_unique<ctisim::SimServer>(options);
  server->SetKeepAlive(kKeepAlive);
  return server;
}

ServerPair StartServerPair() {
  constexpr int kAttempts = 5;  // the port may be taken on the second address
  for (int attempt = 1;; ++attempt) {
    ServerPair pair;
    pair.active = StartServer("127.0.0.1", 1);
    try {
      pair.standby = StartServer("127.0.0.2", 0, pair.active->Port());
      return pair;
    } catch (const std::exception&) {
      if (attempt == kAttempts) throw;
    }
  }
}

SimGate::SimGate(const ctisim::SimServer& server) {
  const DeviceRecord device = AgentDevice();
  result_ = vomtelOpenServer(&gate_, 0, &device, server.Address().c_str(), server.Port(), "TCP",
                             "bench", 0, 0);
}

SimGate::SimGate(const ctisim::SimServer& first, const ctisim::SimServer& second) {
  const DeviceRecord device = AgentDevice();
  result_ = vomtelOpenServerHA(&gate_, 0, &device, first.Address().c_str(),
                               second.Address().c_str(), first.Port(), "TCP", "bench", 0, 0);
}

SimGate::~SimGate() {
  if (gate_ >= 0) vomtelCloseServer(gate_, 0);
}

int MakeCall(int gate) {
  return vomtelMakeCall(gate, 0, kAgentDn, kFarEnd, "", "", "", nullptr, nullptr, nullptr, nullptr);
}

void SetGateLogLevel(int gate, int level) {
  for (const auto& session : OrbaAdapter::Instance().Proxy().Table().Sessions(gate)) {
    session->Logger().SetLevel(level);
  }
}

}  // namespace vomtel::bench
