// The dial pad: which typed characters the number box takes, the editing keys of both number
// boxes, Send's rule of 4 characters, Close, the digit keys that append at the end and the
// keys' highlighted pictures.
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

#include "agentphone/ui/consult_dial_dialog.h"
#include "agentphone/ui/dial_entry.h"
#include "agentphone/ui/dial_pad_dialog.h"
#include "ui_fixture.h"

namespace agentphone::ui::test {
namespace {

class DialPadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pad_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pad_));
  }
  template <typename T = QWidget>
  T* Child(const QString& name) {
    T* w = pad_.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
  }
  QLineEdit* Box() { return Child<QLineEdit>(QStringLiteral("txtNum")); }
  // A key is clicked as the agent clicks it: the pointer over its resting picture brings up the
  // highlighted one, which takes the click.
  void ClickKey(const QString& key) {
    QWidget* off = Child(QStringLiteral("pic") + key + QStringLiteral("_off"));
    QWidget* on = Child(QStringLiteral("pic") + key + QStringLiteral("_on"));
    QTest::mouseMove(off);
    ASSERT_TRUE(on->isVisible()) << key.toStdString();
    ASSERT_FALSE(off->isVisible()) << key.toStdString();
    QTest::mouseClick(on, Qt::LeftButton);
  }

  RecordingBoxes boxes_;
  DialPadDialog pad_{boxes_};
};

struct KeyCase {
  const char* typed;
  const char* box;     // the box afterwards (it starts with "12")
  bool message;        // "반드시 숫자만 입력하십시요." shown
};

// Each character as a key press carrying its text, as an input method delivers a letter the
// keyboard test helpers do not know (Hangul among them).
int KeyOf(QChar c) {
  if (c == QLatin1Char('\b')) return Qt::Key_Backspace;
  if (c.unicode() >= 0x20 && c.unicode() < 0x7f) return QChar(c).toUpper().unicode();
  return Qt::Key_unknown;
}

void TypeInto(QWidget* box, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, KeyOf(c),
                    Qt::NoModifier, QString(c));
    QApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, press.key(), Qt::NoModifier, QString(c));
    QApplication::sendEvent(box, &release);
  }
}

class KeyFilterTest : public DialPadTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyFilterTest, TakesDigitsStarHashAndBackspaceOnly) {
  const KeyCase& c = GetParam();
  Box()->setText(QStringLiteral("12"));
  TypeInto(Box(), QString::fromUtf8(c.typed));
  EXPECT_EQ(Box()->text(), QString::fromUtf8(c.box));
  ASSERT_EQ(boxes_.shown.empty(), !c.message);
  if (c.message) {
    EXPECT_EQ(boxes_.shown[0].text, Q("반드시 숫자만 입력하십시요."));
    EXPECT_EQ(boxes_.shown[0].title, Q("SoftPhone"));
  }
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyFilterTest,
                         ::testing::Values(KeyCase{"3", "123", false},
                                           KeyCase{"*#", "12*#", false},
                                           KeyCase{"a", "12", true},
                                           KeyCase{"-", "12", true},
                                           KeyCase{" ", "12", true},
                                           KeyCase{"가", "12", true},
                                           KeyCase{"\b", "1", false}));

// A key press as the X11 platform delivers it: the key, its modifiers and the text Qt gives it
// (Delete "\x7f", Backspace "\b", Ctrl with a letter its control character, none for the
// arrows, Home, End and Insert).
struct Press {
  int key;
  Qt::KeyboardModifiers modifiers;
  const char* text;
};

struct EditCase {
  const char* name;
  std::vector<Press> keys;  // pressed in order, the box holding "1234" with the caret after "12"
  const char* box;          // the box afterwards
  bool message;             // "반드시 숫자만 입력하십시요." shown
};

void PrintTo(const EditCase& c, std::ostream* os) { *os << c.name; }

void Send(QWidget* box, const Press& p) {
  const QString text = QString::fromLatin1(p.text);
  QKeyEvent press(QEvent::KeyPress, p.key, p.modifiers, text);
  QApplication::sendEvent(box, &press);
  QKeyEvent release(QEvent::KeyRelease, p.key, p.modifiers, text);
  QApplication::sendEvent(box, &release);
}

// The two number boxes, the dial pad's and the consultation dialog's, each shown in its dialog:
// `check` gets the box and the message boxes of its dialog.
void InBothNumberBoxes(const std::function<void(QLineEdit*, RecordingBoxes&)>& check) {
  vomtel::test::TempDir desk;
  Globals g;
  g.gDIALMODE = 1;
  RecordingBoxes padBoxes, consultBoxes;
  DialPadDialog pad(padBoxes);
  ConsultDialDialog consult(consultBoxes, g, desk.Path());
  for (auto [dialog, boxes] : {std::pair<QDialog*, RecordingBoxes*>{&pad, &padBoxes},
                               std::pair<QDialog*, RecordingBoxes*>{&consult, &consultBoxes}}) {
    SCOPED_TRACE(dialog->objectName().toStdString());
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("txtNum"));
    ASSERT_NE(box, nullptr);
    check(box, *boxes);
  }
}

class EditingKeysTest : public ::testing::TestWithParam<EditCase> {};

// The same keys in the dial pad's box and in the consultation dialog's.
TEST_P(EditingKeysTest, EditAsInAnyTextBoxAndOnlyPrintableNonDigitsAreRefused) {
  const EditCase& c = GetParam();
  QApplication::clipboard()->setText(QStringLiteral("56"));
  InBothNumberBoxes([&](QLineEdit* box, RecordingBoxes& boxes) {
    box->setText(QStringLiteral("1234"));
    box->setCursorPosition(2);
    for (const Press& p : c.keys) Send(box, p);
    EXPECT_EQ(box->text().toStdString(), c.box);
    EXPECT_EQ(boxes.Texts().join(u'|').toStdString(), c.message ? "반드시 숫자만 입력하십시요." : "");
  });
}

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
const Press kDelete{Qt::Key_Delete, kNone, "\x7f"};
const Press kNine{Qt::Key_9, kNone, "9"};

INSTANTIATE_TEST_SUITE_P(
    Keys, EditingKeysTest,
    ::testing::Values(
        EditCase{"Delete", {kDelete}, "124", false},
        EditCase{"DeleteTwice", {kDelete, kDelete}, "12", false},
        EditCase{"Backspace", {{Qt::Key_Backspace, kNone, "\b"}}, "134", false},
        EditCase{"LeftThenDigit", {{Qt::Key_Left, kNone, ""}, kNine}, "19234", false},
        EditCase{"RightThenDigit", {{Qt::Key_Right, kNone, ""}, kNine}, "12394", false},
        EditCase{"HomeThenDigit", {{Qt::Key_Home, kNone, ""}, kNine}, "91234", false},
        EditCase{"EndThenDigit", {{Qt::Key_End, kNone, ""}, kNine}, "12349", false},
        EditCase{"SelectToStartAndDelete", {{Qt::Key_Home, kShift, ""}, kDelete}, "34", false},
        EditCase{"SelectLeftAndType", {{Qt::Key_Left, kShift, ""}, kNine}, "1934", false},
        EditCase{"SelectAllAndDelete", {{Qt::Key_A, kCtrl, "\x01"}, kDelete}, "", false},
        EditCase{"SelectAllAndCut", {{Qt::Key_A, kCtrl, "\x01"}, {Qt::Key_X, kCtrl, "\x18"}},
                 "", false},
        EditCase{"PasteDigits", {{Qt::Key_V, kCtrl, "\x16"}}, "125634", false},
        // the letter itself as the text, as some platforms and the test helpers give it
        EditCase{"PasteWithTheLetterAsText", {{Qt::Key_V, kCtrl, "v"}}, "125634", false},
        EditCase{"PasteWithShiftInsert", {{Qt::Key_Insert, kShift, ""}}, "125634", false},
        EditCase{"Letter", {{Qt::Key_A, kNone, "a"}}, "1234", true},
        EditCase{"Dot", {{Qt::Key_Period, kNone, "."}}, "1234", true},
        EditCase{"Blank", {{Qt::Key_Space, kNone, " "}}, "1234", true}),
    [](const ::testing::TestParamInfo<EditCase>& info) { return std::string(info.param.name); });

struct ComposedCase {
  const char* name;
  const char* preedit;  // what the input method shows while composing
  const char* commit;   // what it then hands to the box
  const char* box;      // the box afterwards (it starts with "12")
  bool message;         // "반드시 숫자만 입력하십시요." shown
};

void PrintTo(const ComposedCase& c, std::ostream* os) { *os << c.name; }

class ComposedTextTest : public ::testing::TestWithParam<ComposedCase> {};

// Text that an input method (Hangul on a Korean desk) composes reaches a box without a key
// press; both number boxes hold it to the same rule as a typed character.
TEST_P(ComposedTextTest, IsHeldToTheKeyRule) {
  const ComposedCase& c = GetParam();
  InBothNumberBoxes([&](QLineEdit* box, RecordingBoxes& boxes) {
    box->setText(QStringLiteral("12"));
    QInputMethodEvent composing(QString::fromUtf8(c.preedit), {});
    QApplication::sendEvent(box, &composing);
    QInputMethodEvent committed;
    committed.setCommitString(QString::fromUtf8(c.commit));
    QApplication::sendEvent(box, &committed);
    EXPECT_EQ(box->text().toStdString(), c.box);
    EXPECT_EQ(boxes.Texts().join(u'|').toStdString(), c.message ? "반드시 숫자만 입력하십시요." : "");
  });
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ComposedTextTest,
    ::testing::Values(ComposedCase{"Hangul", "ㄱ", "가", "12", true},
                      ComposedCase{"HangulAfterADigit", "", "3가", "12", true},
                      ComposedCase{"Digits", "", "34", "1234", false},
                      ComposedCase{"StarAndHash", "", "*#", "12*#", false}),
    [](const ::testing::TestParamInfo<ComposedCase>& info) { return std::string(info.param.name); });

TEST_F(DialPadTest, BackspaceKeyWorksWithoutAMessage) {
  Box()->setText(QStringLiteral("123"));
  QTest::keyClick(Box(), Qt::Key_Backspace);
  EXPECT_EQ(Box()->text(), QStringLiteral("12"));
  QTest::keyClick(Box(), Qt::Key_Left);
  EXPECT_TRUE(boxes_.shown.empty());
}

struct SendCase {
  const char* box;
  const char* number;  // handed back; empty: refused, the pad stays open
};

class SendTest : public DialPadTest, public ::testing::WithParamInterface<SendCase> {};

TEST_P(SendTest, SendHandsBackATrimmedNumberOfFourCharacters) {
  const SendCase& c = GetParam();
  Box()->setText(QString::fromUtf8(c.box));
  ClickKey(QStringLiteral("Send"));
  if (*c.number) {
    EXPECT_EQ(pad_.result(), QDialog::Accepted);
    EXPECT_FALSE(pad_.isVisible());
    EXPECT_EQ(pad_.Number(), QString::fromUtf8(c.number));
    EXPECT_TRUE(boxes_.shown.empty());
  } else {
    EXPECT_TRUE(pad_.isVisible());
    EXPECT_EQ(Box()->text(), QString::fromUtf8(c.box));
    ASSERT_EQ(boxes_.shown.size(), 1u);
    EXPECT_EQ(boxes_.shown[0].text, Q("잘못된 전화번호 입니다. 확인하세요!!!"));
    EXPECT_EQ(boxes_.shown[0].title, Q("소프트폰"));
  }
}

INSTANTIATE_TEST_SUITE_P(Numbers, SendTest,
                         ::testing::Values(SendCase{"123", ""}, SendCase{"    ", ""},
                                           SendCase{" 12 ", ""}, SendCase{"  1234 ", "1234"},
                                           SendCase{"12*#", "12*#"},
                                           SendCase{"0212345678", "0212345678"}));

TEST_F(DialPadTest, CommandButtonAndEnterSendToo) {
  Box()->setText(QStringLiteral("5678"));
  QTest::mouseClick(Child<QPushButton>(QStringLiteral("Command1")), Qt::LeftButton);
  EXPECT_EQ(pad_.Number(), QStringLiteral("5678"));

  RecordingBoxes boxes;
  DialPadDialog second(boxes);
  second.show();
  auto* box = second.findChild<QLineEdit*>(QStringLiteral("txtNum"));
  QTest::keyClicks(box, "4321");
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(second.Number(), QStringLiteral("4321"));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(DialPadTest, CloseHandsBackNothingEvenAfterAValidNumber) {
  Box()->setText(QStringLiteral("1234"));
  ClickKey(QStringLiteral("Close"));
  EXPECT_EQ(pad_.result(), QDialog::Rejected);
  EXPECT_FALSE(pad_.isVisible());
  EXPECT_TRUE(pad_.Number().isEmpty());
}

TEST_F(DialPadTest, DigitKeysAppendAtTheEndWhereverTheCaretIsAndClearEmpties) {
  Box()->setText(QStringLiteral("12"));
  Box()->setCursorPosition(0);
  ClickKey(QStringLiteral("7"));
  ClickKey(QStringLiteral("0"));
  EXPECT_EQ(Box()->text(), QStringLiteral("1270"));
  ClickKey(QStringLiteral("Clear"));
  EXPECT_TRUE(Box()->text().isEmpty());
}

TEST_F(DialPadTest, PointerOverTheBackgroundRestsEveryKey) {
  ClickKey(QStringLiteral("5"));
  EXPECT_TRUE(Child(QStringLiteral("pic5_on"))->isVisible());
  QTest::mouseMove(&pad_, QPoint(pad_.width() - 2, pad_.height() - 2));
  // Without a button the move reaches the window only while it tracks the pointer.
  QMouseEvent move(QEvent::MouseMove, QPointF(pad_.width() - 2, pad_.height() - 2),
                   pad_.mapToGlobal(QPointF(pad_.width() - 2, pad_.height() - 2)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&pad_, &move);
  for (const char* key : {"0", "5", "9", "Clear", "Send", "Close"}) {
    EXPECT_TRUE(Child(QStringLiteral("pic%1_off").arg(QLatin1String(key)))->isVisible()) << key;
    EXPECT_FALSE(Child(QStringLiteral("pic%1_on").arg(QLatin1String(key)))->isVisible()) << key;
  }
}

}  // namespace
}  // namespace agentphone::ui::test
