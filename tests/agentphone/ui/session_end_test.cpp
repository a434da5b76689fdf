// How the program hears that the desktop session ends: the end signals and a quit request from
// outside end every loop, open dialogs' included, and run the shut-down once; the quit that
// follows the window's own close runs nothing more.
#include "agentphone/app/session_end.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

namespace agentphone::app {
namespace {

// Bounds a loop that would otherwise never end.
constexpr int kPatienceMs = 30000;

void PostQuit() { QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit)); }

TEST(SessionEnd, EndSignalsAndAQuitFromOutsideRunTheShutDownOnce) {
  struct Case {
    const char* what;
    std::function<void()> trigger;  // run inside the loop
    bool windowOpen;
    std::vector<std::string> ends;
  } cases[] = {
      {"SIGTERM", [] { ::raise(SIGTERM); }, true, {"SIGTERM"}},
      {"SIGHUP", [] { ::raise(SIGHUP); }, true, {"SIGHUP"}},
      {"SIGTERM under an open dialog",
       [] {
         QTimer::singleShot(0, [] { ::raise(SIGTERM); });
         QEventLoop dialog;
         dialog.exec();
       },
       true, {"SIGTERM"}},
      {"a quit request while the window is open", PostQuit, true, {"quit request"}},
      {"the quit after the window was closed", PostQuit, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> ends;
    SessionEnd session([&c] { return c.windowOpen; },
                       [&ends](std::string_view cause) { ends.emplace_back(cause); });
    QTimer::singleShot(0, c.trigger);
    QTimer patience;
    patience.setSingleShot(true);
    QObject::connect(&patience, &QTimer::timeout, [] { QCoreApplication::exit(3); });
    patience.start(kPatienceMs);
    EXPECT_EQ(session.Run(), 0);
    EXPECT_EQ(session.Cause(), c.ends.empty() ? "" : c.ends.front());
    EXPECT_EQ(ends, c.ends);
  }
}

}  // namespace
}  // namespace agentphone::app
