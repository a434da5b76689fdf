// Handles one read of a dial-request connection: checks the request, dials through the main
// window's core when it may, and says what to send back and whether to close the connection.
// Runs on the user-interface thread; the listener only moves bytes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "agentphone/core/dial_server/dial_request.h"
#include "agentphone/core/soft_phone_port.h"

namespace agentphone {

struct DialOutcome {
  std::optional<std::string> reply;  // bytes to send once, when set
  bool close = false;                // end the connection (a malformed or oversized read)
};

class DialRequestHandler {
 public:
  explicit DialRequestHandler(SoftPhonePort& phone,
                              std::size_t maxRequestBytes = kMaxDialRequestBytes);

  // One read is one request. Writes the log lines "[RECV]"/"[SEND]" (or "전문형식이 틀림
  // [RECV]" for a read that is refused), each with at most kLoggedBytes of the text, and, for a request that passes the checks, stores the
  // customer key and shows "BUSY" only when "MAKECALL" returned 1.
  DialOutcome HandleReceived(std::string_view received);

  std::size_t MaxRequestBytes() const { return maxRequestBytes_; }

  // How much of a read, or of its reply, goes into a log line.
  static constexpr std::size_t kLoggedBytes = 1024;

 private:
  std::string Decide(const DialRequest& request);

  SoftPhonePort& phone_;
  std::size_t maxRequestBytes_;
};

}  // namespace agentphone
