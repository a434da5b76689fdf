#include "agentphone/db/db_connections.h"

#include "agentphone/core/lists/list_date.h"

namespace agentphone::db {

DbConnections::DbConnections(const std::string& callBackText, const std::string& statisticsText,
                             const std::filesystem::path& deskFolder, const Clock& clock) {
  auto today = [&clock] { return lists::Ymd(lists::DateOf(clock.Now())); };
  callBack_ = std::make_unique<SqlConnection>(
      "agentphone-callback", lists::ParseConnectionSetting(callBackText, deskFolder), today);
  statistics_ = std::make_unique<SqlConnection>(
      "agentphone-statistics", lists::ParseConnectionSetting(statisticsText, deskFolder), today);
}

void DbConnections::OpenAll(const lists::ConnectionCheck::LogFn& log) {
  std::string error;
  if (!callBack_->Open(&error) && log) log("[CallBack DB] " + error);
  if (!statistics_->Open(&error) && log) log("[Statistics DB] " + error);
}

}  // namespace agentphone::db
