#include "bench/server_set.h"

namespace vomtel::bench {

bool ServerSet::Open() {
  for (auto& server : servers) {
    gates.push_back(std::make_unique<SimGate>(*server));
    if (!gates.back()->ok()) return false;
  }
  return true;
}

ServerSet StartServers(int count) {
  ServerSet set;
  for (int i = 0; i < count; ++i) set.servers.push_back(StartServer());
  return set;
}

}  // namespace vomtel::bench
