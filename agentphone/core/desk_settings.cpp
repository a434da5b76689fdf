#include "agentphone/core/desk_settings.h"

#include "agentphone/core/text_routines.h"

namespace agentphone {
namespace {

constexpr DeskSetting kTable[] = {
    {kServerKey, "127.0.0.1", "server", "CTI server address that the login opens"},
    {kServerPortKey, "9709", "server-port", "CTI server port that the login opens"},
    {kCustomerWebKey, "", "customer-web", "customer web server of the screen pops, e.g. http://crm.example"},
    {kRecordingWebKey, "", "recording-web", "recording web server, e.g. http://rec.example"},
    {kCallbackDbKey, "", "callback-db", "ODBC connection text of the call-back database"},
    {kStatsDbKey, "", "stats-db", "ODBC connection text of the call statistics database"},
    {kDialBindKey, "127.0.0.1", "dial-bind", "address the dial-request listener binds"},
    {kBrowserKey, "xdg-open", "browser", "command that opens a screen-pop page"},
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
