// A connection on its own thread against a MariaDB server that stops answering (frozen with
// SIGSTOP, its connections left open): the caller's events keep running, the minute check
// hands its question over without waiting and is not asked again while it hangs, a list's
// statement says that it waits and gives up after the query time-out, and once the server
// answers again the connection comes back.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>

#include "agentphone/core/lists/list_statements.h"
#include "agentphone/db/connection_thread.h"
#include "tests/agentphone/db/mariadb_fixture.h"

namespace agentphone::db {
namespace {

using namespace std::chrono_literals;
using lists::SqlResult;

bool EventsUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + 60s;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

// The server frozen for the scope.
class Frozen {
 public:
  explicit Frozen(pid_t pid) : pid_(pid) { frozen_ = testing::FreezeServer(pid_); }
  ~Frozen() { Resume(); }
  void Resume() {
    if (frozen_) ::kill(pid_, SIGCONT);
    frozen_ = false;
  }
  bool frozen() const { return frozen_; }

 private:
  pid_t pid_;
  bool frozen_ = false;
};

// The longest pause between the ticks of a 10 ms timer of the caller's thread.
class TickWatch {
 public:
  TickWatch() {
    clock_.start();
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      longest_ = std::max(longest_, clock_.restart());
    });
    timer_.start(10);
  }
  std::chrono::milliseconds Longest() const { return std::chrono::milliseconds(longest_); }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 longest_ = 0;
};

TEST(ConnectionThread, AServerThatHangsNeverHoldsTheCallerAndTheStatementGivesUpInTime) {
  auto& server = testing::SharedMariaDb();
  server.EnsureStarted();
  if (!server.running) {
    if (testing::MariaDbRequired()) FAIL() << server.reason;
    GTEST_SKIP() << server.reason;
  }
  pid_t pid = 0;
  std::ifstream(server.dir + "/server.pid") >> pid;
  ASSERT_GT(pid, 0);
  constexpr int kQuerySeconds = 2;
  ConnectionThread connection(
      "hang", lists::ParseConnectionSetting("MARIADB=127.0.0.1;PORT=" + std::to_string(server.port) +
                                                ";UID=root;PWD=;LOGIN_TIMEOUT=2;QUERY_TIMEOUT=" +
                                                std::to_string(kQuerySeconds),
                                            {}));
  EXPECT_EQ(connection.AnswerWait(), std::chrono::seconds(kQuerySeconds));
  std::vector<bool> notices;
  connection.SetWaitNotice([&](bool waiting) { notices.push_back(waiting); });
  ASSERT_TRUE(connection.Query(lists::CurrentDateQuery()).ok);
  EXPECT_TRUE(notices.empty()) << "an answer at once is not shown as a wait";

  Frozen frozen(pid);
  ASSERT_TRUE(frozen.frozen());
  TickWatch ticks;

  // The check: handed over at once, and not asked again while it hangs.
  std::optional<SqlResult> checked;
  QElapsedTimer took;
  took.start();
  ASSERT_TRUE(connection.Post(lists::CurrentDateQuery(), true,
                              [&](const SqlResult& r) { checked = r; }));
  EXPECT_FALSE(connection.Post(lists::CurrentDateQuery(), true, [](const SqlResult&) {}));
  EXPECT_LT(took.elapsed(), 100);

  // A list's statement: waits, says so, gives up after the query time-out; the caller's
  // events ran meanwhile.
  took.restart();
  const SqlResult r = connection.Query(lists::CurrentDateQuery());
  const qint64 waited = took.elapsed();
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("no answer from the database within 2 s"), std::string::npos) << r.error;
  EXPECT_GE(waited, kQuerySeconds * 1000 - 100);
  EXPECT_LT(waited, kQuerySeconds * 1000 + 1500);
  EXPECT_EQ(notices, (std::vector<bool>{true, false}));
  EXPECT_LT(ticks.Longest(), 500ms) << "the caller's events stopped";

  // The server answers again: the check hears back, and the connection answers (reopened
  // when the hang broke it).
  frozen.Resume();
  ASSERT_TRUE(EventsUntil([&] { return checked.has_value(); }));
  SqlResult again = connection.Query(lists::CurrentDateQuery());
  if (!again.ok) again = connection.Query(lists::CurrentDateQuery());
  EXPECT_TRUE(again.ok) << again.error;
  EXPECT_TRUE(connection.Post(lists::CurrentDateQuery(), true, {}));
}

}  // namespace
}  // namespace agentphone::db
