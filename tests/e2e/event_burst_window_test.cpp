// A burst of the switch's events in the window: two thousand delivered calls in one write. The
// agent presses 전화받기 now and then while the window handles them; each press reaches the
// switch at once, not once the burst is over, and every event is still handled in order.
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <iostream>
#include <vector>

#include "tests/e2e/desk_fixture.h"
#include "tests/e2e/event_burst.h"
#include "tests/e2e/window_fixture.h"

namespace desk::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kPresses = 6;
// The burst takes twenty seconds at least (a pause of 10 ms before each event): the presses
// fall inside it.
constexpr milliseconds kFirstPress{1000};
constexpr milliseconds kPressEvery{3000};
constexpr milliseconds kServed{2000};  // the longest a press may wait for its request to go out

// Runs the event loop as the program runs it (no pause between its passes) until `probe`
// holds; false after `wait`.
bool LoopUntil(const std::function<bool()>& probe, milliseconds wait) {
  if (probe()) return true;
  QEventLoop loop;
  QTimer check;
  check.setInterval(20);
  QObject::connect(&check, &QTimer::timeout, &loop, [&] {
    if (probe()) loop.quit();
  });
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  check.start();
  limit.start(wait);
  loop.exec();
  return probe();
}

struct PressSeen {
  milliseconds late{0};     // from when the agent pressed to when its request had gone out
  bool sent = false;        // the answer request reached the switch
  std::size_t handled = 0;  // the burst's events handled by then
};

TEST_F(WindowTest, AnswerPressesDuringABurstOfEventsReachTheSwitchAtOnce) {
  ASSERT_NO_FATAL_FAILURE(StartLoggedIn(kReady));
  server_->PlaySwitch(false);  // the answers are acknowledged, with no events of their own
  std::vector<PressSeen> presses;
  const Clock::time_point start = Clock::now();
  ASSERT_EQ(server_->PushAll(DeliveredBurst(server_->AgentDn())), 1);
  for (int i = 0; i < kPresses; ++i) {
    const milliseconds at = kFirstPress + i * kPressEvery;
    // The press is queued for the window's loop as the window system queues a click.
    QTimer::singleShot(at, Qt::PreciseTimer, window_, [&, pressed = start + at] {
      const std::size_t before = Count(kAnswerCode);
      QWidget* answer = window_->findChild<QWidget*>(QStringLiteral("ImgAnswer"));
      if (answer) QTest::mouseClick(answer, Qt::LeftButton);
      PressSeen seen;
      seen.late = std::chrono::duration_cast<milliseconds>(Clock::now() - pressed);
      seen.sent = Count(kAnswerCode) > before;
      seen.handled = HandledBurstCalls(desk_->Log()).size();
      presses.push_back(seen);
    });
  }
  ASSERT_TRUE(LoopUntil(
      [&] {
        return presses.size() == kPresses &&
               desk_->Log().Count(DeliveredLine(kFirstBurstCall + kBurst - 1)) > 0;
      },
      milliseconds(120000)))
      << presses.size() << " presses\n"
      << Report();

  milliseconds longest{0};
  for (std::size_t i = 0; i < presses.size(); ++i) {
    SCOPED_TRACE("press " + std::to_string(i + 1));
    EXPECT_TRUE(presses[i].sent);
    EXPECT_LT(presses[i].late, kServed);
    EXPECT_LT(presses[i].handled, kBurst) << "the press came after the burst";
    longest = std::max(longest, presses[i].late);
  }
  std::cout << "longest wait of " << presses.size()
            << " presses during the burst: " << longest.count() << " ms\n";
  EXPECT_EQ(HandledBurstCalls(desk_->Log()), WholeBurst());
}

}  // namespace
}  // namespace desk::test
