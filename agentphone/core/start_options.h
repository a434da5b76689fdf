// The program's command line: --home DIR and one option per desk setting (desk_settings.h),
// each as "--name VALUE" or "--name=VALUE".
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace agentphone {

struct StartOptions {
  std::optional<std::string> home;                          // --home
  std::vector<std::pair<std::string, std::string>> settings;  // desk-setting key, value
};

// False with an error text for an unknown option or an option without its value.
bool ParseStartOptions(const std::vector<std::string>& args, StartOptions* out, std::string* error);

}  // namespace agentphone
