// A database server that stops answering while the desk runs (frozen with SIGSTOP, its
// connections left open): the minute check of the two connections keeps failing in the
// background, while the window goes on showing calls and answering the desk's dial requests.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <iostream>
#include <optional>
#include <thread>

#include "tests/e2e/desk_fixture.h"
#include "tests/e2e/harness/desk_events.h"
#include "tests/e2e/stalled_database.h"

namespace desk::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The driver gives up on the frozen server after this long, which held the window as long
// when the check ran on it.
constexpr int kQuerySeconds = 3;
constexpr milliseconds kCheckInterval{300};
// Covers checks on both connections, each failing by its time-out and then failing to reopen.
constexpr milliseconds kStall{3 * kQuerySeconds * 1000};
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kSlowdown = 3;  // the program runs under a sanitizer
#else
constexpr int kSlowdown = 1;
#endif
// The event control fetches every 800 ms: a call shows within that and its handling.
constexpr milliseconds kShownWithin{1000 * kSlowdown};

class DatabaseStall : public DeskTest {
 protected:
  void TearDown() override {
    database_.Resume();
    DeskTest::TearDown();
  }
  StalledDatabase database_;
};

// Dial requests one after another on one connection, each timed from its send to its reply.
class DialProbe {
 public:
  explicit DialProbe(std::uint16_t port) : thread_([this, port] { Run(port); }) {}
  ~DialProbe() { Stop(); }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  milliseconds Longest() const { return milliseconds(longestMs_.load()); }
  int Answered() const { return answered_.load(); }
  int Lost() const { return lost_.load(); }

 private:
  void Run(std::uint16_t port) {
    DialClient client;
    if (!client.Connect(port, kWait)) {
      ++lost_;
      return;
    }
    while (!stop_) {
      // Fewer than four digits: answered "01", nothing dialled.
      const Clock::time_point sent = Clock::now();
      const std::optional<DialReply> reply = client.Ask(DialRequestText("SP-100", "12", "K"), kWait);
      const auto took = std::chrono::duration_cast<milliseconds>(Clock::now() - sent);
      if (!reply || reply->closed) {
        ++lost_;
        return;
      }
      ++answered_;
      longestMs_ = std::max<long>(longestMs_.load(), static_cast<long>(took.count()));
      std::this_thread::sleep_for(milliseconds(50));  // the pace of the probe, not a wait
    }
  }

  std::atomic<bool> stop_{false};
  std::atomic<long> longestMs_{0};
  std::atomic<int> answered_{0}, lost_{0};
  std::thread thread_;
};

TEST_F(DatabaseStall, TheWindowShowsCallsAndAnswersDialRequestsWhileTheDatabaseHangs) {
  DESK_REQUIRE_MARIADB(database_);
  const std::string db = database_.ConnectionText(kQuerySeconds, kQuerySeconds);
  ASSERT_NO_FATAL_FAILURE(StartDesk([&](DeskConfig& config) {
    config.database = true;
    config.callbackDb = db;
    config.statsDb = db;
    config.dbCheckMs = static_cast<int>(kCheckInterval.count());
  }));
  ASSERT_TRUE(server_->WaitForAgentState(kNotReady, kWait)) << Report();
  // Both connections are open at the server before it hangs.
  ASSERT_TRUE(PollUntil([&] { return database_.Connections() >= 2; }, kWait)) << Report();

  // One call offered and shown; the time until the window showed it.
  int calls = 0;
  auto offerCall = [&]() -> std::optional<milliseconds> {
    const std::string uei = MakeUei(12, "80010" + std::to_string(calls++));
    const Clock::time_point pushed = Clock::now();
    const std::uint32_t call = server_->PushDelivered("0312345678", uei, 1105);
    if (!desk_->Log().WaitForText("[EVENT orbaEK_Delivered]" + uei + "-" + std::to_string(call),
                                  kWait)) {
      return std::nullopt;
    }
    const auto shown = std::chrono::duration_cast<milliseconds>(Clock::now() - pushed);
    server_->PushCleared();
    return shown;
  };
  DialProbe probe(DialPort());
  ASSERT_TRUE(database_.Freeze());
  const Clock::time_point frozen = Clock::now();

  // Calls offered during the stall show at once, one after another.
  milliseconds slowestCall{0};
  while (Clock::now() - frozen < kStall) {
    const std::optional<milliseconds> shown = offerCall();
    ASSERT_TRUE(shown) << Report();
    slowestCall = std::max(slowestCall, *shown);
    std::this_thread::sleep_for(milliseconds(500));  // the pace of the calls, not a wait
  }
  probe.Stop();
  std::cout << "[ measured ] stall " << kStall.count() << " ms: " << calls
            << " calls, the slowest shown after " << slowestCall.count() << " ms; "
            << probe.Answered() << " dial requests, the slowest answered after "
            << probe.Longest().count() << " ms\n";
  EXPECT_LE(slowestCall, kShownWithin);
  EXPECT_EQ(probe.Lost(), 0);
  EXPECT_GT(probe.Answered(), 0);
  EXPECT_LE(probe.Longest(), kShownWithin);
  // The checks found the server gone and said so in the log, after the window had gone on.
  EXPECT_TRUE(desk_->Log().WaitForText("Lost connection", kWait)) << Report();

  // Once the server answers again, the checks find their connections back: a dial request is
  // still answered and the program runs on.
  database_.Resume();
  DialClient client;
  ASSERT_TRUE(client.Connect(DialPort(), kWait));
  const std::optional<DialReply> reply = client.Ask(DialRequestText("SP-100", "12", "K"), kWait);
  ASSERT_TRUE(reply) << Report();
  EXPECT_EQ(ReplyField(reply->text, 2), "01") << reply->text;
}

}  // namespace
}  // namespace desk::test
