// The call-back list opened while its database hangs (the server frozen with SIGSTOP): the list
// shows that it waits, calls still show on the main window meanwhile, and the search gives up
// with the list's message after the query time-out.
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include "agentphone/core/lists/list_messages.h"
#include "tests/e2e/desk_fixture.h"
#include "tests/e2e/harness/desk_events.h"
#include "tests/e2e/stalled_database.h"
#include "tests/e2e/window_fixture.h"

namespace desk::test {
namespace {

constexpr int kQuerySeconds = 2;
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kSlowdown = 3;  // the program runs under a sanitizer
#else
constexpr int kSlowdown = 1;
#endif
// The event control fetches every 800 ms: a call shows within that and its handling.
constexpr qint64 kShownWithinMs = 1000 * kSlowdown;

TEST_F(WindowTest, TheCallBackListWaitsForAHungDatabaseWhileCallsStillShow) {
  StalledDatabase database;
  DESK_REQUIRE_MARIADB(database);
  const std::string db = database.ConnectionText(kQuerySeconds, kQuerySeconds);
  ASSERT_NO_FATAL_FAILURE(StartLoggedIn(kNotReady, [&](DeskConfig& config) {
    config.database = true;
    config.callbackDb = db;
    config.statsDb = db;
  }));
  ASSERT_TRUE(Until([&] { return Enabled("cmdCallBack"); })) << Report();
  ASSERT_TRUE(Until([&] { return database.Connections() >= 2; })) << Report();
  ASSERT_TRUE(database.Freeze());

  // While the list waits, a call is offered; the time until the window shows it.
  const std::string uei = MakeUei(12, "8001011234567");
  bool sawWaiting = false;
  std::uint32_t call = 0;
  QElapsedTimer sincePush;
  qint64 shownAfter = -1;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    QWidget* list = QApplication::activeModalWidget();
    if (!list || list->objectName() != QStringLiteral("frmCallBack")) return;
    auto* note = list->findChild<QLabel*>(QStringLiteral("lblWait"));
    if (!sawWaiting && !list->isEnabled() && note && note->isVisible()) {
      sawWaiting = true;
      call = server_->PushDelivered("0312345678", uei, 1105);
      sincePush.start();
    }
    if (call != 0 && shownAfter < 0 &&
        desk_->Log().Count("[EVENT orbaEK_Delivered]" + uei + "-" + std::to_string(call)) > 0) {
      shownAfter = sincePush.elapsed();
    }
  });
  watch.start(10);

  bool noteHidden = false;
  WhenShown("frmCallBack", [&](QWidget* list) {
    auto* note = list->findChild<QLabel*>(QStringLiteral("lblWait"));
    noteHidden = note && !note->isVisible();
    list->close();
  });
  QElapsedTimer opened;
  opened.start();
  ASSERT_NO_FATAL_FAILURE(Press("cmdCallBack"));
  const qint64 listTook = opened.elapsed();
  watch.stop();
  database.Resume();

  EXPECT_TRUE(sawWaiting) << "the list did not show that it waits";
  ASSERT_NE(call, 0u);
  EXPECT_GE(shownAfter, 0) << "the call was not shown while the list waited\n" << Report();
  EXPECT_LE(shownAfter, kShownWithinMs);
  EXPECT_EQ(boxes_.informed,
            (std::vector<std::string>{std::string(agentphone::lists::kMsgDbLost)}));
  EXPECT_LT(listTook, (kQuerySeconds + 3 * kSlowdown) * 1000);
  EXPECT_TRUE(noteHidden);
  // Why it gave up is logged: the list's own wait, or the driver's time-out when that ends the
  // statement first (both are the query time-out).
  EXPECT_TRUE(Until([&] {
    return desk_->Log().Count("no answer from the database within 2 s") > 0 ||
           desk_->Log().Count("Lost connection to server during query") > 0;
  })) << Report();
  std::cout << "[ measured ] the list gave up after " << listTook
            << " ms; the call offered meanwhile was shown after " << shownAfter << " ms\n";
}

}  // namespace
}  // namespace desk::test
