// One database connection on a thread of its own. The connection is made, used and closed only
// on that thread, so that a database that stops answering holds that thread and never the
// window's. A statement of a list waits for its answer at most the connection's query time-out:
// a short while quietly, then running the caller's events (the telephone goes on) while the
// list shows that it waits; a statement that has not begun when the wait ends is dropped. The
// minute check does not wait at all: it hands its question over and hears the answer later.
#pragma once

#include <QObject>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "agentphone/core/lists/connection_setting.h"
#include "agentphone/core/lists/database.h"

namespace agentphone::db {

class SqlConnection;

class ConnectionThread final : public lists::Database {
 public:
  // How long a statement is waited for without running the caller's events.
  static constexpr std::chrono::milliseconds kQuietWait{150};

  // As SqlConnection's; made on the calling thread, whose Qt event loop hears the answers of
  // Post and Open.
  ConnectionThread(std::string name, lists::ConnectionSetting setting,
                   std::function<std::string()> today = {},
                   std::chrono::milliseconds quietWait = kQuietWait);
  // Ends the thread once the statement that it runs has returned (the driver's time-outs bound
  // that); statements not begun are dropped.
  ~ConnectionThread() override;
  ConnectionThread(const ConnectionThread&) = delete;
  ConnectionThread& operator=(const ConnectionThread&) = delete;

  lists::SqlResult Query(const lists::Statement& statement) override;
  lists::SqlResult Execute(const lists::Statement& statement) override;
  void SetWaitNotice(lists::WaitNotice notice) override { notice_ = std::move(notice); }

  using Done = std::function<void(const lists::SqlResult&)>;
  // Runs a query (or a statement without rows) without waiting for it; `done` hears the result
  // through the event loop of this object's thread, unless this object is gone by then. False,
  // and nothing run, while the last one posted has not returned.
  bool Post(lists::Statement statement, bool rows, Done done);
  // Opens the connection without waiting; `done` hears the driver's text of a failure, or "".
  void Open(std::function<void(const std::string& error)> done);

  // The most a statement is waited for.
  std::chrono::milliseconds AnswerWait() const { return answerWait_; }
  const lists::ConnectionSetting& Setting() const { return setting_; }

 private:
  struct Job;
  using Work = std::function<lists::SqlResult(SqlConnection&)>;

  lists::SqlResult Wait(Work work);
  std::shared_ptr<Job> Queue(Work work, Done done);
  void Run();

  const std::string name_;
  const lists::ConnectionSetting setting_;
  const std::function<std::string()> today_;
  const std::chrono::milliseconds quietWait_;
  const std::chrono::milliseconds answerWait_;
  lists::WaitNotice notice_;             // the caller's thread only
  std::unique_ptr<QObject> answers_;     // lives on the caller's thread; hears Post and Open

  std::mutex mutex_;
  std::condition_variable work_;      // a job queued, or the end
  std::condition_variable finished_;  // a job finished
  std::deque<std::shared_ptr<Job>> queue_;
  std::shared_ptr<Job> posted_;  // the last job of Post, until it returns
  bool stopping_ = false;
  std::thread thread_;  // last: started when everything above is made
};

}  // namespace agentphone::db
