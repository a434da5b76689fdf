// The agent-state and call buttons: the command each sends, what a failure shows and logs,
// and the dialogs whose results they take.
#include "core_fixture.h"

namespace agentphone::test {
namespace {

class ButtonsTest : public CoreFixture {
 protected:
  ButtonsTest() { ReadyAgent(); }

  // Every button enabled with its active picture, as no single state shows them.
  void EnableAll() {
    Display& d = const_cast<Display&>(D());
    for (size_t i = 0; i < kButtonCount; ++i) {
      d.buttons[i] = {true, OnPicture(static_cast<Button>(i))};
    }
    d[Button::imgLogIn].picture = Picture::ImgLogOutOn;
  }
};

struct ButtonCase {
  const char* name;
  void (SoftPhone::*click)();
  Button button;
  DISPID method;
  const char* label;      // the failure's label
  bool message;           // a message box besides the log line
  Picture failedPicture;  // the button's picture after a failure
  bool clearsCaller;      // empties the caller-number panel before the command
};

const ButtonCase kButtons[] = {
    {"ready", &SoftPhone::ImgReady_MouseUp, Button::ImgReady, telx::vomtelsetfeatureagentstatus,
     "[대기 ERROR]", true, Picture::ImgReadyOn, false},
    {"after-call work", &SoftPhone::imgAftCallWork_Click, Button::imgAftCallWork,
     telx::vomtelsetfeatureagentstatus, "[후처리 ERROR]", true, Picture::imgAftCallWorkOn, true},
    {"hold", &SoftPhone::ImgHold_MouseDown, Button::ImgHold, telx::vomtelholdcall,
     "[보류 ERROR] :", false, Picture::ImgHoldOn, false},
    {"retrieve", &SoftPhone::ImgRetrieve_MouseDown, Button::ImgRetrieve,
     telx::vomtelretrievecall, "[보류해제 ERROR]", true, Picture::ImgRetrieveOn, false},
    {"answer", &SoftPhone::ImgAnswer_MouseDown, Button::ImgAnswer, telx::vomtelanswercall,
     "[전화받기 ERROR]", true, Picture::ImgAnswerOn, false},
    {"reconnect", &SoftPhone::ImgReConnect_Click, Button::ImgReConnect, telx::vomtelreconnectcall,
     "[전환취소 ERROR]", false, Picture::ImgReConnectOff, false},
    {"transfer", &SoftPhone::ImgTransfer_Click, Button::ImgTransfer, telx::vomteltransfercall,
     "[전환 ERROR]", true, Picture::ImgTransferOff, false},
    {"conference", &SoftPhone::ImgConference_Click, Button::ImgConference,
     telx::vomtelconferencecall, "[3자통화 ERROR]", true, Picture::ImgConferenceOff, false},
};

TEST_F(ButtonsTest, AFailedCommandIsReportedByItsLabel) {
  for (const ButtonCase& c : kButtons) {
    SCOPED_TRACE(c.name);
    EnableAll();
    const_cast<Display&>(D()).sStatue = "before";
    const_cast<Display&>(D()).sAninum = "02-1234-5678";
    telx_.Reset();
    dialogs_.messages.clear();
    telx_.results[c.method] = {3013};
    (Phone().*c.click)();
    EXPECT_EQ(telx_.Count(c.method), 1u);
    const std::string text = std::string(c.label) + "3013";
    EXPECT_EQ(dialogs_.Texts(), c.message ? std::vector<std::string>{text} : std::vector<std::string>{});
    EXPECT_NE(LogText().find("] : " + text + "\r\n"), std::string::npos);
    EXPECT_EQ(D()[c.button].picture, c.failedPicture);
    EXPECT_EQ(D().sStatue, "before");  // the state display is not touched
    EXPECT_EQ(D().sAninum, c.clearsCaller ? "" : "02-1234-5678");
  }
}

TEST_F(ButtonsTest, ADisabledButtonTakesNoClick) {
  for (const ButtonCase& c : kButtons) {
    SCOPED_TRACE(c.name);
    EnableAll();
    const_cast<Display&>(D())[c.button].enabled = false;
    telx_.Reset();
    (Phone().*c.click)();
    EXPECT_TRUE(telx_.calls.empty());
  }
}

TEST_F(ButtonsTest, SuccessfulCallCommands) {
  EnableAll();
  G().gCONSULT = 1;
  Phone().ImgReConnect_Click();
  EXPECT_EQ(G().gCONSULT, 0);
  EXPECT_TRUE(D()[Button::ImgHold].enabled);  // BUSY

  EnableAll();
  G().gCONSULT = 1;
  G().gUEI = "u^e^i";
  telx_.Reset();
  Phone().ImgTransfer_Click();
  EXPECT_EQ(G().gCONSULT, 0);
  EXPECT_EQ(D()[Button::ImgReConnect].picture, Picture::ImgReConnectOn);  // TRANSFER
  EXPECT_FALSE(D()[Button::ImgReConnect].enabled);

  EnableAll();
  G().gCONSULT = 1;
  Phone().ImgConference_Click();
  EXPECT_EQ(G().gCONSULT, 0);
  EXPECT_TRUE(G().gCONFERENCE);
  EXPECT_EQ(D()[Button::ImgConference].picture, Picture::ImgConferenceOff);  // CBUSY
  EXPECT_TRUE(D()[Button::ImgConference].enabled);

  EnableAll();
  Phone().ImgAnswer_MouseDown();
  EXPECT_EQ(D()[Button::ImgAnswer].picture, Picture::ImgAnswerOff);
  Phone().ImgHold_MouseDown();
  EXPECT_EQ(D()[Button::ImgHold].picture, Picture::ImgHoldOff);

  // After a conference the next party that leaves shows BUSY.
  Event(3, {{telxevt::OtherParty, "2002"}, {telxevt::CallRefID, "1"}});
  EXPECT_EQ(D().sStatue, "통화중");
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(ButtonsTest, LoginButtonChecksTheBoxesInOrder) {
  Phone().ufButtonSet("LOGOUT");
  telx_.Reset();
  Phone().SetAgentIdText(" ");
  Phone().SetExtensionText("");
  Phone().imgLogIn_MouseDown();
  EXPECT_EQ(dialogs_.Texts(),
            std::vector<std::string>{"상담원 ID가 입력되지 않습니다. 확인하시기 바랍니다."});
  EXPECT_EQ(view_.focus, std::vector<std::string>{"txt_realid"});

  Phone().SetAgentIdText(" agent5 ");
  Phone().imgLogIn_MouseDown();
  EXPECT_EQ(dialogs_.Texts().back(), "내선번호가 입력되지 않습니다. 확인하시기 바랍니다.");
  EXPECT_EQ(view_.focus.back(), "txtRealdn");
  EXPECT_TRUE(telx_.calls.empty());

  Phone().SetExtensionText(" 1005 ");
  Phone().imgLogIn_MouseDown();
  EXPECT_EQ(G().gAGENTID, "agent5");
  EXPECT_EQ(G().gAGENTDN, "1005");
  EXPECT_EQ(Commands(),
            (std::vector<std::string>{"OPENSERVER", "MONITORSTART", "LOGOUT", "LOGIN", "NOTREADY"}));

  // Logged in, the same button logs out.
  Event(201);
  telx_.Reset();
  Phone().imgLogIn_MouseDown();
  EXPECT_EQ(Commands(), (std::vector<std::string>{"LOGOUT", "MONITORSTOP", "CLOSESERVERHA"}));
  EXPECT_EQ(D().sStatue, "로그아웃");
}

TEST_F(ButtonsTest, NotReadyWithoutTheDatabaseSendsReasonZeroOnce) {
  G().gREASONCODE = 3;
  telx_.results[telx::vomtelsetfeatureagentstatus] = {3014};
  Phone().ImgNotReady_MouseUp();
  const auto calls = telx_.CallsOf(telx::vomtelsetfeatureagentstatus);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args.at(3).i4, 2);  // NOTREADY
  EXPECT_EQ(calls[0].args.at(7).i4, 0);  // reason
  EXPECT_EQ(dialogs_.notReadyDialogs, 0);
  EXPECT_EQ(dialogs_.Texts(), std::vector<std::string>{"[휴식 ERROR]3014"});
}

TEST_F(ButtonsTest, NotReadyWithTheDatabaseAsksForTheReason) {
  G().gDBFLAG = true;
  Phone().SetOnTopChecked(true);
  view_.onTops.clear();
  for (int32_t reason : {2, 0}) {
    SCOPED_TRACE(reason);
    Phone().ufButtonSet("READY");
    telx_.Reset();
    dialogs_.reason = reason;
    Phone().ImgNotReady_MouseUp();
    std::vector<int32_t> sent;
    for (const RecordedCall& c : telx_.CallsOf(telx::vomtelsetfeatureagentstatus)) {
      sent.push_back(c.args.at(7).i4);
    }
    EXPECT_EQ(sent, (reason ? std::vector<int32_t>{0, 2} : std::vector<int32_t>{0}));
    EXPECT_EQ(D().sStatue, reason ? "교육" : "대기");
  }
  EXPECT_EQ(dialogs_.notReadyDialogs, 2);
  EXPECT_EQ(view_.onTops, (std::vector<bool>{true, true}));
}

TEST_F(ButtonsTest, MakeCallTakesTheDialPadsNumber) {
  dialogs_.dialPad = {"", "0212345678"};
  Phone().ImgMakeCall_MouseUp();  // the pad closed: nothing
  EXPECT_TRUE(telx_.calls.empty());
  EXPECT_EQ(G().gDIALMODE, 1);
  Phone().ImgMakeCall_MouseUp();
  const auto calls = telx_.CallsOf(telx::vomtelmakecall);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args.at(3).text, "012345678");
  EXPECT_EQ(G().gDIALNUMBER, "012345678");
  EXPECT_EQ(D().sStatue, "통화중");
  EXPECT_NE(LogText().find("] : [ MAKECALL ]012345678--1\r\n"), std::string::npos);

  // In a call the pad does not open (the button is enabled here to show the check).
  const_cast<Display&>(D())[Button::ImgMakeCall].enabled = true;
  Phone().ImgMakeCall_MouseUp();
  EXPECT_EQ(dialogs_.Texts(), std::vector<std::string>{"통화중일 경우 는 전화걸기 가 불가 합니다."});
  EXPECT_NE(LogText().find("] : 통화중일 경우 는 전화걸기 가 불가 합니다.\r\n"), std::string::npos);
}

TEST_F(ButtonsTest, AFailedMakeCallGoesBackToReady) {
  dialogs_.dialPad = {"1234"};
  telx_.results[telx::vomtelmakecall] = {3500};
  Phone().ImgMakeCall_MouseUp();
  EXPECT_EQ(dialogs_.Texts(), std::vector<std::string>{"전화걸기 실패 :3500"});
  EXPECT_NE(LogText().find("] : 전화걸기 실패  Ret : 3500\r\n"), std::string::npos);
  EXPECT_EQ(Commands(), (std::vector<std::string>{"MAKECALL", "READY"}));
  EXPECT_EQ(D().sStatue, "대기");
}

TEST_F(ButtonsTest, AFaultInsideMakeCallIsLoggedByItsTrap) {
  dialogs_.dialPadFault = "pad gone";
  Phone().ImgMakeCall_MouseUp();
  EXPECT_NE(LogText().find("] : MAKECALL FUNCTION ERROR]pad gone\r\n"), std::string::npos);
  EXPECT_TRUE(telx_.calls.empty());
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(D().sStatue, "대기");
}

TEST_F(ButtonsTest, ConsultationAsksForTheReadyAgentsAndArmsTimer3) {
  EnableAll();
  G().gCONSULT = 1;
  G().gDIALNUMBER = "old";
  Phone().ImgConsult_Click();
  EXPECT_EQ(Commands(), (std::vector<std::string>{"ReadyGet", "ReadyGet"}));
  EXPECT_EQ(G().gCONSULT, 0);
  EXPECT_EQ(G().gCONSULTMODE, 1);
  EXPECT_EQ(G().gDIALMODE, 2);
  EXPECT_EQ(G().gDIALNUMBER, "");
  EXPECT_TRUE(timers_.IsRunning(TimerId::Timer3));
  EXPECT_EQ(timers_.Interval(TimerId::Timer3), 1000);
}

TEST_F(ButtonsTest, PressedLookOfReady) {
  Phone().ufButtonSet("NOTREADY");  // ImgReady enabled and on
  Phone().ImgReady_MouseDown();
  EXPECT_EQ(D()[Button::ImgReady].picture, Picture::ImgReadyOff);
  Phone().ImgReady_MouseDown();  // pressed again: the not-ready picture
  EXPECT_EQ(D()[Button::ImgReady].picture, Picture::ImgNotReadyOff);

  Phone().ufButtonSet("AFTERCALLWORK");  // both enabled and on
  const_cast<Display&>(D()).sAninum = "x";
  Phone().ImgNotReady_MouseDown();
  EXPECT_EQ(D().sAninum, "");
  EXPECT_EQ(D()[Button::ImgReady].picture, Picture::ImgReadyOff);
  Phone().ImgNotReady_MouseDown();  // ImgReady shows its off picture: left so
  EXPECT_EQ(D()[Button::ImgReady].picture, Picture::ImgReadyOff);
}

}  // namespace
}  // namespace agentphone::test
