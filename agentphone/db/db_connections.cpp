#include "agentphone/db/db_connections.h"

#include <cctype>

#include "agentphone/core/lists/list_date.h"

namespace agentphone::db {
namespace {

bool Names(const std::vector<std::pair<std::string, std::string>>& pairs, std::string_view key) {
  for (const auto& pair : pairs) {
    const std::string& k = pair.first;
    if (k.size() != key.size()) continue;
    bool same = true;
    for (size_t i = 0; i < k.size() && same; ++i) {
      same = std::toupper(static_cast<unsigned char>(k[i])) == key[i];
    }
    if (same) return true;
  }
  return false;
}

lists::ConnectionSetting Setting(const std::string& text, const std::filesystem::path& deskFolder,
                                 DbTimeouts timeouts) {
  lists::ConnectionSetting s = lists::ParseConnectionSetting(text, deskFolder);
  std::vector<std::pair<std::string, std::string>> pairs;
  lists::SplitConnectionText(text, pairs);
  if (!Names(pairs, "LOGIN_TIMEOUT")) s.loginTimeoutSeconds = timeouts.loginSeconds;
  if (!Names(pairs, "QUERY_TIMEOUT")) s.queryTimeoutSeconds = timeouts.querySeconds;
  return s;
}

}  // namespace

DbConnections::DbConnections(const std::string& callBackText, const std::string& statisticsText,
                             const std::filesystem::path& deskFolder, const Clock& clock,
                             DbTimeouts timeouts) {
  // Read on the connections' threads.
  auto today = [&clock] { return lists::Ymd(lists::DateOf(clock.Now())); };
  callBack_ = std::make_unique<ConnectionThread>(
      "agentphone-callback", Setting(callBackText, deskFolder, timeouts), today);
  statistics_ = std::make_unique<ConnectionThread>(
      "agentphone-statistics", Setting(statisticsText, deskFolder, timeouts), today);
}

void DbConnections::OpenAll(const lists::ConnectionCheck::LogFn& log) {
  auto report = [log](std::string label) {
    return [log, label = std::move(label)](const std::string& error) {
      if (!error.empty() && log) log(label + error);
    };
  };
  callBack_->Open(report("[CallBack DB] "));
  statistics_->Open(report("[Statistics DB] "));
}

}  // namespace agentphone::db
