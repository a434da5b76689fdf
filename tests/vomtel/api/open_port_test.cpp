// A server port that 16 bits cannot hold is refused before anything is recorded or connected,
// rather than cut to another port (where another server may listen).
#include <gtest/gtest.h>

#include "tools/ctisim/sim_server.h"
#include "vomtel/vomtel.h"

namespace {

TEST(OpenPort, OutsideItsRangeIsRefusedAndNothingConnects) {
  ctisim::SimServer sim;
  const int port = sim.Port();
  const DeviceRecord device{1, 0x50, 0, "3001"};
  // 65536 + port and port - 65536 are the port itself when cut to 16 bits.
  for (const int bad : {port + 65536, port - 65536, 0, -1, 82736}) {
    SCOPED_TRACE(bad);
    int gate = -7;
    EXPECT_EQ(vomtelOpenServer(&gate, 0, &device, sim.Address().c_str(), bad, "", "app", 0, 0),
              VOMTEL_BAD_PORT);
    EXPECT_EQ(vomtelOpenServerHA(&gate, 0, &device, sim.Address().c_str(), sim.Address().c_str(),
                                 bad, "", "app", 0, 0),
              VOMTEL_BAD_PORT);
    EXPECT_EQ(gate, -7);
  }
  EXPECT_EQ(sim.AcceptedConnections(), 0);
}

}  // namespace
