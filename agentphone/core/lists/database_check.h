// The minute check of the two connections: each is asked for the current date and a failure
// goes to the program's log, nothing shown. A connection found broken is reopened by its next
// use, so the check also brings a connection back once its database answers again.
#pragma once

#include <functional>
#include <string_view>

#include "agentphone/core/lists/database.h"
#include "agentphone/core/outside_ports.h"

namespace agentphone::lists {

class ConnectionCheck final : public DatabaseCheck {
 public:
  using LogFn = std::function<void(std::string_view)>;
  ConnectionCheck(Database& statistics, Database& callBack, LogFn log)
      : statistics_(statistics), callBack_(callBack), log_(std::move(log)) {}

  void GetDate01() override { GetDate(statistics_); }
  void GetDate02() override { GetDate(callBack_); }

 private:
  void GetDate(Database& db);

  Database& statistics_;
  Database& callBack_;
  LogFn log_;
};

}  // namespace agentphone::lists
