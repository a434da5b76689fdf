// The two list windows on screen: captions and headers, a row click filling the details, the
// attempts typed over before a save, a header click sorting, the date pickers' calendars in
// Korean, and the buttons reaching the list logic.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QCalendarWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "agentphone/ui_lists/call_back_window.h"
#include "agentphone/ui_lists/drop_call_window.h"
#include "tests/agentphone/lists/list_fakes.h"

namespace agentphone::ui_lists {
namespace {

using namespace lists;
using namespace lists::testing;

QString Q(const char* s) { return QString::fromUtf8(s); }

template <typename T>
T* Find(QWidget& w, const char* name) {
  T* child = w.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

QStringList Headers(QTableWidget* t) {
  QStringList out;
  for (int c = 0; c < t->columnCount(); ++c) {
    out << (t->horizontalHeaderItem(c) ? t->horizontalHeaderItem(c)->text() : QString());
  }
  return out;
}

QStringList Column(QTableWidget* t, int col) {
  QStringList out;
  for (int r = 0; r < t->rowCount(); ++r) out << t->item(r, col)->text();
  return out;
}

void ClickCell(QTableWidget* t, int row, int col) {
  const QRect r = t->visualItemRect(t->item(row, col));
  QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, r.center());
}

void ClickHeader(QTableWidget* t, int col) {
  QHeaderView* h = t->horizontalHeader();
  const QPoint p(h->sectionViewportPosition(col) + h->sectionSize(col) / 2, h->height() / 2);
  QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, p);
}

// Typed as at the desk: a Latin character as a key, a Hangul syllable as the input method
// commits it.
void TypeInto(QWidget* box, const QString& text) {
  for (QChar c : text) {
    if (c.unicode() < 0x80) {
      QTest::keyClick(box, c.toLatin1());
    } else {
      QInputMethodEvent commit;
      commit.setCommitString(QString(c));
      QApplication::sendEvent(box, &commit);
    }
  }
}

SqlResult CallBackRows() {
  SqlResult r;
  r.ok = true;
  r.columns = {"CallBack_Code", "Entered_Date", "Entered_Time", "Ani", "Reservation_num",
               "CallBack_Data01", "CallBack_Data02", "CallBack_Data03"};
  r.rows = {{"K1", "20260304", "091510", "0212345678", "01098765432", "2", "결번", "1201"},
            {"K2", "20260303", "120000", "0317654321", "", std::nullopt, std::nullopt, ""}};
  return r;
}

struct WindowTest : ::testing::Test {
  ScriptedDatabase db;
  FakePhone phone;
  FakeDialogs dialogs;
  ManualClock clock{{2026, 3, 4, 10, 0, 0}};

  // Presses the call-back window's save with the update and the search after it answered; the
  // statements it sent are left in db.seen.
  void Save(QWidget& w) {
    db.seen.clear();
    SqlResult updated;
    updated.ok = true;
    db.answers.push_back(updated);
    db.answers.push_back(CallBackRows());
    Find<QPushButton>(w, "cmdCallBackSave")->click();
  }
};

TEST_F(WindowTest, CallBackWindowShowsItsCaptionsAndFillsDetailsFromARowClick) {
  db.answers.push_back(CallBackRows());
  CallBackWindow w(db, phone, dialogs, clock);
  w.show();
  w.Load();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  EXPECT_EQ(w.windowTitle(), Q("Call Back DB 조회"));
  auto* table = Find<QTableWidget>(w, "spReal");
  EXPECT_EQ(Headers(table), (QStringList{Q("인입 일자"), Q("인입구분"), Q("발신자번호"),
                                         Q("CallBack 번호"), Q("시도 횟수"), Q("처리 결과"),
                                         QString()}));
  EXPECT_EQ(Find<QDateEdit>(w, "DTPicker1")->date(), QDate(2026, 3, 4));
  EXPECT_EQ(Find<QPushButton>(w, "cmdCallBackSave")->text(), Q("결과 저장"));
  EXPECT_EQ(Find<QPushButton>(w, "cmdHangupCall")->text(), Q("전화끊기"));
  EXPECT_EQ(Find<QRadioButton>(w, "SSOption1_2")->text(), Q("통 화 중"));
  ASSERT_EQ(table->rowCount(), 2);

  ClickCell(table, 0, 2);
  EXPECT_EQ(Find<QLineEdit>(w, "txtindate")->text(), Q("2026-03-04 09:15:10"));
  EXPECT_EQ(Find<QLineEdit>(w, "txtAniNum")->text(), Q("02-1234-5678"));
  EXPECT_EQ(Find<QLineEdit>(w, "txtCallBacknum")->text(), Q("010-9876-5432"));
  EXPECT_EQ(Find<QLineEdit>(w, "txtTryCnt")->text(), Q("2"));
  EXPECT_EQ(Find<QLineEdit>(w, "txtCallBackCode")->text(), Q("K1"));
  EXPECT_TRUE(Find<QRadioButton>(w, "SSOption1_1")->isChecked());

  ClickCell(table, 1, 0);  // no outcome: every option cleared
  for (const char* name : {"SSOption1_0", "SSOption1_1", "SSOption1_2", "SSOption1_3"}) {
    EXPECT_FALSE(Find<QRadioButton>(w, name)->isChecked()) << name;
  }
  EXPECT_EQ(Find<QLineEdit>(w, "txtTryCnt")->text(), Q("0"));

  // Saving writes for the selected request, then searches again.
  Find<QRadioButton>(w, "SSOption1_3")->click();
  Save(w);
  ASSERT_EQ(db.seen.size(), 2u);
  EXPECT_EQ(db.seen[0].params, (std::vector<std::string>{"부재중", "1", "K2"}));
  EXPECT_EQ(Find<QLineEdit>(w, "txtCallBackCode")->text(), QString());

  Find<QLineEdit>(w, "txtAniNum")->setText(Q("0212345678"));
  Find<QPushButton>(w, "cmdMakeCall01")->click();
  EXPECT_EQ(phone.dialled, (std::vector<std::string>{"0212345678"}));
}

TEST_F(WindowTest, TheAgentCorrectsTheAttemptsBeforeSaving) {
  const struct {
    const char* typed;
    const char* attempts;
  } cases[] = {{"5", "6"}, {" 12 ", "13"}, {"", "1"}, {"세번", "1"}, {"3회", "1"}};
  db.answers.push_back(CallBackRows());
  CallBackWindow w(db, phone, dialogs, clock);
  w.show();
  w.Load();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  auto* table = Find<QTableWidget>(w, "spReal");
  auto* tries = Find<QLineEdit>(w, "txtTryCnt");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    ClickCell(table, 0, 0);
    ASSERT_EQ(tries->text(), Q("2"));
    // typed over the shown count as an agent types: select all, delete, the new text
    tries->setFocus();
    QTest::keyClick(tries, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(tries, Qt::Key_Delete);
    TypeInto(tries, Q(c.typed));
    EXPECT_EQ(tries->text(), Q(c.typed));
    Save(w);
    ASSERT_EQ(db.seen.size(), 2u);
    EXPECT_EQ(db.seen[0].params, (std::vector<std::string>{"결번", c.attempts, "K1"}));
  }
}

TEST_F(WindowTest, AHeaderClickSortsAndTheNextReverses) {
  db.answers.push_back(CallBackRows());
  CallBackWindow w(db, phone, dialogs, clock);
  w.show();
  w.Load();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  auto* table = Find<QTableWidget>(w, "spReal");
  ClickHeader(table, 6);
  EXPECT_EQ(Column(table, 6), (QStringList{Q("K2"), Q("K1")}));
  ClickHeader(table, 0);
  EXPECT_EQ(Column(table, 0), (QStringList{Q("2026-03-03 12:00:00"), Q("2026-03-04 09:15:10")}));
  EXPECT_TRUE(table->updatesEnabled());
}

TEST_F(WindowTest, DropCallWindowShowsItsCaptionsAndFillsDetailsFromARow) {
  SqlResult r;
  r.ok = true;
  r.columns = {"EVENT_STARTTIME", "ABANDON_TIME", "ANI", "DNIS", "EMPLOYEE_ID", "GB"};
  r.rows = {{"20260304093012", "25", "01055551234", "1201", "0", "포기호"},
            {"20260304111503", "8", "0262223333", "1203", "2041", "분배포기호"}};
  db.answers.push_back(r);
  DropCallWindow w(db, phone, dialogs, clock);
  w.show();
  w.Load();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  EXPECT_EQ(w.windowTitle(), Q("포기호 DB 조회"));
  auto* table = Find<QTableWidget>(w, "spReal");
  EXPECT_EQ(Headers(table), (QStringList{Q("인입 일시"), Q("포기호구분"), Q("인입구분"),
                                         Q("대기시간"), Q("연결상담원"), Q("발신자번호")}));
  auto* combo = Find<QComboBox>(w, "Combo1");
  ASSERT_EQ(combo->count(), 3);
  EXPECT_EQ(combo->currentText(), Q("전체"));
  EXPECT_EQ(combo->itemText(2), Q("분배포기호"));
  EXPECT_EQ(Find<QPushButton>(w, "cmdHangupCall")->text(), Q("전화 끊기"));
  // The first search shows the latest call first.
  ASSERT_EQ(table->rowCount(), 2);
  EXPECT_EQ(table->item(0, 0)->text(), Q("2026-03-04  11:15:03"));

  ClickCell(table, 0, 1);
  EXPECT_EQ(Find<QLineEdit>(w, "txtindate")->text(), Q("2026-03-04  11:15:03"));
  EXPECT_EQ(Find<QLineEdit>(w, "txtgb")->text(), Q("0776"));
  EXPECT_EQ(Find<QLineEdit>(w, "txtDropTime")->text(), Q("8초"));
  EXPECT_EQ(Find<QLineEdit>(w, "txtAgent")->text(), Q("2041"));
  EXPECT_EQ(Find<QLineEdit>(w, "txtOutDn")->text(), Q("02-6222-3333"));

  // Moving the selection with the keyboard fills the details of the new row.
  QTest::keyClick(table, Qt::Key_Down);
  EXPECT_EQ(Find<QLineEdit>(w, "txtAgent")->text(), QString());
  EXPECT_EQ(Find<QLineEdit>(w, "txtOutDn")->text(), Q("010-5555-1234"));

  ClickHeader(table, 0);  // the fill sorted descending: this click ascends
  EXPECT_EQ(table->item(0, 0)->text(), Q("2026-03-04  09:30:12"));

  Find<QDateEdit>(w, "DTPicker2")->setDate(QDate(2026, 3, 12));
  db.seen.clear();
  Find<QPushButton>(w, "cmdSerch")->click();
  EXPECT_TRUE(db.seen.empty());
  EXPECT_EQ(dialogs.messages.back(), "1주일 이상 DATA조회 불가 합니다.");
}

// The pickers' calendars name months and weekdays in Korean whatever the desk's own locale, as
// the rest of the windows speak Korean.
TEST_F(WindowTest, DatePickersCalendarsSpeakKorean) {
  const QLocale desk = QLocale();
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  db.answers.push_back(CallBackRows());
  CallBackWindow callBack(db, phone, dialogs, clock);
  SqlResult none;
  none.ok = true;
  db.answers.push_back(none);
  DropCallWindow dropCall(db, phone, dialogs, clock);
  QLocale::setDefault(desk);
  const std::pair<const char*, QWidget*> windows[] = {{"call-back list", &callBack},
                                                       {"abandoned-call list", &dropCall}};
  for (const auto& [window, w] : windows) {
    for (const char* name : {"DTPicker1", "DTPicker2"}) {
      SCOPED_TRACE(std::string(window) + " " + name);
      auto* picker = Find<QDateEdit>(*w, name);
      picker->setDate(QDate(2026, 3, 4));
      QCalendarWidget* calendar = picker->calendarWidget();
      ASSERT_NE(calendar, nullptr);
      auto* month = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
      ASSERT_NE(month, nullptr);
      EXPECT_EQ(month->text(), Q("3월"));
      EXPECT_EQ(picker->text(), Q("2026-03-04"));  // the picker's own text keeps its digits
    }
  }
}

}  // namespace
}  // namespace agentphone::ui_lists
