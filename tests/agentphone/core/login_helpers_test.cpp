// Login and logout, the two call helpers, and the window's start and end.
#include "core_fixture.h"

namespace agentphone::test {
namespace {

class LoginTest : public CoreFixture {
 protected:
  LoginTest() {
    Phone().ufButtonSet("LOGOUT");
    G().gAGENTID = "agent1";
    G().gAGENTDN = "1001";
    G().gAGENTDATA = "100";
    G().gAGENTGROUP = "101";
    telx_.Reset();
  }

  // The buttons enabled now, by name.
  std::vector<std::string> EnabledButtons() {
    std::vector<std::string> out;
    for (size_t i = 0; i < kButtonCount; ++i) {
      if (D().buttons[i].enabled) out.emplace_back(ButtonName(static_cast<Button>(i)));
    }
    return out;
  }

  std::vector<std::string> EventControlCalls() {
    std::vector<std::string> out;
    for (const RecordedCall& c : evt_.calls) {
      out.push_back(c.id == telxevt::opengate     ? "opengate"
                    : c.id == telxevt::starttimer ? "starttimer"
                    : c.id == telxevt::stoptimer  ? "stoptimer"
                                                  : "?");
    }
    return out;
  }
};

struct LoginCase {
  const char* name;
  DISPID failing;  // 0: none fails
  int32_t result;
  const char* shown;  // message and log line, or nullptr
  const char* logged;
  std::vector<std::string> commands;
  std::vector<std::string> eventControl;
};

// The agent-state requests are told apart by their mode; LOGOUT is the one of mode 1.
// Each failure leaves no gate open, so the next login opens without closing one first.
const LoginCase kLogins[] = {
    {"open fails", telx::vomtelopenserver, 3014, "CTI OPENSERVER 실패3014",
     "[CTI OPENSERVER 실패]3014", {"OPENSERVER"}, {}},
    {"monitor fails", telx::vomtelmonitorstart, 3014, "CTI MONITORSTART 실패3014",
     "[CTI MONITORSTART 실패]3014", {"OPENSERVER", "MONITORSTART", "CLOSESERVERHA"}, {}},
    {"login fails", -1, 3014, "CTI LOGIN 실패3014", "[CTI LOGIN 실패]3014",
     {"OPENSERVER", "MONITORSTART", "LOGOUT", "LOGIN", "MONITORSTOP", "CLOSESERVERHA"},
     {"opengate", "starttimer", "stoptimer"}},
    {"success", 0, 1, nullptr, nullptr,
     {"OPENSERVER", "MONITORSTART", "LOGOUT", "LOGIN", "NOTREADY"}, {"opengate", "starttimer"}},
};

TEST_F(LoginTest, EachFailingStepIsShownLoggedAndWhatItOpenedClosed) {
  for (const LoginCase& c : kLogins) {
    SCOPED_TRACE(c.name);
    telx_.Reset();
    evt_.Reset();
    dialogs_.messages.clear();
    telx_.results.clear();
    if (c.failing > 0) telx_.results[c.failing] = {c.result};
    // LOGIN is the second agent-state request (after LOGOUT).
    if (c.failing == -1) telx_.results[telx::vomtelsetfeatureagentstatus] = {1, c.result};
    // What the login button showed while the gate was closed.
    std::vector<bool> loginEnabledAtClose;
    auto before = telx_.onCall;
    telx_.onCall = [&, before](DISPID id) {
      if (before) before(id);
      if (id == telx::vomtelCloseServerX || id == telx::vomtelmonitorstop) {
        loginEnabledAtClose.push_back(D()[Button::imgLogIn].enabled);
      }
    };

    Phone().AgentLogIn();
    telx_.onCall = before;

    EXPECT_EQ(Commands(), c.commands);
    EXPECT_EQ(EventControlCalls(), c.eventControl);
    for (bool enabled : loginEnabledAtClose) EXPECT_FALSE(enabled);
    const std::string log = LogText();
    EXPECT_NE(log.find("] : SoftPhone Login Start\r\n"), std::string::npos);
    if (c.shown) {
      EXPECT_EQ(dialogs_.Texts(), std::vector<std::string>{c.shown});
      EXPECT_EQ(dialogs_.messages[0].title, kProgramTitle);
      EXPECT_EQ(dialogs_.messages[0].icon, MessageIcon::kNone);
      EXPECT_NE(log.find(std::string("] : ") + c.logged + "\r\n"), std::string::npos);
      EXPECT_EQ(EnabledButtons(), std::vector<std::string>{"imgLogIn"});
    } else {
      EXPECT_TRUE(dialogs_.messages.empty());
      EXPECT_TRUE(EnabledButtons().empty());  // until the server's events come
    }
  }
}

TEST_F(LoginTest, ALogoutThatFailsInsideTheLoginIsIgnored) {
  telx_.results[telx::vomtelsetfeatureagentstatus] = {3014, 1, 1};
  Phone().AgentLogIn();
  EXPECT_EQ(Commands(),
            (std::vector<std::string>{"OPENSERVER", "MONITORSTART", "LOGOUT", "LOGIN", "NOTREADY"}));
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(LoginTest, AFaultInTheDispatcherIsReportedAsZero) {
  telx_.failures[telx::vomtelopenserver] = E_FAIL;
  Phone().AgentLogIn();
  EXPECT_EQ(dialogs_.Texts(), std::vector<std::string>{"CTI OPENSERVER 실패0"});
}

TEST_F(LoginTest, ARetryAfterAFailureStartsFromAClosedGate) {
  telx_.results[telx::vomtelmonitorstart] = {3014, 1};
  Phone().AgentLogIn();
  Phone().AgentLogIn();
  EXPECT_EQ(Commands(),
            (std::vector<std::string>{"OPENSERVER", "MONITORSTART", "CLOSESERVERHA", "OPENSERVER",
                                      "MONITORSTART", "LOGOUT", "LOGIN", "NOTREADY"}));
}

TEST_F(LoginTest, LogoutSendsAllThreeWhateverTheyReturn) {
  Phone().ufButtonSet("LOGIN");
  telx_.Reset();
  telx_.results[telx::vomtelsetfeatureagentstatus] = {3014};
  telx_.results[telx::vomtelmonitorstop] = {3014};
  telx_.results[telx::vomtelCloseServerX] = {3014};
  Phone().AgentLogOut();
  EXPECT_EQ(Commands(), (std::vector<std::string>{"LOGOUT", "MONITORSTOP", "CLOSESERVERHA"}));
  EXPECT_TRUE(evt_.calls.empty());  // the failed monitor stop leaves polling alone
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(D().sStatue, "로그아웃");
  EXPECT_EQ(EnabledButtons(), std::vector<std::string>{"imgLogIn"});
  EXPECT_NE(LogText().find("] : SoftPhone LogOut Start\r\n"), std::string::npos);
}

// A login opens a new gate; one that the agent's last session left open (the switch logged
// the agent off) is stopped and closed first, as the logout closes it.
struct ReloginCase {
  const char* name;
  std::function<void()> end;  // how the session before ended
  std::vector<std::string> before;  // what the next login sends before it opens
};

TEST_F(LoginTest, ALoginClosesTheGateThatTheLastSessionLeftOpen) {
  const std::vector<std::string> login = {"OPENSERVER", "MONITORSTART", "LOGOUT", "LOGIN",
                                          "NOTREADY"};
  const ReloginCase cases[] = {
      {"logged off by the switch", [this] { Event(202); }, {"MONITORSTOP", "CLOSESERVERHA"}},
      {"logged off twice", [this] { Event(202); Event(202); }, {"MONITORSTOP", "CLOSESERVERHA"}},
      {"every server down", [this] { Event(999); }, {}},
      {"logged out", [this] { Phone().AgentLogOut(); }, {}},
  };
  for (const ReloginCase& c : cases) {
    SCOPED_TRACE(c.name);
    Phone().AgentLogIn();
    Event(201);
    c.end();
    telx_.Reset();
    evt_.Reset();
    Phone().AgentLogIn();
    std::vector<std::string> expected = c.before;
    expected.insert(expected.end(), login.begin(), login.end());
    EXPECT_EQ(Commands(), expected);
    if (!c.before.empty()) {
      // The old gate's polling stops before the new gate's starts.
      EXPECT_EQ(EventControlCalls(),
                (std::vector<std::string>{"stoptimer", "opengate", "starttimer"}));
    }
    Phone().AgentLogOut();
  }
}

struct DialCase {
  const char* number;
  const char* dialled;    // the digits sent
  const char* rewritten;  // the caller's variable afterwards
};

const DialCase kDials[] = {
    {"0212345678", "012345678", "012345678"},  // "02" dropped, then the outside-line digit
    {"1234", "1234", "1234"},
    {"123456", "123456", "123456"},
    {"1234567", "01234567", "01234567"},
    {"02", "", ""},
    {"02-123-4567", "01234567", "0-123-4567"},
    {"0312345678", "00312345678", "00312345678"},
};

TEST_F(LoginTest, MakeCallNumberRules) {
  Phone().ufButtonSet("LOGIN");
  for (const DialCase& c : kDials) {
    SCOPED_TRACE(c.number);
    telx_.Reset();
    G().gUEI = "left over";
    std::string number = c.number;
    Phone().GfMakeCall(number);
    EXPECT_EQ(number, c.rewritten);
    const auto calls = telx_.CallsOf(telx::vomtelmakecall);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args.at(3).text, c.dialled);
    EXPECT_EQ(calls[0].args.at(7).text, "");  // the UEI is cleared first
    EXPECT_EQ(G().gUEI, "");
  }
  EXPECT_NE(LogText().find("] : [ MAKECALL ]012345678--1\r\n"), std::string::npos);
  EXPECT_EQ(D().sStatue, "통화중");
}

TEST_F(LoginTest, AFailedMakeCallReportsAndGoesBackToAnIdleState) {
  for (bool autoReady : {true, false}) {
    SCOPED_TRACE(autoReady ? "automatic ready" : "after-call work");
    Phone().SetAutoReadyChecked(autoReady);
    Phone().ufButtonSet("READY");
    telx_.Reset();
    dialogs_.messages.clear();
    telx_.results[telx::vomtelmakecall] = {3500};
    std::string number = "02";
    Phone().GfMakeCall(number);
    EXPECT_EQ(dialogs_.Texts(), std::vector<std::string>{"전화걸기 실패 :3500"});
    EXPECT_NE(LogText().find("] : 전화걸기 실패  Ret : 3500\r\n"), std::string::npos);
    // Without the database after-call work is followed by the automatic ready.
    EXPECT_EQ(Commands(), (autoReady ? std::vector<std::string>{"MAKECALL", "READY"}
                                     : std::vector<std::string>{"MAKECALL", "AFTERCALLWORK", "READY"}));
    EXPECT_EQ(D().sStatue, autoReady ? "대기" : "후처리");
  }
}

TEST_F(LoginTest, HangUp) {
  Phone().ufButtonSet("BUSY");
  Phone().GfHangupCall();
  EXPECT_EQ(Commands(), std::vector<std::string>{"CLEARCONNECTION"});
  EXPECT_EQ(D()[Button::ImgHangUp].picture, Picture::ImgHangUpOff);
  EXPECT_TRUE(D()[Button::ImgMakeCall].enabled);  // the HANGUP row
  EXPECT_EQ(D().sStatue, "통화중");                // kept until the next word

  Phone().ufButtonSet("BUSY");
  telx_.results[telx::vomtelclearconnection] = {3014};
  Phone().GfHangupCall();
  EXPECT_EQ(dialogs_.Texts(), std::vector<std::string>{"[전화끊기 ERROR] :3014"});
  EXPECT_NE(LogText().find("] : [전화끊기 ERROR]3014\r\n"), std::string::npos);
  EXPECT_FALSE(D()[Button::ImgMakeCall].enabled);  // still BUSY
  EXPECT_EQ(D()[Button::ImgHangUp].picture, Picture::ImgHangUpOn);
}

class WindowTest : public CoreFixture {};

TEST_F(WindowTest, LoadReadsTheSettingsAndLogsInAutomatically) {
  Ini("[SOFTPHONE]\r\nLOGIN=01\r\nDB=1.0\r\nID= agent7 \r\nDN=1007\r\nONTOP=1\r\nAUTOREADY=1\r\n"
      "PORT=8123\r\nREC= http://rec/x \r\n[CTIINFO]\r\nIP=1.1.1.1\r\nIP2=2.2.2.2\r\nPORT=5000\r\n");
  Phone().Main();
  EXPECT_EQ(view_.moves, 1);
  EXPECT_EQ(view_.layouts, std::vector<std::string>{"/db"});  // VIEW missing: vertical
  EXPECT_EQ(view_.onTops, std::vector<bool>{true});
  EXPECT_TRUE(D().chk_Ready);
  EXPECT_EQ(listener_.ports, std::vector<int32_t>{8123});
  EXPECT_EQ(G().gREC, "http://rec/x");
  EXPECT_EQ(G().gbkCTIIP, "2.2.2.2");
  EXPECT_TRUE(G().gDBFLAG);
  EXPECT_EQ(G().gAGENTID, "agent7");
  EXPECT_EQ(G().gAGENTDATA, "100");
  EXPECT_EQ(G().gAGENTGROUP, "101");
  EXPECT_EQ(Commands(),
            (std::vector<std::string>{"OPENSERVER", "MONITORSTART", "LOGOUT", "LOGIN", "NOTREADY"}));
  EXPECT_EQ(telx_.texts[telx::OpenDevice], "1007");
  EXPECT_TRUE(timers_.IsRunning(TimerId::Timer4));
  EXPECT_EQ(timers_.Interval(TimerId::Timer4), 60000);

  Phone().cmdChange_Click();
  EXPECT_EQ(view_.layouts.back(), "1/db");
  EXPECT_EQ(GetIniValue(desk_.Path(), "SOFTPHONE.ini", "SOFTPHONE", "VIEW"), "1");
}

// ONTOP and AUTOREADY tick their boxes only when they read as exactly "1".
TEST_F(WindowTest, OnTopAndAutoReadyTickOnlyForExactlyOne) {
  // As written in the file; blanks around a value are not part of it, quotes keep them.
  const std::pair<const char*, bool> kValues[] = {
      {"1", true},   {" 1 ", true},   {"0", false},   {"", false},  {"01", false},
      {"\"1 \"", false}, {"1.0", false}, {"2", false}, {"Null", false}, {"-1", false}};
  for (const char* key : {"ONTOP", "AUTOREADY"}) {
    for (const auto& [value, on] : kValues) {
      SCOPED_TRACE(std::string(key) + "=" + value);
      Ini(std::string("[SOFTPHONE]\r\n") + key + "=" + value + "\r\n");
      phone_.reset();
      view_.onTops.clear();
      Phone().Main();
      const bool onTop = on && std::string(key) == "ONTOP";
      const bool autoReady = on && std::string(key) == "AUTOREADY";
      EXPECT_EQ(D().chk_up, onTop);
      EXPECT_EQ(view_.onTops, onTop ? std::vector<bool>{true} : std::vector<bool>{});
      EXPECT_EQ(D().chk_Ready, autoReady);
    }
  }
}

TEST_F(WindowTest, NoAutomaticLoginWithoutAnAgentAndThenNoDatabaseTimer) {
  Ini("[SOFTPHONE]\r\nLOGIN=1\r\nDB=1\r\nID=  \r\nDN=1007\r\n");
  Phone().Main();
  EXPECT_TRUE(telx_.calls.empty());
  EXPECT_FALSE(timers_.IsRunning(TimerId::Timer4));
  EXPECT_EQ(D().sStatue, "로그아웃");
  EXPECT_EQ(listener_.ports, std::vector<int32_t>{0});  // PORT missing
}

TEST_F(WindowTest, ClosingAsksThenLogsOutEvenWhenLoggedOut) {
  Phone().Main();
  dialogs_.yes = false;
  EXPECT_FALSE(Phone().Form_Unload());
  EXPECT_TRUE(telx_.calls.empty());
  dialogs_.yes = true;
  telx_.results[telx::vomtelsetfeatureagentstatus] = {3014};
  EXPECT_TRUE(Phone().Form_Unload());
  EXPECT_EQ(dialogs_.questions,
            (std::vector<std::string>{"소프트폰 을 종료하시겠습니까?", "소프트폰 을 종료하시겠습니까?"}));
  EXPECT_EQ(Commands(), (std::vector<std::string>{"LOGOUT", "MONITORSTOP", "CLOSESERVERHA"}));
}

}  // namespace
}  // namespace agentphone::test
