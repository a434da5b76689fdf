// The agent is logged out while a dialog is open: every server goes down (the library reports
// the servers down once its fail-over wait ends) or the switch logs the agent off. When the
// agent then confirms the dialog, the window stays logged out and nothing is dialled or asked of
// the switch, and a desk program's dial request is answered "logged out".
#include <QLineEdit>
#include <algorithm>
#include <QRadioButton>
#include <QTest>

#include "tests/e2e/desk_fixture.h"
#include "tests/e2e/harness/process_stats.h"
#include "tests/e2e/window_fixture.h"

namespace desk::test {
namespace {

constexpr char kDownLine[] = "[EVENT orbaEK_CCSEDown]";

struct UnderDialogCase {
  const char* name;
  bool database;      // the reason dialog opens only with the database
  const char* open;   // the window's button that opens the dialog
  const char* dialog;
  void (*fill)(QWidget* dialog);
  const char* confirm;  // the dialog's button pressed after the log-out
  bool serverDown;      // else the switch logs the agent off
};

void DialNumber(QWidget* dialog) {
  dialog->findChild<QLineEdit*>(QStringLiteral("txtNum"))->setText(QStringLiteral("0212345678"));
}

void MealReason(QWidget* dialog) {
  dialog->findChild<QRadioButton*>(QStringLiteral("Option1_1"))->setChecked(true);  // 식사
}

void PrintTo(const UnderDialogCase& c, std::ostream* os) { *os << c.name; }

class LoggedOutUnderDialog : public WindowTest,
                             public ::testing::WithParamInterface<UnderDialogCase> {
 protected:
  // The program's dial-request port: the one it listens on besides the switch and the web server.
  std::uint16_t DialPortAfterStart(const std::vector<std::uint16_t>& before) {
    std::uint16_t port = 0;
    Until([&] {
      for (std::uint16_t p : ListeningTcpPorts(::getpid())) {
        if (std::find(before.begin(), before.end(), p) == before.end()) port = p;
      }
      return port != 0;
    });
    return port;
  }

  void LogOut(bool serverDown) {
    if (serverDown) {
      server_->Sim().StopListening();
      server_->Sim().DropConnections();
      ASSERT_TRUE(Until([&] { return desk_->Log().Count(kDownLine) > 0; })) << Report();
    } else {
      server_->PushAgentState(kLogout);
    }
    ASSERT_TRUE(Until([&] { return Caption() == "로그아웃" && Enabled("imgLogIn"); }))
        << Report();
  }
};

TEST_P(LoggedOutUnderDialog, ConfirmingItLeavesTheWindowLoggedOut) {
  const UnderDialogCase& c = GetParam();
  const std::vector<std::uint16_t> before = ListeningTcpPorts(::getpid());
  ASSERT_NO_FATAL_FAILURE(StartLoggedIn(c.database ? kNotReady : kReady, [&](DeskConfig& config) {
    config.database = c.database;
  }));
  const std::uint16_t dialPort = DialPortAfterStart(before);
  ASSERT_NE(dialPort, 0) << Report();
  if (c.database) {  // ready first, so that not ready can be pressed
    ASSERT_NO_FATAL_FAILURE(Press("ImgReady"));
    ASSERT_TRUE(Until([&] { return Caption() == "대기" && Enabled("ImgNotReady"); })) << Report();
  }

  bool confirmed = false;
  std::size_t states = 0, dials = 0;  // what the switch was asked before the log-out
  WhenShown(c.dialog, [&](QWidget* dialog) {
    states = server_->AgentStates().size();
    dials = Count(kMakeCallCode);
    c.fill(dialog);
    LogOut(c.serverDown);
    QTest::mouseClick(dialog->findChild<QWidget*>(QString::fromLatin1(c.confirm)),
                      Qt::LeftButton);
    confirmed = true;
  });
  ASSERT_NO_FATAL_FAILURE(Press(c.open));
  ASSERT_TRUE(Until([&] { return confirmed; })) << Report();
  ASSERT_FALSE(HasFatalFailure());

  // Logged out, as the window showed before the dialog closed.
  EXPECT_EQ(Caption(), "로그아웃");
  EXPECT_TRUE(Enabled("imgLogIn"));
  EXPECT_EQ(Picture("imgLogIn"), "ImgLogInOn");
  for (const char* b : {"ImgReady", "ImgNotReady", "imgAftCallWork", "ImgMakeCall", "ImgHangUp"}) {
    EXPECT_FALSE(Enabled(b)) << b;
  }
  EXPECT_EQ(Picture("ImgReady"), "ImgReadyOff");
  EXPECT_EQ(Picture("ImgNotReady"), "ImgNotReadyOff");
  EXPECT_TRUE(boxes_.informed.empty()) << Report();
  EXPECT_EQ(desk_->Log().Count("전화걸기 실패"), 0u) << Report();
  // Nothing asked of the switch (when it is still there to ask).
  EXPECT_EQ(server_->AgentStates().size(), states);
  EXPECT_EQ(Count(kMakeCallCode), dials);

  DialClient client;
  ASSERT_TRUE(client.Connect(dialPort, kWindowWait));
  ASSERT_TRUE(client.Send(DialRequestText("SP-100", "0212345678", "K1")));
  std::optional<DialReply> reply;
  ASSERT_TRUE(Until([&] {
    reply = client.Read(std::chrono::milliseconds(5));
    return reply.has_value();
  })) << Report();
  EXPECT_EQ(ReplyField(reply->text, 2), "02") << reply->text;
  EXPECT_EQ(Caption(), "로그아웃");
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, LoggedOutUnderDialog,
    ::testing::Values(
        UnderDialogCase{"ServerDownUnderTheDialPad", false, "ImgMakeCall", "frmDial", &DialNumber,
                        "Command1", true},
        UnderDialogCase{"ServerDownUnderTheReasonDialog", true, "ImgNotReady", "frmNotReady",
                        &MealReason, "cmdok", true},
        UnderDialogCase{"LoggedOffUnderTheDialPad", false, "ImgMakeCall", "frmDial", &DialNumber,
                        "Command1", false},
        UnderDialogCase{"LoggedOffUnderTheReasonDialog", true, "ImgNotReady", "frmNotReady",
                        &MealReason, "cmdok", false}),
    [](const ::testing::TestParamInfo<UnderDialogCase>& info) { return info.param.name; });

}  // namespace
}  // namespace desk::test
