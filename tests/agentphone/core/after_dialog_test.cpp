// A handler that goes on after a modal dialog or message box goes on from the state as it is
// when the box closes: when the agent was logged out meanwhile (every server down, or the
// switch logged the agent off), nothing more is sent and the window stays logged out.
#include "core_fixture.h"

namespace agentphone::test {
namespace {

class AfterDialogTest : public CoreFixture {
 public:
  // For the table of cases.
  using CoreFixture::dialogs_;
  using CoreFixture::Event;
  using CoreFixture::Phone;
  using CoreFixture::telx_;
  using CoreFixture::timers_;

  AfterDialogTest() { ReadyAgent(); }

  // The event arrives while the next box or dialog is open; what is sent from then on is kept.
  void LoggedOutWhileOpen(int32_t kind) {
    dialogs_.whileShown = [this, kind] {
      telx_.Reset();
      Event(kind);
    };
  }
  // The same, while the box or dialog after the next one is open.
  void LoggedOutWhileSecondOpen(int32_t kind) {
    dialogs_.whileShown = [this, kind] { LoggedOutWhileOpen(kind); };
  }

  std::vector<std::string> EnabledButtons() {
    std::vector<std::string> out;
    for (size_t i = 0; i < kButtonCount; ++i) {
      if (D().buttons[i].enabled) out.emplace_back(ButtonName(static_cast<Button>(i)));
    }
    return out;
  }
};

struct ResumeCase {
  const char* name;
  void (*run)(AfterDialogTest&, int32_t kind);
  std::vector<std::string> shown;  // message boxes
};

void PrintTo(const ResumeCase& c, std::ostream* os) { *os << c.name; }

const ResumeCase kCases[] = {
    {"DialPad",
     [](AfterDialogTest& t, int32_t kind) {
       t.dialogs_.dialPad = {"0212345678"};
       t.LoggedOutWhileOpen(kind);
       t.Phone().ImgMakeCall_MouseUp();
     },
     {}},
    {"ReasonDialog",
     [](AfterDialogTest& t, int32_t kind) {
       t.Phone().Vars().gDBFLAG = true;
       t.dialogs_.reason = 1;
       t.LoggedOutWhileOpen(kind);
       t.Phone().ImgNotReady_MouseUp();
     },
     {}},
    {"ConsultationDialog",
     [](AfterDialogTest& t, int32_t kind) {
       t.Phone().ufButtonSet("BUSY");
       t.dialogs_.consult = {"2002"};
       t.LoggedOutWhileOpen(kind);
       t.Phone().ImgConsult_Click();
       t.timers_.Advance(1000);
     },
     {}},
    {"ConsultationTimerAfterTheLogOut",
     [](AfterDialogTest& t, int32_t kind) {
       t.Phone().ufButtonSet("BUSY");
       t.Phone().ImgConsult_Click();
       t.telx_.Reset();
       t.Event(kind);  // before Timer3 opens the dialog: it does not open
       t.timers_.Advance(1000);
     },
     {}},
    {"CallBackListDial",
     [](AfterDialogTest& t, int32_t kind) {
       t.dialogs_.whileShown = [&t, kind] {
         t.telx_.Reset();
         t.Event(kind);
         std::string number = "0212345678";  // the list's dial button
         t.Phone().GfMakeCall(number);
       };
       t.Phone().cmdCallBack_Click();
     },
     {}},
    {"FailedMakeCallsMessage",
     [](AfterDialogTest& t, int32_t kind) {
       t.dialogs_.dialPad = {"1234"};
       t.telx_.results[telx::vomtelmakecall] = {3500};
       t.LoggedOutWhileSecondOpen(kind);
       t.Phone().ImgMakeCall_MouseUp();
     },
     {"전화걸기 실패 :3500"}},
    {"FailedListDialsMessage",
     [](AfterDialogTest& t, int32_t kind) {
       t.telx_.results[telx::vomtelmakecall] = {3500};
       t.LoggedOutWhileOpen(kind);
       std::string number = "0212345678";
       t.Phone().GfMakeCall(number);
     },
     {"전화걸기 실패 :3500"}},
    {"FailedNotReadysMessage",
     [](AfterDialogTest& t, int32_t kind) {
       t.Phone().Vars().gDBFLAG = true;
       t.dialogs_.reason = 1;
       t.telx_.results[telx::vomtelsetfeatureagentstatus] = {3014};
       t.LoggedOutWhileOpen(kind);
       t.Phone().ImgNotReady_MouseUp();  // the reason dialog does not open
     },
     {"[휴식 ERROR]3014"}},
    {"FailedReadysMessage",
     [](AfterDialogTest& t, int32_t kind) {
       t.Phone().ufButtonSet("NOTREADY");
       t.telx_.results[telx::vomtelsetfeatureagentstatus] = {3013};
       t.LoggedOutWhileOpen(kind);
       t.Phone().ImgReady_MouseUp();
     },
     {"[대기 ERROR]3013"}},
};

class ResumedAfterTheLogOut
    : public AfterDialogTest,
      public ::testing::WithParamInterface<std::tuple<ResumeCase, int32_t>> {};

TEST_P(ResumedAfterTheLogOut, SendsNothingMoreAndStaysLoggedOut) {
  const auto& [c, kind] = GetParam();
  c.run(*this, kind);

  EXPECT_FALSE(dialogs_.whileShown) << "the event was not delivered";
  EXPECT_EQ(dialogs_.notReadyDialogs, 0 + (std::string(c.name) == "ReasonDialog"));
  // Only the close of the dead gate (the server-down event's own).
  EXPECT_EQ(Commands(), kind == 999 ? std::vector<std::string>{"CLOSESERVERHA"}
                                    : std::vector<std::string>{});
  EXPECT_EQ(dialogs_.Texts(), c.shown);
  EXPECT_EQ(D().sStatue, "로그아웃");
  EXPECT_EQ(EnabledButtons(), std::vector<std::string>{"imgLogIn"});
  EXPECT_EQ(D()[Button::imgLogIn].picture, Picture::ImgLogInOn);
  for (size_t i = 1; i < kButtonCount; ++i) {
    const Button b = static_cast<Button>(i);
    EXPECT_EQ(D()[b].picture, OffPicture(b)) << ButtonName(b);
  }
  EXPECT_EQ(G().gREASONCODE, 0);  // a later login goes not ready with no reason
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, ResumedAfterTheLogOut,
    ::testing::Combine(::testing::ValuesIn(kCases), ::testing::Values(999, 202)),
    [](const ::testing::TestParamInfo<std::tuple<ResumeCase, int32_t>>& info) {
      return std::string(std::get<0>(info.param).name) +
             (std::get<1>(info.param) == 999 ? "_ServerDown" : "_LoggedOff");
    });

TEST_F(AfterDialogTest, ACallArrivedUnderTheDialPadRefusesTheDial) {
  dialogs_.dialPad = {"1234"};
  dialogs_.whileShown = [this] {
    Event(4, {{telxevt::CallRefID, "5"}});
    Event(6, {{telxevt::CallRefID, "5"}, {telxevt::OtherParty, "0212345678"}});
    telx_.Reset();
  };
  Phone().ImgMakeCall_MouseUp();
  EXPECT_TRUE(Commands().empty());
  EXPECT_EQ(dialogs_.Texts(), std::vector<std::string>{"통화중일 경우 는 전화걸기 가 불가 합니다."});
  EXPECT_EQ(D().sStatue, "통화중");
}

TEST_F(AfterDialogTest, StillLoggedInTheDialogsGoOnAsBefore) {
  dialogs_.dialPad = {"1234"};
  dialogs_.whileShown = [this] { Event(204); };  // an event that keeps the agent logged in
  Phone().ImgMakeCall_MouseUp();
  EXPECT_EQ(Commands(), std::vector<std::string>{"MAKECALL"});
  EXPECT_EQ(D().sStatue, "통화중");
}

}  // namespace
}  // namespace agentphone::test
