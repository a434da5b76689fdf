// The reconnect thread under allocation failure: every allocation made on a thread other than
// the test's own throws while the fault is armed. This program replaces the global allocation
// functions for that, which is why it is a program of its own.
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <new>
#include <thread>

#include <gtest/gtest.h>

#include "vomtel/core/session.h"
#include "vomtel/core/timings.h"

namespace {

std::atomic<bool> armed{false};
std::atomic<int> thrown{0};
std::thread::id test_thread;

void* Allocate(std::size_t size) {
  if (armed.load() && std::this_thread::get_id() != test_thread) {
    thrown.fetch_add(1);
    throw std::bad_alloc();
  }
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace vomtel {
namespace {

using std::chrono::milliseconds;

bool WaitUntil(bool (*condition)(), milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(milliseconds(5));
  }
  return true;
}

// Texts the loop builds for its log cannot be made: the thread neither ends the program nor
// gives up, it tries again a period later, and Close still ends and joins it.
TEST(ReconnectFault, LoopSurvivesThrowingTextsAndKeepsTrying) {
  test_thread = std::this_thread::get_id();
  Timings timings;
  timings.retryPeriod = milliseconds(20);
  timings.connectTimeout = milliseconds(200);
  CSession session(1, 0, "127.0.0.1", "3001", "app", timings);  // nothing listens on port 1

  armed = true;
  session.StartTryOpen(SessionMode::kSingle);
  const bool retried = WaitUntil([] { return thrown.load() >= 3; }, milliseconds(10000));
  armed = false;

  EXPECT_TRUE(retried) << "allocations that failed: " << thrown.load();
  EXPECT_TRUE(session.Reconnecting());
  session.Close();
  EXPECT_FALSE(session.Reconnecting());
}

}  // namespace
}  // namespace vomtel
