// A client connection of SimServer as its server thread keeps it.
#pragma once

#include <optional>
#include <vector>

#include "tools/ctisim/frame_decoder.h"
#include "tools/ctisim/sim_server.h"

namespace ctisim {

struct SimServer::Connection {
  int id = 0;
  int fd = -1;
  FrameDecoder decoder;
  std::vector<Batch> waiting;
  std::optional<Batch> current;
  bool blocked = false;  // the last send would have blocked: wait for POLLOUT
};

}  // namespace ctisim
