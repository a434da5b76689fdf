// What the main window shows and forwards: a state word from the core changes the status
// caption and the button pictures, a disabled button takes no click while an enabled one
// reaches the core, the boxes and check boxes reach the core, closing asks first, and every
// caption shows its Korean glyphs.
#include <QCheckBox>
#include <QDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTableWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "agentphone/ui/consult_dial_dialog.h"
#include "agentphone/ui/dial_pad_dialog.h"
#include "agentphone/ui/not_ready_dialog.h"
#include "agentphone/ui/pictures.h"
#include "ui_fixture.h"

namespace agentphone::ui::test {
namespace {

class DisplayTest : public WindowFixture {
 protected:
  ImageButton* ButtonW(Button b) { return window_.ButtonWidget(b); }
  QString Caption() { return Child<QLabel>("sStatue")->text(); }
  // The picture a button shows is the holder's picture, pixel for pixel.
  void ExpectPicture(Button b, Picture p) {
    ImageButton* w = ButtonW(b);
    EXPECT_EQ(w->PictureName(), FromUtf8(PictureName(p))) << ButtonName(b);
    EXPECT_EQ(w->pixmap().toImage(), HolderPicture(p).toImage()) << ButtonName(b);
  }
};

TEST_F(DisplayTest, StateWordsSetTheCaptionAndThePictures) {
  Start("[SOFTPHONE]\n");
  EXPECT_EQ(Caption(), Q("로그아웃"));
  ExpectPicture(Button::imgLogIn, Picture::ImgLogInOn);
  EXPECT_TRUE(ButtonW(Button::imgLogIn)->isEnabled());
  EXPECT_FALSE(ButtonW(Button::ImgMakeCall)->isEnabled());

  phone_->ufButtonSet("LOGIN");
  EXPECT_EQ(Caption(), Q("로그인"));
  ExpectPicture(Button::imgLogIn, Picture::ImgLogOutOn);
  ExpectPicture(Button::ImgReady, Picture::ImgReadyOn);
  EXPECT_TRUE(ButtonW(Button::ImgReady)->isEnabled());

  phone_->ufButtonSet(" ready ");
  EXPECT_EQ(Caption(), Q("대기"));
  ExpectPicture(Button::ImgReady, Picture::ImgReadyOff);
  ExpectPicture(Button::ImgNotReady, Picture::ImgNotReadyOn);

  phone_->ufButtonSet("BUSY");
  EXPECT_EQ(Caption(), Q("통화중"));
  ExpectPicture(Button::ImgHangUp, Picture::ImgHangUpOn);
  // Enabled while it shows its inactive picture.
  ExpectPicture(Button::ImgConference, Picture::ImgConferenceOff);
  EXPECT_TRUE(ButtonW(Button::ImgConference)->isEnabled());
  EXPECT_FALSE(ButtonW(Button::imgLogIn)->isEnabled());

  phone_->ufButtonSet("HOLD");
  EXPECT_EQ(Caption(), Q("보류중"));
  ExpectPicture(Button::ImgRetrieve, Picture::ImgRetrieveOn);
  ExpectPicture(Button::ImgHold, Picture::ImgHoldOff);
  EXPECT_FALSE(ButtonW(Button::ImgHold)->isEnabled());

  // A word of no row changes nothing.
  phone_->ufButtonSet("HOLDX");
  EXPECT_EQ(Caption(), Q("보류중"));
}

struct ClickCase {
  const char* word;  // the state shown before the click
  Button button;
  bool reaches;      // the click reaches the core
};

class ButtonClickTest : public DisplayTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(ButtonClickTest, OnlyAnEnabledButtonTakesTheClick) {
  const ClickCase& c = GetParam();
  Start("[SOFTPHONE]\n");
  phone_->SetAgentIdText("agent1");
  phone_->SetExtensionText("1001");
  if (*c.word) phone_->ufButtonSet(c.word);
  telx_.Reset();
  ASSERT_EQ(ButtonW(c.button)->isEnabled(), c.reaches);
  QTest::mouseClick(ButtonW(c.button), Qt::LeftButton);
  const bool reached = !telx_.calls.empty() || dialogs_.dialPadRuns > 0;
  EXPECT_EQ(reached, c.reaches) << ButtonName(c.button) << " in " << c.word;
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, ButtonClickTest,
    ::testing::Values(ClickCase{"", Button::ImgMakeCall, false},
                      ClickCase{"", Button::ImgReady, false},
                      ClickCase{"READY", Button::ImgAnswer, false},
                      ClickCase{"HOLD", Button::ImgHold, false},
                      ClickCase{"DELIVERED", Button::imgLogIn, false},
                      ClickCase{"READY", Button::ImgMakeCall, true},
                      ClickCase{"NOTREADY", Button::ImgReady, true},
                      ClickCase{"DELIVERED", Button::ImgAnswer, true},
                      ClickCase{"HOLD", Button::ImgRetrieve, true},
                      ClickCase{"", Button::imgLogIn, true}));

TEST_F(DisplayTest, BoxesAndCheckBoxesReachTheCore) {
  Start("[SOFTPHONE]\nID=old\n");
  auto* id = Child<QLineEdit>("txt_realid");
  EXPECT_EQ(id->text(), Q("old"));
  id->clear();
  QTest::keyClicks(id, "agent7");
  EXPECT_EQ(phone_->GetDisplay().txt_realid, "agent7");
  QTest::keyClicks(Child<QLineEdit>("txtRealdn"), "2002");
  EXPECT_EQ(phone_->GetDisplay().txtRealdn, "2002");

  auto* up = Child<QCheckBox>("chk_up");
  QTest::mouseClick(up, Qt::LeftButton);
  EXPECT_TRUE(phone_->GetDisplay().chk_up);
  EXPECT_TRUE(window_.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window_.isVisible());
  EXPECT_EQ(Ini("SOFTPHONE", "ONTOP"), "1");
  QTest::mouseClick(Child<QCheckBox>("chk_Ready"), Qt::LeftButton);
  EXPECT_EQ(Ini("SOFTPHONE", "AUTOREADY"), "1");
  QTest::mouseClick(up, Qt::LeftButton);
  EXPECT_FALSE(window_.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(Ini("SOFTPHONE", "ONTOP"), "0");
}

TEST_F(DisplayTest, StoredSwitchesTickTheirBoxesAtStart) {
  Start("[SOFTPHONE]\nONTOP=1\nAUTOREADY=1\n");
  EXPECT_TRUE(Child<QCheckBox>("chk_up")->isChecked());
  EXPECT_TRUE(Child<QCheckBox>("chk_Ready")->isChecked());
  EXPECT_TRUE(window_.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(DisplayTest, ListButtonsOpenTheirLists) {
  Start("[SOFTPHONE]\nDB=1\n");
  QTest::mouseClick(Child<QPushButton>("cmdCallBack"), Qt::LeftButton);
  QTest::mouseClick(Child<QPushButton>("cmdDropCall"), Qt::LeftButton);
  EXPECT_EQ(dialogs_.callBackRuns, 1);
  EXPECT_EQ(dialogs_.dropCallRuns, 1);
}

TEST_F(DisplayTest, ClosingAsksAndStaysOpenOnNo) {
  Start("[SOFTPHONE]\n");
  boxes_.yes = false;
  window_.close();
  ASSERT_EQ(boxes_.asked.size(), 1u);
  EXPECT_EQ(boxes_.asked[0].text, Q("소프트폰 을 종료하시겠습니까?"));
  EXPECT_TRUE(window_.isVisible());
  EXPECT_TRUE(telx_.calls.empty());

  boxes_.yes = true;
  window_.close();
  EXPECT_FALSE(window_.isVisible());
  // Logged out on the way: the logout, the monitor stop and the close were sent.
  EXPECT_EQ(Methods(), (std::vector<DISPID>{telx::vomtelsetfeatureagentstatus,
                                            telx::vomtelmonitorstop, telx::vomtelCloseServerX}));
}

// Every text of a window with the font it is drawn in: captions, window title and headers.
std::vector<std::pair<QFont, QString>> TextsOf(QWidget* root) {
  std::vector<std::pair<QFont, QString>> texts{{root->font(), root->windowTitle()}};
  QList<QWidget*> all = root->findChildren<QWidget*>();
  for (QWidget* w : all) {
    if (auto* l = qobject_cast<QLabel*>(w)) texts.emplace_back(l->font(), l->text());
    if (auto* b = qobject_cast<QAbstractButton*>(w)) texts.emplace_back(b->font(), b->text());
    if (auto* t = qobject_cast<QTableWidget*>(w)) {
      for (int c = 0; c < t->columnCount(); ++c) {
        texts.emplace_back(t->horizontalHeader()->font(), t->horizontalHeaderItem(c)->text());
      }
    }
  }
  return texts;
}

// Korean text is checked by its glyphs: a missing glyph would be drawn as a box, which is ink
// too.
void ExpectGlyphs(QWidget* root) {
  int hangul = 0;
  for (const auto& [font, text] : TextsOf(root)) {
    const QFontMetrics metrics(font);
    for (QChar c : text) {
      if (c.script() == QChar::Script_Hangul) ++hangul;
      EXPECT_TRUE(metrics.inFont(c)) << "no glyph for U+" << std::hex << static_cast<unsigned>(c.unicode()) << " of "
                                     << text.toStdString() << " in "
                                     << root->objectName().toStdString();
    }
  }
  EXPECT_GT(hangul, 0) << root->objectName().toStdString();
}

TEST_F(DisplayTest, KoreanCaptionsHaveTheirGlyphs) {
  Start("[SOFTPHONE]\nDB=1\n");
  phone_->ufButtonSet("HOLD");
  ExpectGlyphs(&window_);
  RecordingBoxes boxes;
  DialPadDialog pad(boxes);
  ExpectGlyphs(&pad);
  NotReadyDialog notReady(0);
  ExpectGlyphs(&notReady);
  Globals g;
  ConsultDialDialog consult(boxes, g, desk_.Path());
  ExpectGlyphs(&consult);
}

}  // namespace
}  // namespace agentphone::ui::test
