#include "agentphone/core/desk_settings.h"

#include "agentphone/core/text_routines.h"

namespace agentphone {
namespace {

constexpr DeskSetting kTable[] = {
    {kServerKey, "127.0.0.1", "server", "CTI server address that the login opens"},
    {kServerPortKey, "9709", "server-port", "CTI server port that the login opens"},
    {kCustomerWebKey, "", "customer-web",
     "customer web server of the screen pops, e.g. http://crm.example"},
    {kRecordingWebKey, "", "recording-web", "recording web server, e.g. http://rec.example"},
    {kCallbackDbKey, "", "callback-db",
     "connection of the call-back database; empty: softphone.db in the desk folder"},
    {kStatsDbKey, "", "stats-db",
     "connection of the call statistics database; empty: softphone.db in the desk folder"},
    {kLoginTimeoutKey, "5", "login-timeout",
     "seconds a database connection may take to open, unless its connection says otherwise"},
    {kQueryTimeoutKey, "10", "query-timeout",
     "seconds a database query may take (and a list waits for it), unless its connection says "
     "otherwise"},
    {kDbCheckKey, "60000", "db-check-ms",
     "milliseconds between two checks that the database connections still answer"},
    {kDialBindKey, "127.0.0.1", "dial-bind", "address the dial-request listener binds"},
    {kBrowserKey, "", "browser",
     "command that opens a screen-pop page (%u: the address); empty: a browser found on the PATH"},
    {kPageBrowserKey, "", "page-browser",
     "command that calls the outbound page (%u: the address); empty: a plain HTTP request"},
    {kHttpTimeoutKey, "5000", "http-timeout-ms",
     "milliseconds an HTTP notification may take before it is given up"},
};

const DeskSetting* Lookup(std::string_view key) {
  for (const DeskSetting& s : kTable) {
    if (s.key == key) return &s;
  }
  return nullptr;
}

}  // namespace

std::span<const DeskSetting> DeskSettingTable() { return kTable; }

DeskSettings::DeskSettings(const std::filesystem::path& deskFolder) {
  for (const DeskSetting& s : kTable) {
    std::string v = Trim(GetIniValue(deskFolder, kSettingsFile, kDeskSection, s.key));
    if (!v.empty()) file_.emplace(std::string(s.key), v);
  }
}

std::string DeskSettings::Get(std::string_view key) const {
  const DeskSetting* s = Lookup(key);
  if (!s) return {};
  if (auto it = overrides_.find(key); it != overrides_.end()) return it->second;
  if (auto it = file_.find(key); it != file_.end()) return it->second;
  return std::string(s->defaultValue);
}

void DeskSettings::Override(std::string_view key, std::string_view value) {
  overrides_[std::string(key)] = std::string(value);
}

}  // namespace agentphone
