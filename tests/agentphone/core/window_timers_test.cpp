// The window's timers on the manual clock: each stops itself first and does its work once per
// expiry.
#include "core_fixture.h"

namespace agentphone::test {
namespace {

class TimersTest : public CoreFixture {
 protected:
  TimersTest() {
    ReadyAgent();
    Phone().ufButtonSet("BUSY");
    const_cast<Display&>(D())[Button::ImgConsult].enabled = true;
    telx_.Reset();
  }

  // The consultation dialog's answer, and whether Timer3 ran while it was open.
  void ConsultAnswer(std::string number) { dialogs_.consult.push_back(std::move(number)); }
};

TEST_F(TimersTest, Timer3OpensTheConsultationDialogOnceAndDials) {
  readyAgents_[0] = {{"kim", 1002}};
  ConsultAnswer("0212345678");
  G().gUEI = "u1";
  Phone().ImgConsult_Click();
  EXPECT_EQ(G().gREADYLIST, "kim|1002|0|30^");  // ready before the dialog shows them
  timers_.Advance(999);
  EXPECT_EQ(dialogs_.consult.size(), 1u);  // not yet
  timers_.Advance(1);
  EXPECT_TRUE(dialogs_.consult.empty());
  EXPECT_FALSE(timers_.IsRunning(TimerId::Timer3));
  const auto calls = telx_.CallsOf(telx::vomtelconsultationcall);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args.at(4).text, "012345678");  // called device, the make-call rule
  EXPECT_EQ(calls[0].args.at(5).i4, 0);              // consultation call
  EXPECT_EQ(calls[0].args.at(9).text, "u1");
  EXPECT_EQ(G().gCONSULT, 1);
  timers_.Advance(10000);  // would open an unprepared dialog again (a test failure)
  EXPECT_EQ(telx_.Count(telx::vomtelconsultationcall), 1u);
}

TEST_F(TimersTest, Timer3ClosedWithoutANumberSendsNothing) {
  ConsultAnswer("");
  Phone().ImgConsult_Click();
  timers_.Advance(1000);
  EXPECT_EQ(telx_.Count(telx::vomtelconsultationcall), 0u);
  EXPECT_EQ(G().gCONSULT, 0);
}

TEST_F(TimersTest, AFailedConsultationLeavesNoConsultationBehind) {
  ConsultAnswer("2002");
  G().gUEI = "u1";
  telx_.results[telx::vomtelconsultationcall] = {3014};
  Phone().ImgConsult_Click();
  timers_.Advance(1000);
  EXPECT_EQ(dialogs_.Texts(), std::vector<std::string>{"[호전환시도 ERROR] 3014"});
  EXPECT_NE(LogText().find("] : [호전환시도 ERROR] 2002-u1-3014\r\n"), std::string::npos);
  EXPECT_EQ(G().gCONSULT, 0);
  Event(4, {{telxevt::CallRefID, "9"}});
  EXPECT_TRUE(D()[Button::ImgAnswer].enabled);  // DELIVERED, not CONSULT
}

TEST_F(TimersTest, Timer3SendsAConsultationConferenceInTheOtherMode) {
  ConsultAnswer("2002");
  timers_.Start(TimerId::Timer3, 1000);
  G().gCONSULTMODE = 2;
  timers_.Advance(1000);
  const auto calls = telx_.CallsOf(telx::vomtelconsultationcall);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args.at(5).i4, 1);
}

TEST_F(TimersTest, Timer2ClosesTheOutboundPageAndSendsTheRecordingLinkOnce) {
  G().gOUTPOPHWND = 42;
  G().gCNID = "77";
  G().gCUSTKEYSENT = "CK1";
  timers_.Start(TimerId::Timer2, 3000);
  timers_.Advance(2999);
  EXPECT_TRUE(pops_.calls.empty());
  timers_.Advance(10000);
  EXPECT_EQ(pops_.calls, (std::vector<std::string>{"Close(42)", "NewRecDataSend(77,CK1)"}));
  EXPECT_FALSE(timers_.IsRunning(TimerId::Timer2));
}

TEST_F(TimersTest, Timer4AsksBothDatabasesEveryMinuteWhileStopped) {
  timers_.Start(TimerId::Timer4, 60000);
  timers_.Advance(59999);
  EXPECT_TRUE(database_.calls.empty());
  timers_.Advance(1);
  // Stopped while the queries run, then started again for a full minute.
  EXPECT_EQ(database_.calls, (std::vector<std::string>{"GetDate01-", "GetDate02"}));
  EXPECT_TRUE(timers_.IsRunning(TimerId::Timer4));
  EXPECT_EQ(timers_.Interval(TimerId::Timer4), 60000);
  timers_.Advance(120000);
  EXPECT_EQ(database_.calls.size(), 6u);
}

}  // namespace
}  // namespace agentphone::test
