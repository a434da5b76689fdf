// The two lists against real databases: the embedded file, a MariaDB server through the native
// driver and through ODBC, and the SQLite ODBC driver. Fixture rows go in through a second
// connection (embedded or native), which also reads back what the lists wrote.
#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>

#include "agentphone/core/clock.h"
#include "agentphone/core/lists/call_back_list.h"
#include "agentphone/core/lists/connection_setting.h"
#include "agentphone/core/lists/drop_call_list.h"
#include "agentphone/core/lists/list_messages.h"
#include "agentphone/db/list_tables.h"
#include "agentphone/db/sql_connection.h"
#include "tests/agentphone/db/mariadb_fixture.h"
#include "tests/agentphone/lists/list_fakes.h"

namespace agentphone::db {
namespace {

using namespace lists;
using namespace lists::testing;
using Row = std::vector<SqlValue>;

enum class Backend { kEmbedded, kSqliteOdbc, kMariaDbNative, kMariaDbOdbc };

std::string Name(const ::testing::TestParamInfo<Backend>& info) {
  switch (info.param) {
    case Backend::kEmbedded: return "Embedded";
    case Backend::kSqliteOdbc: return "SqliteOdbc";
    case Backend::kMariaDbNative: return "MariaDbNative";
    case Backend::kMariaDbOdbc: return "MariaDbOdbc";
  }
  return "?";
}

bool IsMariaDb(Backend b) { return b == Backend::kMariaDbNative || b == Backend::kMariaDbOdbc; }

class TempFolder {
 public:
  TempFolder() {
    char templ[] = "/tmp/agentphone-db-XXXXXX";
    path_ = ::mkdtemp(templ) ? templ : "";
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

const char* kDatabase = "lists_test";

class ListDatabaseTest : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override {
    const Backend b = GetParam();
    std::string listText;
    if (IsMariaDb(b)) {
      auto& server = testing::SharedMariaDb();
      server.EnsureStarted();
      if (!server.running) {
        if (testing::MariaDbRequired()) FAIL() << server.reason;
        GTEST_SKIP() << server.reason;
      }
      const std::string port = std::to_string(server.port);
      {
        SqlConnection root("root", ParseConnectionSetting("MARIADB=127.0.0.1;PORT=" + port +
                                                              ";UID=root;PWD=",
                                                          folder_.path()));
        std::string error;
        ASSERT_TRUE(root.Open(&error)) << error;
        ASSERT_TRUE(root.Execute({"DROP DATABASE IF EXISTS lists_test", {}}).ok);
        ASSERT_TRUE(root.Execute({"CREATE DATABASE lists_test CHARACTER SET utf8mb4", {}}).ok);
      }
      admin_ = std::make_unique<SqlConnection>(
          "admin", ParseConnectionSetting("MARIADB=127.0.0.1;PORT=" + port + ";DATABASE=" +
                                              kDatabase + ";UID=root;PWD=",
                                          folder_.path()));
      std::string error;
      ASSERT_TRUE(admin_->Open(&error)) << error;
      for (const std::string& s : ListTableStatements(Dialect::kMySql)) {
        ASSERT_TRUE(admin_->Execute({s, {}}).ok) << s;
      }
      listText = b == Backend::kMariaDbNative
                     ? "MARIADB=127.0.0.1;PORT=" + port + ";DATABASE=" + kDatabase +
                           ";UID=root;PWD="
                     : "DRIVER={MariaDB Unicode};SERVER=127.0.0.1;PORT=" + port +
                           ";DATABASE=" + kDatabase + ";UID=root;PWD=;CHARSET=utf8mb4";
    } else {
      const std::string file = (folder_.path() / "lists.db").string();
      admin_ = std::make_unique<SqlConnection>("admin",
                                               ParseConnectionSetting("SQLITE=" + file, {}));
      std::string error;
      ASSERT_TRUE(admin_->Open(&error)) << error;  // makes the file and its tables
      listText = b == Backend::kEmbedded ? "SQLITE=" + file : "DRIVER=SQLite3;Database=" + file;
    }
    db_ = std::make_unique<SqlConnection>("lists", ParseConnectionSetting(listText, folder_.path()));
    std::string error;
    ASSERT_TRUE(db_->Open(&error)) << error;
    EXPECT_EQ(db_->BindsTextAsBytes(), GetParam() == Backend::kMariaDbOdbc);
  }

  void TearDown() override {
    db_.reset();
    admin_.reset();
  }

  // One row of a table; nullopt goes in as NULL.
  void Insert(const std::string& table, const Row& values) {
    Statement s{"INSERT INTO " + table + " VALUES (", {}};
    for (size_t i = 0; i < values.size(); ++i) {
      s.sql += i ? ", " : "";
      if (values[i]) {
        s.sql += "?";
        s.params.push_back(*values[i]);
      } else {
        s.sql += "NULL";
      }
    }
    s.sql += ")";
    const SqlResult r = admin_->Execute(s);
    ASSERT_TRUE(r.ok) << r.error;
  }

  // Grid rows, in the order of one column's texts.
  static std::vector<std::vector<std::string>> RowsBy(const MemoryGrid& grid, int col) {
    std::vector<std::vector<std::string>> rows;
    for (int r = 1; r <= grid.MaxRows(); ++r) rows.push_back(grid.Row(r));
    std::sort(rows.begin(), rows.end(), [col](const auto& a, const auto& b) {
      return a[static_cast<size_t>(col - 1)] < b[static_cast<size_t>(col - 1)];
    });
    return rows;
  }

  static int RowOf(const MemoryGrid& grid, int col, const std::string& text) {
    for (int r = 1; r <= grid.MaxRows(); ++r) {
      if (grid.Text(r, col) == text) return r;
    }
    return 0;
  }

  TempFolder folder_;
  std::unique_ptr<SqlConnection> admin_;
  std::unique_ptr<SqlConnection> db_;
  FakePhone phone_;
  FakeDialogs dialogs_;
  ManualClock clock_{{2026, 3, 4, 10, 0, 0}};
};

TEST_P(ListDatabaseTest, CallBackGridShowsEveryColumnAsStoredValuesRead) {
  Insert("Data_CallBack", {"K1", "20260301", "091510", "0212345678", "01098765432",
                           std::nullopt, std::nullopt, "0317654321"});
  Insert("Data_CallBack", {"K2", "20260308", "235959", "031-765-4321", "123456", "", "부재중",
                           ""});
  Insert("Data_CallBack", {"K3", "20260309", "000000", "01011112222", "", "1", "", ""});
  FakeCallBackView view;
  CallBackList list(view, *db_, phone_, dialogs_, clock_);
  view.SetPickers({2026, 3, 1}, {2026, 3, 8});
  list.cmdSerch_Click();
  EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.messages.front();
  EXPECT_EQ(RowsBy(view.grid, 7),
            (std::vector<std::vector<std::string>>{
                {"2026-03-01 09:15:10", "031-765-4321", "02-1234-5678", "010-9876-5432", "0",
                 "", "K1"},
                {"2026-03-08 23:59:59", "", "031-765-4321", "123456", "0", "부재중", "K2"}}));

  view.SetPickers({2026, 3, 10}, {2026, 3, 31});
  list.cmdSerch_Click();
  EXPECT_EQ(view.grid.MaxRows(), 0);
}

TEST_P(ListDatabaseTest, SaveWritesAttemptsAndOutcomeUnderKeysWithQuotesAndKorean) {
  Insert("Data_CallBack",
         {"콜백'1", "20260304", "101010", "0212345678", "0212345678", "2", "재'통화", "1201"});
  Insert("Data_CallBack", {"K'2", "20260304", "111111", "0311112222", "", std::nullopt,
                           std::nullopt, ""});
  FakeCallBackView view;
  CallBackList list(view, *db_, phone_, dialogs_, clock_);
  list.Form_Load();
  ASSERT_EQ(view.grid.MaxRows(), 2);

  int row = RowOf(view.grid, 7, "콜백'1");
  ASSERT_GT(row, 0);
  EXPECT_EQ(view.grid.Text(row, 6), "재'통화");
  list.spReal_Click(1, row);
  EXPECT_EQ(view.Outcome(), kNoOutcome) << "not one of the four words";
  view.SetOutcome(3);
  list.cmdCallBackSave_Click();
  EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.messages.front();
  row = RowOf(view.grid, 7, "콜백'1");
  ASSERT_GT(row, 0);
  EXPECT_EQ(view.grid.Text(row, 5), "3");
  EXPECT_EQ(view.grid.Text(row, 6), "부재중");

  row = RowOf(view.grid, 7, "K'2");
  list.spReal_Click(1, row);
  view.SetOutcome(0);
  list.cmdCallBackSave_Click();
  row = RowOf(view.grid, 7, "K'2");
  EXPECT_EQ(view.grid.Row(row)[4], "1");
  EXPECT_EQ(view.grid.Row(row)[5], "성공");

  // Exactly the texts reached the database: the other connection finds them by equality.
  const SqlResult back = admin_->Query(
      {"SELECT CallBack_Code, CallBack_Data01 FROM Data_CallBack WHERE CallBack_Data02 = ?",
       {"부재중"}});
  ASSERT_TRUE(back.ok) << back.error;
  ASSERT_EQ(back.rows.size(), 1u);
  EXPECT_EQ(back.Text(0, "CallBack_Code"), "콜백'1");
  EXPECT_EQ(back.Text(0, "CallBack_Data01"), "3");
  const SqlResult length =
      admin_->Query({"SELECT LENGTH(CallBack_Data02) AS n FROM Data_CallBack WHERE "
                     "CallBack_Code = ?",
                     {"K'2"}});
  ASSERT_EQ(length.rows.size(), 1u);
  EXPECT_EQ(length.Text(0, "n"), IsMariaDb(GetParam()) ? "6" : "2") << "no NUL after the word";
}

// Statistics columns: EVENT_STARTTIME, ABANDON_TIME, ANI, DNIS, EMPLOYEE_ID, QUEUE_ID,
// QUEUEWAIT_TIME, NONSERVICE_FLAG, REMOTE_CENTERID, STEMPLOYEE_ID, GROUPTRANSFER_FLAG,
// CALL_TYPE. Each row's ANI names it.
Row Stat(const char* start, SqlValue abandon, const char* ani, SqlValue dnis, const char* emp,
         SqlValue queue, SqlValue wait, SqlValue nonService, SqlValue remote, const char* stEmp,
         SqlValue groupTransfer, const char* callType) {
  return {start, abandon, ani, dnis, emp, queue, wait, nonService, remote, stEmp, groupTransfer,
          callType};
}

void InsertAbandonedCalls(ListDatabaseTest& t, const std::function<void(const std::string&,
                                                                         const Row&)>& insert) {
  (void)t;
  const auto N = std::nullopt;
  // Abandoned in the queue: shown as "포기호".
  insert("OT_CALLSTAT", Stat("20260301093012", "25", "01055551234", "1201", "0", "3", "25", N, N,
                             "0", N, "1"));
  insert("OT_CALLSTAT", Stat("20260302080000", "7", "0311112222", "1204", "0", "3", "7", N, N,
                             "7", N, "1"));  // transferred by an agent, but not to a group
  // The same call in both tables is listed once.
  insert("OT_CALLSTAT", Stat("20260303120000", "9", "01077778888", "1202", "0", "2", "9", N, N,
                             "0", N, "1"));
  insert("BU_OT_CALLSTAT", Stat("20260303120000", "9", "01077778888", "1202", "0", "2", "9", N,
                                N, "0", N, "1"));
  // Not abandoned in the queue, each for one reason.
  insert("OT_CALLSTAT", Stat("20260301100000", "5", "0100000001", "1201", "0", "0", "5", N, N,
                             "0", N, "1"));  // no queue
  insert("OT_CALLSTAT", Stat("20260301100001", "5", "0100000002", "1201", "5", "3", "5", N, N,
                             "0", N, "1"));  // an agent, but not distributed
  insert("BU_OT_CALLSTAT", Stat("20260301100002", N, "0100000003", "1201", "0", "3", "5", N, N,
                                "0", N, "1"));  // no abandon time
  insert("OT_CALLSTAT", Stat("20260301100003", "5", "0100000004", "1201", "0", "3", N, N, N, "0",
                             N, "11"));  // no queue wait
  insert("OT_CALLSTAT", Stat("20260301100004", "5", "0100000005", "1201", "0", "3", "5", "Y", N,
                             "0", N, "1"));  // not served on purpose
  insert("BU_OT_CALLSTAT", Stat("20260301100005", "5", "0100000006", "1201", "0", "3", "5", N,
                                "C2", "0", N, "1"));  // another centre's call
  insert("OT_CALLSTAT", Stat("20260301100006", "5", "0100000007", "1201", "0", "3", "5", N, N,
                             "7", "Y", "1"));  // transferred to a group
  insert("OT_CALLSTAT", Stat("20260309000000", "5", "0100000008", "1201", "0", "3", "5", N, N,
                             "0", N, "1"));  // after the range
  // Abandoned after distribution: shown as "분배포기호".
  insert("BU_OT_CALLSTAT", Stat("20260302101010", "8", "0262223333", "1203", "2041", "3", "4", N,
                                N, "0", N, "11"));
  // Not abandoned after distribution, each for one reason.
  insert("OT_CALLSTAT", Stat("20260301110000", "5", "0100000011", "1201", "3000", "3", "5", N, N,
                             "0", N, "12"));  // another call type
  insert("BU_OT_CALLSTAT", Stat("20260301110001", N, "0100000012", "1201", "3001", "3", "5", N,
                                N, "0", N, "11"));  // no abandon time
  insert("OT_CALLSTAT", Stat("20260301110002", "5", "0100000013", "1201", "3002", N, "5", N, N,
                             "0", N, "11"));  // no queue
  insert("BU_OT_CALLSTAT", Stat("20260301110003", "5", "0100000014", N, "3003", "3", "5", N, N,
                                "0", N, "11"));  // no dialled number
  insert("OT_CALLSTAT", Stat("20260228235959", "5", "0100000015", "1201", "3004", "3", "5", N, N,
                             "0", N, "11"));  // before the range
}

TEST_P(ListDatabaseTest, AbandonedCallsOfEachKindByTheirConditions) {
  InsertAbandonedCalls(*this, [this](const std::string& t, const Row& r) { Insert(t, r); });
  FakeDropCallView view;
  DropCallList list(view, *db_, phone_, dialogs_, clock_);
  view.SetPickers({2026, 3, 1}, {2026, 3, 8});
  struct Case {
    std::string_view kind;
    std::set<std::string> anis;
  } cases[] = {
      {kDropAll, {"010-5555-1234", "031-111-2222", "010-7777-8888", "02-6222-3333"}},
      {kDropQueue, {"010-5555-1234", "031-111-2222", "010-7777-8888"}},
      {kDropDistributed, {"02-6222-3333"}},
  };
  for (const Case& c : cases) {
    view.kind = std::string(c.kind);
    list.cmdSerch_Click();
    ASSERT_TRUE(dialogs_.messages.empty()) << phone_.log.back();
    const std::vector<std::string> anis = view.grid.Column(6);
    EXPECT_EQ(anis.size(), c.anis.size()) << c.kind << ": each call once";
    EXPECT_EQ(std::set<std::string>(anis.begin(), anis.end()), c.anis) << c.kind;
  }
  view.kind = std::string(kDropAll);
  list.cmdSerch_Click();
  const int queued = RowOf(view.grid, 6, "010-5555-1234");
  const int distributed = RowOf(view.grid, 6, "02-6222-3333");
  EXPECT_EQ(view.grid.Row(queued), (std::vector<std::string>{"2026-03-01  09:30:12", "포기호",
                                                             "0038", "25초", "",
                                                             "010-5555-1234"}));
  EXPECT_EQ(view.grid.Row(distributed),
            (std::vector<std::string>{"2026-03-02  10:10:10", "분배포기호", "0776", "8초", "2041",
                                      "02-6222-3333"}));
  EXPECT_EQ(view.grid.Text(RowOf(view.grid, 6, "031-111-2222"), 3), "1204");

  list.spReal_Click(3, distributed);
  EXPECT_EQ(view.Box(DropCallBox::txtindate), "2026-03-02  10:10:10");
  EXPECT_EQ(view.Box(DropCallBox::txtgb), "0776");
  EXPECT_EQ(view.Box(DropCallBox::txtDropTime), "8초");
  EXPECT_EQ(view.Box(DropCallBox::txtAgent), "2041");
  EXPECT_EQ(view.Box(DropCallBox::txtOutDn), "02-6222-3333");
}

TEST_P(ListDatabaseTest, SearchesAlternateTheOrderAndCrossAMonthEnd) {
  InsertAbandonedCalls(*this, [this](const std::string& t, const Row& r) { Insert(t, r); });
  Insert("OT_CALLSTAT", Stat("20260131120000", "3", "01099990000", "1201", "0", "3", "3",
                             std::nullopt, std::nullopt, "0", std::nullopt, "1"));
  FakeDropCallView view;
  DropCallList list(view, *db_, phone_, dialogs_, clock_);
  view.SetPickers({2026, 3, 1}, {2026, 3, 8});
  list.cmdSerch_Click();
  const std::vector<std::string> first = view.grid.Column(1);
  list.cmdSerch_Click();
  std::vector<std::string> second = view.grid.Column(1);
  ASSERT_EQ(first.size(), 4u);
  EXPECT_TRUE(std::is_sorted(first.rbegin(), first.rend())) << "latest first";
  std::reverse(second.begin(), second.end());
  EXPECT_EQ(second, first);

  view.SetPickers({2026, 1, 30}, {2026, 2, 2});
  list.cmdSerch_Click();
  EXPECT_EQ(view.grid.Column(6), (std::vector<std::string>{"010-9999-0000"}));
}

INSTANTIATE_TEST_SUITE_P(Backends, ListDatabaseTest,
                         ::testing::Values(Backend::kEmbedded, Backend::kSqliteOdbc,
                                           Backend::kMariaDbNative, Backend::kMariaDbOdbc),
                         Name);

}  // namespace
}  // namespace agentphone::db
