// The not-ready reason dialog's results and the consultation dialog: its grid from the ready
// list and [DNINFO], the header sort, the row click and selection, and its number rule.
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "agentphone/ui/consult_dial_dialog.h"
#include "agentphone/ui/not_ready_dialog.h"
#include "agentphone/ui/ready_agent_rows.h"
#include "ui_fixture.h"

namespace agentphone::ui::test {
namespace {

template <typename T = QWidget>
T* Find(QWidget& root, const char* name) {
  T* w = root.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(w, nullptr) << name;
  return w;
}

struct ReasonCase {
  int option;          // the option selected before the button; -1 none touched
  const char* button;  // cmdok, cmdExit, or "" for the window's own close
  int32_t reason;
};

class NotReadyTest : public ::testing::TestWithParam<ReasonCase> {};

TEST_P(NotReadyTest, HandsBackTheChosenReason) {
  const ReasonCase& c = GetParam();
  NotReadyDialog dialog(/*current=*/0);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_TRUE(Find<QRadioButton>(dialog, "Option1_0")->isChecked());
  if (c.option >= 0) {
    const std::string name = "Option1_" + std::to_string(c.option);
    QRadioButton* option = Find<QRadioButton>(dialog, name.c_str());
    // on its round mark: a click beside its label does not select it
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
  }
  if (*c.button) {
    QTest::mouseClick(Find<QPushButton>(dialog, c.button), Qt::LeftButton);
  } else {
    dialog.close();
  }
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.Reason(), c.reason);
}

INSTANTIATE_TEST_SUITE_P(Reasons, NotReadyTest,
                         ::testing::Values(ReasonCase{-1, "cmdok", 0}, ReasonCase{1, "cmdok", 1},
                                           ReasonCase{2, "cmdok", 2}, ReasonCase{3, "cmdok", 3},
                                           ReasonCase{2, "cmdExit", 0}, ReasonCase{3, "", 0}));

TEST(NotReadyCaptions, ButtonsAndTitleAreTheProgramsWords) {
  NotReadyDialog dialog(2);
  EXPECT_EQ(dialog.windowTitle(), Q("휴식코드"));
  EXPECT_EQ(Find<QPushButton>(dialog, "cmdok")->text(), Q("확인"));
  EXPECT_EQ(Find<QPushButton>(dialog, "cmdExit")->text(), Q("닫기"));
  // Closed in another way it hands back what it was opened with.
  dialog.close();
  EXPECT_EQ(dialog.Reason(), 2);
}

TEST(ReadyAgentRowsTest, TakesTheCountedRecordsAndNoMore) {
  auto name = [](std::string_view d) { return d == "1001" ? std::string("홍길동") : std::string(); };
  const auto rows = ReadyAgentRows("a1|1001|0|30^a2|1002|1|5^", 2, name);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].name, "홍길동");
  EXPECT_EQ(rows[0].device, "1001");
  EXPECT_EQ(rows[0].blendmode, "0");
  EXPECT_EQ(rows[0].continuetime, "30");
  EXPECT_EQ(rows[1].name, "");
  // A count beyond the list, a short record and a negative count read nothing past the list.
  EXPECT_EQ(ReadyAgentRows("a1|1001|0|30^", 5, name).size(), 1u);
  const auto shortRow = ReadyAgentRows("a1|1001^", 1, name);
  ASSERT_EQ(shortRow.size(), 1u);
  EXPECT_EQ(shortRow[0].continuetime, "");
  EXPECT_TRUE(ReadyAgentRows("a1|1001|0|30^", -1, name).empty());
  EXPECT_TRUE(ReadyAgentRows("", 3, name).empty());
}

class ConsultTest : public ::testing::Test {
 protected:
  void Open(int16_t dialMode = 2) {
    desk_.WriteFile("SOFTPHONE.ini", "[DNINFO]\n1001=김민수\n1003=이영희\n");
    g_.gDIALMODE = dialMode;
    g_.gREADYLIST = "e1|1001|0|30^e2|1002|1|5^e3|1003|0|120^";
    g_.gREADYCOUNT = 3;
    dialog_ = std::make_unique<ConsultDialDialog>(boxes_, g_, desk_.Path());
    dialog_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
  }
  QTableWidget* Grid() { return Find<QTableWidget>(*dialog_, "SS2"); }
  QLineEdit* Box() { return Find<QLineEdit>(*dialog_, "txtNum"); }
  QStringList Column(int col) {
    QStringList out;
    for (int r = 0; r < Grid()->rowCount(); ++r) out << Grid()->item(r, col)->text();
    return out;
  }
  void ClickCell(int row, int col) {
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {},
                      Grid()->visualItemRect(Grid()->item(row, col)).center());
  }
  void ClickHeader(int col) {
    QHeaderView* h = Grid()->horizontalHeader();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                      QPoint(h->sectionViewportPosition(col) + h->sectionSize(col) / 2,
                             h->height() / 2));
  }

  vomtel::test::TempDir desk_;
  Globals g_;
  RecordingBoxes boxes_;
  std::unique_ptr<ConsultDialDialog> dialog_;
};

TEST_F(ConsultTest, ListsTheReadyAgentsWithTheirNames) {
  Open();
  EXPECT_EQ(dialog_->windowTitle(), Q("호전환 연결"));
  EXPECT_TRUE(Grid()->isVisible());
  EXPECT_EQ(Grid()->horizontalHeaderItem(0)->text(), Q("성명"));
  EXPECT_EQ(Grid()->horizontalHeaderItem(1)->text(), Q("내선"));
  EXPECT_EQ(Column(0), (QStringList{Q("김민수"), QString(), Q("이영희")}));
  EXPECT_EQ(Column(1), (QStringList{"1001", "1002", "1003"}));
  EXPECT_EQ(Column(3), (QStringList{"30", "5", "120"}));
}

TEST_F(ConsultTest, HeaderClicksSortAndReverse) {
  Open();
  ClickHeader(3);
  EXPECT_EQ(Column(1), (QStringList{"1002", "1001", "1003"}));  // texts, descending first
  ClickHeader(1);
  EXPECT_EQ(Column(1), (QStringList{"1001", "1002", "1003"}));
  ClickHeader(1);
  EXPECT_EQ(Column(1), (QStringList{"1003", "1002", "1001"}));
  EXPECT_TRUE(Box()->text().isEmpty());
}

TEST_F(ConsultTest, RowClickAndSelectionTakeTheExtension) {
  Open();
  QTest::keyClicks(Box(), "77");
  ClickCell(2, 0);
  EXPECT_EQ(Box()->text(), QStringLiteral("1003"));
  Grid()->setFocus();
  QTest::keyClick(Grid(), Qt::Key_Up);
  EXPECT_EQ(Box()->text(), QStringLiteral("1002"));
  QTest::mouseClick(Find<QPushButton>(*dialog_, "cmdMakeCall"), Qt::LeftButton);
  EXPECT_EQ(dialog_->Number(), QStringLiteral("1002"));
  EXPECT_FALSE(dialog_->isVisible());
}

TEST_F(ConsultTest, ShortNumbersAreRefusedAndExitHandsBackNothing) {
  Open();
  QTest::keyClicks(Box(), "123");
  QTest::mouseClick(Find<QPushButton>(*dialog_, "cmdMakeCall"), Qt::LeftButton);
  ASSERT_EQ(boxes_.Texts(), QStringList{Q("잘못된 전화번호 입니다. 확인하세요!!!")});
  EXPECT_TRUE(dialog_->isVisible());
  QTest::keyClicks(Box(), "x");
  EXPECT_EQ(boxes_.shown.back().text, Q("반드시 숫자만 입력하십시요."));
  EXPECT_EQ(Box()->text(), QStringLiteral("123"));
  QTest::keyClicks(Box(), "4");
  QTest::mouseClick(Find<QPushButton>(*dialog_, "cmdExit"), Qt::LeftButton);
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_TRUE(dialog_->Number().isEmpty());
}

TEST_F(ConsultTest, MakeCallModeShowsNoGrid) {
  Open(/*dialMode=*/1);
  EXPECT_FALSE(Grid()->isVisible());
  EXPECT_EQ(Grid()->rowCount(), 0);
}

}  // namespace
}  // namespace agentphone::ui::test
