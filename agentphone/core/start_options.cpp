#include "agentphone/core/start_options.h"

#include "agentphone/core/desk_settings.h"

namespace agentphone {

bool ParseStartOptions(const std::vector<std::string>& args, StartOptions* out, std::string* error) {
  *out = StartOptions{};
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!arg.starts_with("--")) {
      *error = "unexpected argument: " + arg;
      return false;
    }
    std::string name = arg.substr(2);
    std::optional<std::string> value;
    if (size_t eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.resize(eq);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    }
    if (!value) {
      *error = "option --" + name + " needs a value";
      return false;
    }
    if (name == "home") {
      out->home = *value;
      continue;
    }
    bool known = false;
    for (const DeskSetting& s : DeskSettingTable()) {
      if (s.option == name) {
        out->settings.emplace_back(std::string(s.key), *value);
        known = true;
        break;
      }
    }
    if (!known) {
      *error = "unknown option: --" + name;
      return false;
    }
  }
  return true;
}

}  // namespace agentphone
