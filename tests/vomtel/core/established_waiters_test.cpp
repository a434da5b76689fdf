#include "vomtel/core/established_waiters.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

namespace vomtel {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(EstablishedWaitersTest, WaiterWakesForItsDeviceOnly) {
  EstablishedWaiters waiters;
  const auto token = waiters.Arm("3001");
  auto seen = std::async(std::launch::async, [&] { return waiters.Wait(token, Clock::now() + 5s); });
  waiters.Notify("30011");
  waiters.Notify("300");
  EXPECT_FALSE(waiters.Wait(token, Clock::now())) << "woken by another device's event";
  waiters.Notify("3001");
  EXPECT_TRUE(seen.get());
  waiters.Disarm(token);
}

TEST(EstablishedWaitersTest, WaitEndsAtItsDeadline) {
  EstablishedWaiters waiters;
  const auto token = waiters.Arm("3001");
  const auto started = Clock::now();
  EXPECT_FALSE(waiters.Wait(token, started + 60ms));
  EXPECT_GE(Clock::now() - started, 60ms);
}

TEST(EstablishedWaitersTest, OnlyEventsAfterArmingCount) {
  EstablishedWaiters waiters;
  waiters.Notify("3001");  // before anyone waits: lost
  const auto early = waiters.Arm("3001");
  EXPECT_FALSE(waiters.Wait(early, Clock::now()));
  waiters.Notify("3001");  // before the Wait call: kept
  const auto late = waiters.Arm("3001");
  EXPECT_TRUE(waiters.Wait(early, Clock::now()));
  EXPECT_FALSE(waiters.Wait(late, Clock::now())) << "armed after the event";
}

TEST(EstablishedWaitersTest, SeveralWaitersAndDisarm) {
  EstablishedWaiters waiters;
  const auto a = waiters.Arm("3001");
  const auto b = waiters.Arm("3001");
  const auto other = waiters.Arm("4001");
  auto disarmed = std::async(std::launch::async, [&] { return waiters.Wait(other, Clock::now() + 5s); });
  waiters.Notify("3001");
  EXPECT_TRUE(waiters.Wait(a, Clock::now()));
  EXPECT_TRUE(waiters.Wait(b, Clock::now()));
  const auto disarmedAt = Clock::now();
  waiters.Disarm(other);
  EXPECT_FALSE(disarmed.get());
  EXPECT_LT(Clock::now() - disarmedAt, 2s) << "Disarm ends a Wait on its token";
  EXPECT_FALSE(waiters.Wait(12345, Clock::now() + 1s)) << "unknown token";
}

}  // namespace
}  // namespace vomtel
