// The installation settings of our own, in section [AGENTPHONE] of SOFTPHONE.ini: one table of
// key, default and command-line option. A value given on the command line wins over the file
// for that run and is not written back.
#pragma once

#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <string_view>

namespace agentphone {

inline constexpr std::string_view kSettingsFile = "SOFTPHONE.ini";
inline constexpr std::string_view kDeskSection = "AGENTPHONE";

struct DeskSetting {
  std::string_view key;           // key in [AGENTPHONE]
  std::string_view defaultValue;  // used when the file has no value
  std::string_view option;        // command-line option, "--" + option + " VALUE" or "=VALUE"
  std::string_view description;   // one line for the README and the default file
};

// Keys of the table.
inline constexpr std::string_view kServerKey = "SERVER";            // CTI server of OPENSERVER
inline constexpr std::string_view kServerPortKey = "SERVER_PORT";   // its port
inline constexpr std::string_view kCustomerWebKey = "CUSTOMER_WEB";
inline constexpr std::string_view kRecordingWebKey = "RECORDING_WEB";
inline constexpr std::string_view kCallbackDbKey = "CALLBACK_DB";
inline constexpr std::string_view kStatsDbKey = "STATS_DB";
inline constexpr std::string_view kDialBindKey = "DIAL_BIND";
inline constexpr std::string_view kBrowserKey = "BROWSER";
inline constexpr std::string_view kPageBrowserKey = "PAGE_BROWSER";
inline constexpr std::string_view kHttpTimeoutKey = "HTTP_TIMEOUT_MS";
inline constexpr std::string_view kLoginTimeoutKey = "LOGIN_TIMEOUT";
inline constexpr std::string_view kQueryTimeoutKey = "QUERY_TIMEOUT";
inline constexpr std::string_view kDbCheckKey = "DB_CHECK_MS";

std::span<const DeskSetting> DeskSettingTable();

class DeskSettings {
 public:
  // Reads the table's keys from the desk folder's SOFTPHONE.ini.
  explicit DeskSettings(const std::filesystem::path& deskFolder);
  DeskSettings() = default;  // the defaults only

  // The value of a key of the table: the command line's, else the file's (when not empty),
  // else the default. An unknown key reads as empty.
  std::string Get(std::string_view key) const;

  void Override(std::string_view key, std::string_view value);

 private:
  std::map<std::string, std::string, std::less<>> file_;
  std::map<std::string, std::string, std::less<>> overrides_;
};

}  // namespace agentphone
