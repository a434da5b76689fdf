// The minute check of the two connections, off the window's thread: each connection is asked
// for the current date on its own thread and the window goes on at once; a failure reaches the
// program's log when the answer comes, nothing shown. A connection whose last question is still
// unanswered is not asked again, so the checks never pile up behind a database that hangs. As
// the question goes over the lists' own connections, it also brings a broken one back once its
// database answers again.
#pragma once

#include "agentphone/core/lists/database_check.h"
#include "agentphone/core/outside_ports.h"
#include "agentphone/db/connection_thread.h"

namespace agentphone::db {

class BackgroundCheck final : public DatabaseCheck {
 public:
  BackgroundCheck(ConnectionThread& statistics, ConnectionThread& callBack,
                  lists::ConnectionCheck::LogFn log)
      : statistics_(statistics), callBack_(callBack), log_(std::move(log)) {}

  void GetDate01() override { Ask(statistics_); }
  void GetDate02() override { Ask(callBack_); }

 private:
  void Ask(ConnectionThread& connection);

  ConnectionThread& statistics_;
  ConnectionThread& callBack_;
  lists::ConnectionCheck::LogFn log_;
};

}  // namespace agentphone::db
