// The agent's desk folder as an installation leaves it: SOFTPHONE.ini with the program's own
// sections ([SOFTPHONE], [CTIINFO], [DNINFO]) and the installation section [AGENTPHONE], and
// a stand-in browser that records the command line of every screen pop.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace desk {

struct DeskConfig {
  std::string agentId = "A100";
  std::string dn = "4001";
  bool autoLogin = true;       // LOGIN
  bool autoReady = false;      // AUTOREADY
  bool database = false;       // DB
  std::uint16_t dialPort = 0;  // PORT; 0: any free port
  std::string rec;             // REC, the recording-link prefix
  // [AGENTPHONE]
  std::string server = "127.0.0.1";
  std::uint16_t serverPort = 0;
  std::string customerWeb;
  std::string recordingWeb;
  std::string callbackDb;  // empty: the embedded database
  std::string statsDb;
  std::string browser;  // empty: the recording stand-in of the folder
  int httpTimeoutMs = 0;  // HTTP_TIMEOUT_MS; 0: the program's default
  int dbCheckMs = 0;      // DB_CHECK_MS; 0: the program's default
  std::vector<std::pair<std::string, std::string>> dnNames;  // [DNINFO]
};

inline constexpr char kBrowserCallsFile[] = "browser-calls.txt";

// Writes SOFTPHONE.ini and the stand-in browser (browser.sh) into `folder`, which must exist.
void WriteDeskFolder(const std::filesystem::path& folder, const DeskConfig& config);

// The screen pops so far: the arguments of each start of the stand-in browser.
std::vector<std::vector<std::string>> BrowserCalls(const std::filesystem::path& folder);

}  // namespace desk
