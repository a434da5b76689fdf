// The call-back list on a desk with the embedded database: opened from the window, it shows the
// requests of the day that the new database was made with; a request's outcome is written back
// and read again, and its call-back number is dialled at the switch.
#include <QAbstractButton>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include "tests/e2e/desk_fixture.h"
#include "tests/e2e/window_fixture.h"

namespace desk::test {
namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows TableRows(QWidget* list) {
  auto* table = list->findChild<QTableWidget*>();
  Rows rows;
  if (!table) return rows;
  for (int r = 0; r < table->rowCount(); ++r) {
    std::vector<std::string> row;
    for (int c = 0; c < table->columnCount(); ++c) {
      const QTableWidgetItem* item = table->item(r, c);
      row.push_back(item ? item->text().toStdString() : std::string());
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

void Click(QWidget* list, const char* name) {
  auto* button = list->findChild<QAbstractButton*>(QString::fromLatin1(name));
  ASSERT_NE(button, nullptr) << name;
  button->click();
}

std::string Box(QWidget* list, const char* name) {
  auto* box = list->findChild<QLineEdit*>(QString::fromLatin1(name));
  return box ? box->text().toStdString() : std::string("(no " + std::string(name) + ")");
}

TEST_F(WindowTest, TheCallBackListReadsWritesBackAndDialsTheEmbeddedDatabase) {
  // With the database the agent stays not ready after the login; the list button shows.
  ASSERT_NO_FATAL_FAILURE(
      StartLoggedIn(kNotReady, [](DeskConfig& config) { config.database = true; }));
  ASSERT_TRUE(Until([&] { return Enabled("cmdCallBack"); })) << Report();

  Rows shown, saved;
  std::string aniBox, callBackBox;
  WhenShown("frmCallBack", [&](QWidget* list) {
    shown = TableRows(list);
    auto* table = list->findChild<QTableWidget*>();
    table->setCurrentCell(0, 0);  // the first request's details in the boxes
    aniBox = Box(list, "txtAniNum");
    callBackBox = Box(list, "txtCallBacknum");
    Click(list, "cmdMakeCall02");
    Click(list, "SSOption1_2");  // busy
    Click(list, "cmdCallBackSave");
    saved = TableRows(list);
    Click(list, "cmdExit");
  });
  ASSERT_NO_FATAL_FAILURE(Press("cmdCallBack"));
  ASSERT_TRUE(Until([&] { return AllAnswered(); })) << Report();

  // The entry time after the day the database was made; the rest as stored, the numbers
  // formatted, the key last.
  auto withoutDay = [](Rows rows) {
    for (auto& row : rows) {
      if (!row.empty() && row[0].size() > 10) row[0] = row[0].substr(10);
    }
    return rows;
  };
  const Rows before = {
      {" 09:15:10", "1201", "02-1234-5678", "010-9876-5432", "0", "", "CB0001"},
      {" 10:30:00", "1202", "031-765-4321", "031-765-4321", "1", "부재중", "CB0002"}};
  EXPECT_EQ(withoutDay(shown), before);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0][0].substr(0, 10), shown[1][0].substr(0, 10));
  EXPECT_EQ(aniBox, "02-1234-5678");
  EXPECT_EQ(callBackBox, "010-9876-5432");

  // Saved: one attempt more and the outcome, read back from the database.
  Rows after = before;
  after[0][4] = "1";
  after[0][5] = "통화중";
  EXPECT_EQ(withoutDay(saved), after);

  // Dialled with the desk's rule for outside numbers.
  const std::optional<ctisim::Request> dial = Request(kMakeCallCode);
  ASSERT_TRUE(dial) << Report();
  EXPECT_EQ(CalledNumber(*dial), "001098765432");
  EXPECT_TRUE(Until([&] { return Caption() == "통화중"; })) << Report();
  EXPECT_TRUE(boxes_.informed.empty()) << Report();
}

}  // namespace
}  // namespace desk::test
