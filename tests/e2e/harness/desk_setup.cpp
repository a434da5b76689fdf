#include "tests/e2e/harness/desk_setup.h"

#include <sys/stat.h>

#include <fstream>
#include <sstream>

namespace desk {
namespace {

void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

std::string BrowserScript(const std::filesystem::path& calls) {
  // One line per start: its arguments separated by tabs (a URL holds no tab).
  // The line is written with one printf, so that a reader never sees half of it.
  return "#!/bin/sh\n"
         "tab=$(printf '\\t')\n"
         "line=call\n"
         "for a in \"$@\"; do line=\"$line$tab$a\"; done\n"
         "printf '%s\\n' \"$line\" >> '" +
         calls.string() + "'\n";
}

}  // namespace

void WriteDeskFolder(const std::filesystem::path& folder, const DeskConfig& c) {
  const std::filesystem::path script = folder / "browser.sh";
  WriteText(script, BrowserScript(folder / kBrowserCallsFile));
  ::chmod(script.c_str(), 0755);

  std::ostringstream ini;
  auto line = [&](const std::string& text) { ini << text << "\r\n"; };
  line("[SOFTPHONE]");
  line(std::string("LOGIN=") + (c.autoLogin ? "1" : "0"));
  line(std::string("DB=") + (c.database ? "1" : "0"));
  line("VIEW=0");
  line("ID=" + c.agentId);
  line("DN=" + c.dn);
  line("ONTOP=0");
  line(std::string("AUTOREADY=") + (c.autoReady ? "1" : "0"));
  line("POPUP=0");
  line("REC=" + c.rec);
  line("PORT=" + std::to_string(c.dialPort));
  line("");
  line("[CTIINFO]");
  line("IP=" + c.server);
  line("IP2=" + c.server);
  line("PORT=" + std::to_string(c.serverPort));
  line("");
  line("[DNINFO]");
  for (const auto& [dn, name] : c.dnNames) line(dn + "=" + name);
  line("");
  line("[AGENTPHONE]");
  line("SERVER=" + c.server);
  line("SERVER_PORT=" + std::to_string(c.serverPort));
  line("CUSTOMER_WEB=" + c.customerWeb);
  line("RECORDING_WEB=" + c.recordingWeb);
  line("CALLBACK_DB=" + c.callbackDb);
  line("STATS_DB=" + c.statsDb);
  line("DIAL_BIND=127.0.0.1");
  line("BROWSER=" + (c.browser.empty() ? script.string() + " %u" : c.browser));
  if (c.httpTimeoutMs > 0) line("HTTP_TIMEOUT_MS=" + std::to_string(c.httpTimeoutMs));
  if (c.dbCheckMs > 0) line("DB_CHECK_MS=" + std::to_string(c.dbCheckMs));
  WriteText(folder / "SOFTPHONE.ini", ini.str());
}

std::vector<std::vector<std::string>> BrowserCalls(const std::filesystem::path& folder) {
  std::vector<std::vector<std::string>> calls;
  std::ifstream in(folder / kBrowserCallsFile, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> args;
    std::size_t start = line.find('\t');
    while (start != std::string::npos) {
      const std::size_t next = line.find('\t', start + 1);
      args.push_back(
          line.substr(start + 1, next == std::string::npos ? std::string::npos : next - start - 1));
      start = next;
    }
    calls.push_back(std::move(args));
  }
  return calls;
}

}  // namespace desk
