#include "agentphone/core/desk_folder.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

#include "agentphone/core/desk_settings.h"

namespace agentphone {

std::optional<std::string> ProcessEnv(const char* name) {
  const char* v = std::getenv(name);
  if (!v || !*v) return std::nullopt;
  return std::string(v);
}

std::filesystem::path ResolveDeskFolder(const std::optional<std::string>& homeOption,
                                        const EnvLookup& env) {
  if (homeOption && !homeOption->empty()) return *homeOption;
  if (auto v = env("AGENTPHONE_HOME")) return *v;
  if (auto v = env("XDG_CONFIG_HOME")) return std::filesystem::path(*v) / "agentphone";
  if (auto v = env("HOME")) return std::filesystem::path(*v) / ".config" / "agentphone";
  return {};
}

std::string DefaultSettingsText() {
  std::string t;
  auto line = [&t](std::string_view s) {
    t.append(s);
    t += "\r\n";
  };
  line("; Settings of the agent program (UTF-8). A missing key reads as empty.");
  line("[SOFTPHONE]");
  line("; LOGIN=1 logs in at start with ID and DN; DB=1 enables the call-back and abandoned-call");
  line("; lists and the database check.");
  line("LOGIN=0");
  line("DB=0");
  line("; VIEW=1 horizontal window, anything else vertical; ONTOP and AUTOREADY are 1 or 0.");
  line("VIEW=0");
  line("ID=");
  line("DN=");
  line("ONTOP=0");
  line("AUTOREADY=0");
  line("POPUP=0");
  line("; REC: prefix of the recording-link page, e.g. http://rec.example/");
  line("REC=");
  line("; PORT: TCP port of the local dial-request listener.");
  line("PORT=");
  line("");
  line("; Primary and standby CTI servers of the high-availability open.");
  line("[CTIINFO]");
  line("IP=");
  line("IP2=");
  line("PORT=");
  line("");
  line("; Names shown for extensions in the consultation dialog: extension=name");
  line("[DNINFO]");
  line("");
  line("; Installation settings; each can also be given on the command line as --option VALUE.");
  t.append("[").append(kDeskSection).append("]\r\n");
  for (const DeskSetting& s : DeskSettingTable()) {
    t.append("; ").append(s.description).append(" (--").append(s.option).append(")\r\n");
    t.append(s.key).append("=").append(s.defaultValue).append("\r\n");
  }
  return t;
}

bool PrepareDeskFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (!std::filesystem::is_directory(folder, ec)) return false;
  const std::filesystem::path ini = folder / std::string(kSettingsFile);
  if (!std::filesystem::exists(ini, ec)) {
    std::ofstream out(ini, std::ios::binary);
    std::string text = DefaultSettingsText();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  return true;
}

}  // namespace agentphone
