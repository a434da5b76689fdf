// Shared pieces of the loopback tests: short timings and condition waits.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <utility>
#include <vector>
#include <thread>

#include "tools/ctisim/sim_server.h"
#include "vomtel/core/session.h"
#include "vomtel/core/socket_service.h"
#include "vomtel/core/timings.h"

namespace vomtel::test {

using std::chrono::milliseconds;

// Class and code bytes of the requests the tests look for, as the simulator knows them.
using ctisim::kClassCall;
using ctisim::kClassMonitor;
using ctisim::kClassSession;
using ctisim::kCodeAddDevice;
using ctisim::kCodeClose;
using ctisim::kCodeMakeCall;
using ctisim::kCodeMonitorStart;
using ctisim::kCodeMonitorStop;
using ctisim::kCodeOpen;

// The periods short, so that a test over loopback runs in well under a second per step. The
// waits for a reply, a send or a connect stay at a second: on a loaded machine running a
// sanitizer build, the simulator's first answer may take some hundred milliseconds.
inline Timings ShortTimings() {
  Timings timings;
  timings.sendWait = milliseconds(1000);
  timings.connectTimeout = milliseconds(1000);
  timings.replyUnit = milliseconds(1000);
  timings.retryPeriod = milliseconds(150);
  timings.activeCheckPeriod = milliseconds(20);
  timings.activeChecks = 50;  // a fail-over wait of one second
  return timings;
}

// How long a test waits for something that should happen soon. Generous: only a failing test
// waits it out, and a loaded machine running a sanitizer build may be many times slower than
// a quiet one.
inline constexpr milliseconds kPatience{10000};

// Polls `condition` every few milliseconds until it holds or `timeout` has passed.
inline bool WaitUntil(const std::function<bool()>& condition, milliseconds timeout = kPatience) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(milliseconds(5));
  }
  return true;
}

inline ctisim::SimOptions SimAt(const char* address, std::uint8_t activeFlag = 1,
                                std::uint32_t sessionId = 0x00010001) {
  ctisim::SimOptions options;
  options.address = address;
  options.open.active_flag = activeFlag;
  options.open.session_id = sessionId;
  return options;
}

// Class and code of each request, in the order they came.
inline std::vector<std::pair<int, int>> ClassesAndCodes(
    const std::vector<ctisim::Request>& requests) {
  std::vector<std::pair<int, int>> out;
  for (const auto& request : requests) out.emplace_back(request.cls, request.code);
  return out;
}

// Waits until the session's link has ended and its connection-lost notice is queued: the
// service marks itself stopped a moment before it posts the notice, so Stopped() alone does
// not mean that an event fetch would see it.
inline bool WaitLinkLost(CSession& session, milliseconds timeout = kPatience) {
  return WaitUntil(
      [&] { return session.Stopped() && session.Socket().RecvQueue().EventCount() > 0; }, timeout);
}

// The connections that reached `server` before this call, counted once the server has
// accepted every one of them: a probe connects behind them, the server closes what it accepts,
// and the probe's end is awaited (the backlog is accepted in order). -1 when the probe is not
// accepted within kPatience. The server serves what it accepts again afterwards.
inline int AcceptedBeforeProbe(ctisim::SimServer& server) {
  server.SetAcceptMode(ctisim::AcceptMode::kCloseAtOnce);
  int counted = -1;
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd >= 0) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(server.Port());
    if (::inet_pton(AF_INET, server.Address().c_str(), &to.sin_addr) == 1 &&
        ::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) {
      pollfd ended{fd, POLLIN, 0};
      char byte = 0;
      if (::poll(&ended, 1, static_cast<int>(kPatience.count())) == 1 &&
          ::recv(fd, &byte, 1, 0) <= 0) {
        counted = server.AcceptedConnections() - 1;
      }
    }
    ::close(fd);
  }
  server.SetAcceptMode(ctisim::AcceptMode::kServe);
  return counted;
}

}  // namespace vomtel::test
