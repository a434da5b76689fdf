// The message boxes as the program shows them: the standard buttons in Korean with Qt's own
// translation installed, in English without it, and the answer that the pressed button gives.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "agentphone/ui/qt_korean.h"
#include "ui_fixture.h"

namespace agentphone::ui::test {
namespace {

// Watches the event loop of the next message box: once it is shown, keeps the texts of its
// buttons and presses `press`.
class BoxAnswer {
 public:
  explicit BoxAnswer(QMessageBox::StandardButton press) {
    QObject::connect(&watch_, &QTimer::timeout, [this, press] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      watch_.stop();
      text = box->text();
      for (QAbstractButton* b : box->buttons()) buttons << b->text();
      box->button(press)->click();
    });
    watch_.start(0);
  }
  QString text;
  QStringList buttons;

 private:
  QTimer watch_;
};

struct BoxCase {
  const char* name;
  bool translated;  // Qt's Korean translation installed
  bool question;    // the close question (Ask), else an information box (Inform)
  QMessageBox::StandardButton press;
  std::vector<const char*> buttons;  // their texts, in the box's order ("&": the letter is
                                     // underlined and Alt with it presses the button)
  bool yes;                          // what Ask hands back
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

class MessageBoxTest : public ::testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxTest, StandardButtonsSpeakTheInstalledLanguage) {
  const BoxCase& c = GetParam();
  vomtel::test::TempDir noTranslations;
  const std::unique_ptr<QTranslator> korean =
      UseQtKoreanTexts(c.translated ? QString() : QString::fromStdString(noTranslations.Path()));
  EXPECT_EQ(korean != nullptr, c.translated);

  QtMessageBoxes boxes;
  BoxAnswer answer(c.press);
  if (c.question) {
    EXPECT_EQ(boxes.Ask(nullptr, QString(), Q("소프트폰 을 종료하시겠습니까?")), c.yes);
    EXPECT_EQ(answer.text, Q("소프트폰 을 종료하시겠습니까?"));
  } else {
    boxes.Inform(nullptr, Q("SoftPhone"), Q("반드시 숫자만 입력하십시요."), MessageIcon::kNone);
    EXPECT_EQ(answer.text, Q("반드시 숫자만 입력하십시요."));
  }
  QStringList expected;
  for (const char* b : c.buttons) expected << Q(b);
  EXPECT_EQ(answer.buttons.join(u'|').toStdString(), expected.join(u'|').toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, MessageBoxTest,
    ::testing::Values(
        BoxCase{"CloseQuestionAnsweredYes", true, true, QMessageBox::Yes,
                {"예(&Y)", "아니요(&N)"}, true},
        BoxCase{"CloseQuestionAnsweredNo", true, true, QMessageBox::No,
                {"예(&Y)", "아니요(&N)"}, false},
        BoxCase{"Information", true, false, QMessageBox::Ok, {"확인"}, false},
        BoxCase{"CloseQuestionWithoutTheTranslation", false, true, QMessageBox::No,
                {"&Yes", "&No"}, false},
        BoxCase{"InformationWithoutTheTranslation", false, false, QMessageBox::Ok, {"OK"},
                false}),
    [](const ::testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace agentphone::ui::test
