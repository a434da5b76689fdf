// A number of simulators, each with one gate opened on it through the C interface.
#pragma once

#include <memory>
#include <vector>

#include "bench/sim_gate.h"
#include "tools/ctisim/sim_server.h"

namespace vomtel::bench {

struct ServerSet {
  std::vector<std::unique_ptr<ctisim::SimServer>> servers;
  std::vector<std::unique_ptr<SimGate>> gates;

  // Opens one gate on each server; false when one did not open.
  bool Open();
};

// `count` simulators, no gate open yet.
ServerSet StartServers(int count);

}  // namespace vomtel::bench
