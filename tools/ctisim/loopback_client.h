// A plain blocking TCP client for tests that talk to a server over loopback: writes bytes,
// reads whole frames with a deadline, notices the end of the link.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "tools/ctisim/frame_decoder.h"
#include "tools/ctisim/reply_rule.h"
#include "tools/ctisim/wire.h"

namespace ctisim {

class LoopbackClient {
 public:
  // Connects at once; connected() tells whether it worked.
  LoopbackClient(const std::string& address, std::uint16_t port);
  ~LoopbackClient();
  LoopbackClient(const LoopbackClient&) = delete;
  LoopbackClient& operator=(const LoopbackClient&) = delete;

  bool connected() const { return connected_; }
  // Writes all bytes; false when the link is gone.
  bool Write(const Bytes& bytes);
  // The next whole frame, or nothing when none came within `timeout` or the link ended.
  std::optional<Bytes> ReadFrame(Millis timeout);
  // True when the peer ends the link within `timeout` (frames that arrive meanwhile are kept).
  bool WaitClosed(Millis timeout);
  // How many reads brought bytes (pieces of a split send arrive in several).
  int reads() const { return reads_; }

 private:
  bool ReadSome(std::chrono::steady_clock::time_point deadline);

  int fd_ = -1;
  bool connected_ = false;
  bool closed_ = false;
  int reads_ = 0;
  FrameDecoder decoder_;
};

}  // namespace ctisim
