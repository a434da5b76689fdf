// The desk folder: where SOFTPHONE.ini and SoftPhoneLOG/ live. Chosen by --home DIR, else
// $AGENTPHONE_HOME, else $XDG_CONFIG_HOME/agentphone, else ~/.config/agentphone.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace agentphone {

using EnvLookup = std::function<std::optional<std::string>(const char* name)>;

// The process environment (unset and empty variables read as nullopt).
std::optional<std::string> ProcessEnv(const char* name);

// Empty path when no choice is left (no HOME either).
std::filesystem::path ResolveDeskFolder(const std::optional<std::string>& homeOption,
                                        const EnvLookup& env = ProcessEnv);

// Creates the folder when missing and, when it holds no SOFTPHONE.ini, writes one with every
// key commented and the defaults filled in. False when the folder cannot be created.
bool PrepareDeskFolder(const std::filesystem::path& folder);

// The text of that first SOFTPHONE.ini.
std::string DefaultSettingsText();

}  // namespace agentphone
