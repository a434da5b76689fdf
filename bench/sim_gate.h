// A simulator and the gates the benchmarks open on it through the library's C interface.
#pragma once

#include <cstdint>
#include <memory>

#include "tools/ctisim/sim_server.h"

namespace vomtel::bench {

// The header byte the gates open with: events then carry the ucid text.
inline constexpr std::uint8_t kHeaderByte = 0x50;
inline constexpr const char* kAgentDn = "5001";
inline constexpr const char* kFarEnd = "01012345678";

// A simulator on `address` and `port` (0: a free one) that opens sessions with `activeFlag`
// (1 active, 0 standby) and sends keep-alive frames, so that an idle gate outlives the run's
// short silence limit. Throws when the address and port cannot be bound.
std::unique_ptr<ctisim::SimServer> StartServer(const char* address = "127.0.0.1",
                                               std::uint8_t activeFlag = 1, std::uint16_t port = 0);

// The two servers of an HA gate: the active one on 127.0.0.1, the standby on 127.0.0.2, on
// the same port (the HA open takes one port for both).
struct ServerPair {
  std::unique_ptr<ctisim::SimServer> active;
  std::unique_ptr<ctisim::SimServer> standby;
};
ServerPair StartServerPair();

// One gate opened with vomtelOpenServer (one server) or vomtelOpenServerHA (two), closed with
// vomtelCloseServer when it goes.
class SimGate {
 public:
  explicit SimGate(const ctisim::SimServer& server);
  SimGate(const ctisim::SimServer& first, const ctisim::SimServer& second);
  ~SimGate();
  SimGate(const SimGate&) = delete;
  SimGate& operator=(const SimGate&) = delete;

  bool ok() const { return result_ == 1; }
  int Result() const { return result_; }
  int Gate() const { return gate_; }

 private:
  int gate_ = -1;
  int result_ = 0;
};

// One vomtelMakeCall on the gate, with the same texts every time: its result.
int MakeCall(int gate);

// The log level of every session of an open gate (the benchmarks that show the cost of the
// log lines raise it; the run's default is the LEVEL of its vomtel.ini).
void SetGateLogLevel(int gate, int level);

}  // namespace vomtel::bench
