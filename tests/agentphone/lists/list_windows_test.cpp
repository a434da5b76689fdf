// The two lists' rules that need no real database: dialling, hanging up, saving, the week
// limit, failures and the minute check.
#include <gtest/gtest.h>

#include "agentphone/core/clock.h"
#include "agentphone/core/lists/call_back_list.h"
#include "agentphone/core/lists/database_check.h"
#include "agentphone/core/lists/drop_call_list.h"
#include "agentphone/core/lists/list_messages.h"
#include "tests/agentphone/lists/list_fakes.h"

namespace agentphone::lists {
namespace {

using namespace testing;

SqlResult CallBackRows(std::vector<std::vector<SqlValue>> rows) {
  SqlResult r;
  r.ok = true;
  r.columns = {"CallBack_Code", "Entered_Date", "Entered_Time", "Ani", "Reservation_num",
               "CallBack_Data01", "CallBack_Data02", "CallBack_Data03"};
  r.rows = std::move(rows);
  return r;
}

struct CallBackFixture : ::testing::Test {
  FakeCallBackView view;
  ScriptedDatabase db;
  FakePhone phone;
  FakeDialogs dialogs;
  ManualClock clock{{2026, 3, 4, 10, 0, 0}};
  CallBackList list{view, db, phone, dialogs, clock};
};

TEST_F(CallBackFixture, OpensOnTodayAndSelectingARowFillsTheDetails) {
  db.answers.push_back(CallBackRows({{"K1", "20260304", "091510", "0212345678", "01098765432",
                                      std::nullopt, "통화중", "1201"}}));
  list.Form_Load();
  ASSERT_EQ(db.seen.size(), 1u);
  EXPECT_EQ(db.seen[0].params, (std::vector<std::string>{"20260304", "20260304"}));
  list.spReal_Click(2, 1);
  EXPECT_EQ(view.Box(CallBackBox::txtindate), "2026-03-04 09:15:10");
  EXPECT_EQ(view.Box(CallBackBox::txtAniNum), "02-1234-5678");
  EXPECT_EQ(view.Box(CallBackBox::txtCallBacknum), "010-9876-5432");
  EXPECT_EQ(view.Box(CallBackBox::txtTryCnt), "0");
  EXPECT_EQ(view.Box(CallBackBox::txtCallBackCode), "K1");
  EXPECT_EQ(view.Outcome(), 2);
  EXPECT_DOUBLE_EQ(view.grid.Height(1), 10.5);
}

TEST_F(CallBackFixture, SaveWritesOneMoreAttemptAndTheOutcomeWordThenClearsTheKey) {
  struct Case {
    const char* tries;
    int option;
    const char* attempts;
    const char* outcome;
  } cases[] = {{"", 0, "1", "성공"},        {"2", 1, "3", "결번"},
               {"abc", 2, "1", "통화중"},   {" 4 ", 3, "5", "부재중"},
               {"1", kNoOutcome, "2", ""}};
  for (const Case& c : cases) {
    db.seen.clear();
    view.SetBox(CallBackBox::txtCallBackCode, " K'1 ");
    view.SetBox(CallBackBox::txtTryCnt, c.tries);
    view.SetOutcome(c.option);
    list.cmdCallBackSave_Click();
    ASSERT_EQ(db.seen.size(), 2u) << "update, then the search";
    EXPECT_EQ(db.seen[0].params, (std::vector<std::string>{c.outcome, c.attempts, "K'1"}));
    EXPECT_EQ(view.Box(CallBackBox::txtCallBackCode), "");
    EXPECT_EQ(view.Outcome(), kNoOutcome);
  }
  // A second save without a new selection changes nothing and says so.
  db.seen.clear();
  list.cmdCallBackSave_Click();
  EXPECT_TRUE(db.seen.empty());
  EXPECT_EQ(dialogs.messages.back(), kMsgNoRequestSelected);
}

TEST_F(CallBackFixture, AFailedUpdateIsShownLoggedAndKeepsWhatTheAgentEntered) {
  view.SetBox(CallBackBox::txtCallBackCode, "K1");
  view.SetBox(CallBackBox::txtTryCnt, "2");
  view.SetOutcome(3);
  db.answers.push_back(Failure("attempt to write a readonly database"));
  list.cmdCallBackSave_Click();
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{"attempt to write a readonly database"}));
  EXPECT_EQ(phone.log, (std::vector<std::string>{
                           "[CallBack 결과 저장 ERROR] K1 : attempt to write a readonly database"}));
  // No search after it: the request, the attempts and the outcome stay for the next save,
  // which writes the same attempts.
  ASSERT_EQ(db.seen.size(), 1u);
  EXPECT_EQ(view.Box(CallBackBox::txtCallBackCode), "K1");
  EXPECT_EQ(view.Box(CallBackBox::txtTryCnt), "2");
  EXPECT_EQ(view.Outcome(), 3);
  list.cmdCallBackSave_Click();
  ASSERT_EQ(db.seen.size(), 3u);  // the update again, then the search
  EXPECT_EQ(db.seen[1].params, db.seen[0].params);
  EXPECT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(view.Box(CallBackBox::txtCallBackCode), "");
}

TEST_F(CallBackFixture, AFailedSearchLogsShowsTheMessageAndLeavesRepaintingOn) {
  db.answers.push_back(Failure("server has gone away"));
  view.grid.redraw = false;
  list.cmdSerch_Click();
  EXPECT_EQ(phone.log, (std::vector<std::string>{"server has gone away"}));
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{std::string(kMsgDbLost)}));
  EXPECT_EQ(dialogs.titles.back(), kProgramTitle);
  EXPECT_TRUE(view.grid.redraw);
}

TEST_F(CallBackFixture, DialButtonsNeedFiveCharactersAndHangUpOnlyInACall) {
  view.SetBox(CallBackBox::txtAniNum, " 1234 ");
  list.cmdMakeCall01_Click();
  view.SetBox(CallBackBox::txtCallBacknum, " 12345 ");
  list.cmdMakeCall02_Click();
  view.SetBox(CallBackBox::txtAniNum, "가나다라");  // four characters, twelve bytes
  list.cmdMakeCall01_Click();
  EXPECT_EQ(phone.dialled, (std::vector<std::string>{"12345"}));
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{std::string(kMsgWrongNumber),
                                                        std::string(kMsgWrongNumber)}));
  dialogs.messages.clear();
  for (const char* caption : {"대기", "협의통화중", "통화중 ", "보류"}) {
    phone.caption = caption;
    list.cmdHangupCall_Click();
  }
  EXPECT_EQ(phone.hangups, 0);
  EXPECT_EQ(dialogs.messages.size(), 4u);
  phone.caption = "통화중";
  list.cmdHangupCall_Click();
  EXPECT_EQ(phone.hangups, 1);
}

struct DropCallFixture : ::testing::Test {
  FakeDropCallView view;
  ScriptedDatabase db;
  FakePhone phone;
  FakeDialogs dialogs;
  ManualClock clock{{2026, 3, 4, 10, 0, 0}};
  DropCallList list{view, db, phone, dialogs, clock};
};

TEST_F(DropCallFixture, RangesOfMoreThanAWeekAreRefusedBeforeAnyQuery) {
  struct Case {
    ListDate start, end;
    bool searched;
  } cases[] = {
      {{2026, 3, 1}, {2026, 3, 8}, true},  {{2026, 3, 1}, {2026, 3, 9}, false},
      {{2026, 1, 30}, {2026, 2, 2}, true}, {{2026, 3, 9}, {2026, 3, 1}, true},
      {{2025, 12, 28}, {2026, 1, 5}, false},
  };
  for (const Case& c : cases) {
    db.seen.clear();
    dialogs.messages.clear();
    view.SetPickers(c.start, c.end);
    list.cmdSerch_Click();
    EXPECT_EQ(db.seen.size(), c.searched ? 1u : 0u) << Ymd(c.start) << "-" << Ymd(c.end);
    EXPECT_EQ(dialogs.messages.empty(), c.searched);
    if (c.searched) {
      EXPECT_EQ(db.seen[0].params.front(), Ymd(c.start) + "000000");
      EXPECT_EQ(db.seen[0].params.back(), Ymd(c.end) + "235959");
    } else {
      EXPECT_EQ(dialogs.messages.front(), kMsgWeekLimit);
    }
  }
}

TEST_F(DropCallFixture, AFailedSearchLogsAndShowsTheMessage) {
  list.Form_Load();
  EXPECT_EQ(view.kind, kDropAll);
  db.answers.push_back(Failure("lost"));
  list.cmdSerch_Click();
  EXPECT_EQ(phone.log, (std::vector<std::string>{"lost"}));
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{std::string(kMsgDbLost)}));
  EXPECT_TRUE(view.grid.redraw);
  view.SetBox(DropCallBox::txtOutDn, "0101234");
  list.cmdMakeCall_Click();
  EXPECT_EQ(phone.dialled, (std::vector<std::string>{"0101234"}));
}

TEST(ConnectionCheck, AsksEachConnectionAndLogsOnlyFailures) {
  ScriptedDatabase stats, callBack;
  std::vector<std::string> log;
  ConnectionCheck check(stats, callBack, [&](std::string_view t) { log.emplace_back(t); });
  stats.answers.push_back(Failure("statistics down"));
  check.GetDate01();
  check.GetDate02();
  ASSERT_EQ(stats.seen.size(), 1u);
  ASSERT_EQ(callBack.seen.size(), 1u);
  EXPECT_EQ(callBack.seen[0].sql, "SELECT CURRENT_DATE AS ufdatetime");
  EXPECT_EQ(log, (std::vector<std::string>{"statistics down"}));
}

}  // namespace
}  // namespace agentphone::lists
