// OrbaAdapter: the one object behind the library's exported functions. It holds the settings
// read from vomtel.ini, the request counter of the request operations and the session proxy.
//
// Instance creates it once per process (thread-safe) and destroys it at exit; the destruction
// stops every session without sending anything to the servers.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "vomtel/core/session_proxy.h"
#include "vomtel/core/settings.h"
#include "vomtel/core/timings.h"

namespace vomtel {

// The folder that the session logs go to, under LOGPATH.
inline constexpr const char* kLogFolderName = "vomtellog";

class OrbaAdapter {
 public:
  // The process's adapter, made on first use with LoadSettings() and default timings.
  static OrbaAdapter& Instance();

  // A stand-alone adapter (tests).
  explicit OrbaAdapter(Settings settings, const Timings& timings = Timings{});
  OrbaAdapter(const OrbaAdapter&) = delete;
  OrbaAdapter& operator=(const OrbaAdapter&) = delete;

  CSessionProxy& Proxy() { return proxy_; }
  const Settings& GetSettings() const { return settings_; }
  // Timings of the sessions added from now on (tests shrink them).
  Timings GetTimings() const { return proxy_.GetTimings(); }
  void SetTimings(const Timings& timings) { proxy_.SetTimings(timings); }

  // Advances the process-wide 16-bit request counter (1 after construction) and returns the
  // new value: the first call gives 2; after 65535 comes 0. Safe from any thread.
  std::uint16_t NextRequestNumber() { return static_cast<std::uint16_t>(counter_.fetch_add(1) + 1); }
  // The counter as it stands, not advanced: the number taken last (1 before any).
  std::uint16_t RequestCounter() const { return counter_.load(); }

  // Records one server under the gate being assembled; nothing is sent. Always 1.
  int AddServer(const std::string& ip, std::uint16_t port, std::uint8_t ext, std::uint8_t dType,
                const std::string& dn, const std::string& app, std::uint8_t version,
                std::uint16_t headerWord);
  // Applies LEVEL, LOGPATH (folder "vomtellog") and JPUTF to the sessions being assembled,
  // opens them (CSessionProxy::Open with HEARTBEAT_PERIOD and IOCONTEXT_SEC/USEC), writes
  // "VOMTEL.dll version[<version>]\n" for gate 0 and returns the open's result (1 or 3014).
  int OpenServer(int* gate);

  // Writes `text` at level 1 into the log of the gate's active session; nothing when the gate
  // has none.
  void Log(std::string_view text, int gate);
  // Whether a line of `level` for the gate's log would be written: false when the gate has no
  // active session or that session's threshold is below `level`. One lookup of the gate.
  bool LogEnabled(int gate, int level);
  // Version byte of the gate's active session, 0 when none.
  std::uint8_t GetVersion(int gate) { return proxy_.GetVersion(gate); }
  // CSessionProxy::SetLogFile(directory, "vomtellog").
  int SetLogPath(const std::string& directory);

 private:
  Settings settings_;
  std::atomic<std::uint16_t> counter_{1};
  CSessionProxy proxy_;  // last: its sessions stop before the rest goes
};

}  // namespace vomtel
