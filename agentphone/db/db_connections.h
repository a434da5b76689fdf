// The program's two database connections, call-back and statistics, from the settings
// CALLBACK_DB and STATS_DB of [AGENTPHONE] (see connection_setting.h for their forms), each on
// a thread of its own (connection_thread.h).
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "agentphone/core/clock.h"
#include "agentphone/core/lists/connection_setting.h"
#include "agentphone/core/lists/database_check.h"
#include "agentphone/db/connection_thread.h"

namespace agentphone::db {

// The time-outs of a connection whose text names none of its own.
struct DbTimeouts {
  int loginSeconds = lists::kDefaultLoginTimeoutSeconds;
  int querySeconds = lists::kDefaultQueryTimeoutSeconds;
};

class DbConnections {
 public:
  DbConnections(const std::string& callBackText, const std::string& statisticsText,
                const std::filesystem::path& deskFolder, const Clock& clock,
                DbTimeouts timeouts = {});

  // Opens both without waiting; a failure goes to `log` with the connection's name and is
  // tried again at the connection's next use.
  void OpenAll(const lists::ConnectionCheck::LogFn& log);

  ConnectionThread& CallBack() { return *callBack_; }
  ConnectionThread& Statistics() { return *statistics_; }

 private:
  std::unique_ptr<ConnectionThread> callBack_;
  std::unique_ptr<ConnectionThread> statistics_;
};

}  // namespace agentphone::db
