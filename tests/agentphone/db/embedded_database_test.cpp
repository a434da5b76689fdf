// The embedded database file: made with its tables and demo rows when new, and a file removed
// under the running program.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "agentphone/core/clock.h"
#include "agentphone/core/lists/call_back_list.h"
#include "agentphone/core/lists/database_check.h"
#include "agentphone/core/lists/drop_call_list.h"
#include "agentphone/core/lists/list_messages.h"
#include "agentphone/core/lists/list_statements.h"
#include "agentphone/db/db_connections.h"
#include "tests/agentphone/lists/list_fakes.h"

namespace agentphone::db {
namespace {

using namespace lists;
using namespace lists::testing;

// Runs the test's events (where the connections' answers arrive) until `done` holds.
bool EventsUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

struct EmbeddedTest : ::testing::Test {
  EmbeddedTest() {
    char templ[] = "/tmp/agentphone-embedded-XXXXXX";
    desk = ::mkdtemp(templ);
  }
  ~EmbeddedTest() override {
    std::error_code ec;
    std::filesystem::remove_all(desk, ec);
  }
  std::filesystem::path desk;
  ManualClock clock{{2026, 3, 4, 10, 0, 0}};
  FakePhone phone;
  FakeDialogs dialogs;
};

TEST_F(EmbeddedTest, ANewDefaultFileHoldsTheTablesAndTodaysDemoRowsOnce) {
  {
    DbConnections dbs("", "", desk, clock);
    dbs.OpenAll([](std::string_view e) { FAIL() << e; });
    FakeCallBackView cb;
    CallBackList callBack(cb, dbs.CallBack(), phone, dialogs, clock);
    callBack.Form_Load();  // after the open, on the connection's thread
    EXPECT_TRUE(std::filesystem::exists(desk / "softphone.db"));
    EXPECT_EQ(cb.grid.MaxRows(), 2);
    FakeDropCallView dc;
    DropCallList dropCall(dc, dbs.Statistics(), phone, dialogs, clock);
    dropCall.Form_Load();
    EXPECT_EQ(dc.grid.MaxRows(), 2);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front();
  }
  // Opened again, the file is not new: no second set of demo rows.
  DbConnections again("", "", desk, clock);
  again.OpenAll({});
  FakeCallBackView cb;
  CallBackList callBack(cb, again.CallBack(), phone, dialogs, clock);
  callBack.Form_Load();
  EXPECT_EQ(cb.grid.MaxRows(), 2);
}

TEST_F(EmbeddedTest, BothConnectionsOpeningOneNewFileAtOnceMakeItOnce) {
  // The two connections open on their own threads at the same moment: the file is made, and
  // given its demo rows, by one of them.
  for (int i = 0; i < 20; ++i) {
    SCOPED_TRACE(i);
    const std::filesystem::path folder = desk / std::to_string(i);
    std::filesystem::create_directories(folder);
    std::vector<std::string> log;
    DbConnections dbs("", "", folder, clock);
    dbs.OpenAll([&](std::string_view e) { log.emplace_back(e); });
    const SqlResult callBacks = dbs.CallBack().Query({"SELECT * FROM Data_CallBack", {}});
    const SqlResult calls = dbs.Statistics().Query({"SELECT * FROM OT_CALLSTAT", {}});
    QCoreApplication::processEvents();  // the opens' answers, posted before the queries ran
    EXPECT_EQ(callBacks.rows.size(), 2u) << callBacks.error;
    EXPECT_EQ(calls.rows.size(), 2u) << calls.error;
    ASSERT_TRUE(log.empty()) << log.front();
  }
}

TEST_F(EmbeddedTest, AFileRemovedUnderTheProgramIsReportedAndTheNextUseReconnects) {
  DbConnections dbs("SQLITE=lists.db", "SQLITE=lists.db", desk, clock);
  dbs.OpenAll([](std::string_view e) { FAIL() << e; });
  FakeDropCallView view;
  DropCallList list(view, dbs.Statistics(), phone, dialogs, clock);
  list.Form_Load();
  ASSERT_TRUE(dialogs.messages.empty());
  ASSERT_TRUE(dbs.CallBack().Query(CurrentDateQuery()).ok);  // both open on the file

  std::filesystem::remove(desk / "lists.db");
  list.cmdSerch_Click();
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{std::string(kMsgDbLost)}));
  ASSERT_EQ(phone.log.size(), 1u);
  EXPECT_NE(phone.log[0].find("lists.db"), std::string::npos) << phone.log[0];

  // The minute check on the other connection logs the loss too; then both come back.
  std::vector<std::string> checkLog;
  ConnectionCheck check(dbs.Statistics(), dbs.CallBack(),
                        [&](std::string_view t) { checkLog.emplace_back(t); });
  check.GetDate02();
  ASSERT_EQ(checkLog.size(), 1u);
  check.GetDate01();
  check.GetDate02();
  EXPECT_EQ(checkLog.size(), 1u) << checkLog.back();
  list.cmdSerch_Click();
  EXPECT_EQ(dialogs.messages.size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(desk / "lists.db"));
}

TEST_F(EmbeddedTest, AConnectionThatCannotOpenSaysWhyAndTriesAgainAtItsNextUse) {
  // A file in a folder that is a file: it cannot be made, whoever runs the test.
  { std::ofstream(desk / "blocked") << "x"; }
  DbConnections dbs("SQLITE=blocked/lists.db", "SQLITE=lists.db", desk, clock);
  std::vector<std::string> log;
  dbs.OpenAll([&](std::string_view t) { log.emplace_back(t); });
  ASSERT_TRUE(EventsUntil([&] { return !log.empty(); }));
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].rfind("[CallBack DB] ", 0), 0u) << log[0];

  FakeCallBackView view;
  CallBackList list(view, dbs.CallBack(), phone, dialogs, clock);
  list.Form_Load();
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{std::string(kMsgDbLost)}));
  std::filesystem::remove(desk / "blocked");
  list.cmdSerch_Click();
  EXPECT_EQ(dialogs.messages.size(), 1u) << "reconnected";
}

}  // namespace
}  // namespace agentphone::db
