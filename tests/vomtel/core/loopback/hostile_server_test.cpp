// The library against two threads opening at once and servers that flood it: each open gets
// exactly its own servers, an unpolled event flood stays within the event limit and the
// caller then gets the newest events, and a reply wait ends at its deadline however many
// late replies are queued.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <latch>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/vomtel/core/loopback/loopback_fixture.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/core/recv_queue.h"
#include "vomtel/core/result_codes.h"
#include "vomtel/core/session.h"
#include "vomtel/core/socket_service.h"
#include "vomtel/requests/call/request_exchange.h"

namespace vomtel::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

void PutU32(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

// `count` event frames numbered from `first` (bytes 14-17), or reply frames echoing `echo`.
Bytes Events(std::uint32_t first, std::uint32_t count) {
  Bytes out;
  for (std::uint32_t n = first; n < first + count; ++n) {
    const Bytes head = {0xA1, 0x00, 15, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    out.insert(out.end(), head.begin(), head.end());
    PutU32(out, n);
  }
  return out;
}
Bytes StaleReplies(std::uint16_t echo, std::uint32_t count) {
  Bytes out;
  for (std::uint32_t n = 0; n < count; ++n) {
    const Bytes frame = {0xA2, 0x00, 11,   0x42, 0x1E, 0, 0, 0, 0, 0, 0, 1,
                         static_cast<std::uint8_t>(echo >> 8), static_cast<std::uint8_t>(echo)};
    out.insert(out.end(), frame.begin(), frame.end());
  }
  return out;
}

std::uint32_t NumberOf(const Stream& frame) {
  return static_cast<std::uint32_t>(frame.At(14)) << 24 | frame.At(15) << 16 |
         frame.At(16) << 8 | frame.At(17);
}

// Resident size of the process in bytes.
long long ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long long pages = 0;
  long long resident = 0;
  statm >> pages >> resident;
  return resident * 4096;
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

class HostileServer : public ::testing::Test {
 protected:
  TempDir dir;
  std::unique_ptr<OrbaAdapter> adapter;

  void MakeAdapter(int level, const QueueLimits& limits) {
    Settings settings;
    settings.logPath = dir.Path();
    settings.level = level;
    adapter = std::make_unique<OrbaAdapter>(settings, ShortTimings());
    adapter->Proxy().SetQueueLimits(limits);
  }
  int Open(ctisim::SimServer& sim, int& gate) {
    adapter->AddServer(sim.Address(), sim.Port(), 0, 1, "3001", "app", 0x50, 0);
    return adapter->OpenServer(&gate);
  }
};

// Two threads open gates to two servers at the same moment, round after round: each gets its
// own server (told apart by the version byte of its open reply), never the other's.
TEST_F(HostileServer, OpensAtOnceEachGetTheirOwnServer) {
  MakeAdapter(0, QueueLimits{});
  ctisim::SimOptions a = SimAt("127.0.0.1");
  a.open.version = 0x51;
  ctisim::SimOptions b = SimAt("127.0.0.1");
  b.open.version = 0x52;
  ctisim::SimServer first(a);
  ctisim::SimServer second(b);
  constexpr int kRounds = kSanitized ? 60 : 150;
  for (int round = 0; round < kRounds; ++round) {
    std::latch start(2);
    int gates[2] = {-1, -1};
    int results[2] = {0, 0};
    auto open = [&](int i, ctisim::SimServer& sim) {
      start.arrive_and_wait();
      results[i] = Open(sim, gates[i]);
    };
    std::thread other(open, 1, std::ref(second));
    open(0, first);
    other.join();
    ASSERT_EQ(results[0], kOk) << "round " << round;
    ASSERT_EQ(results[1], kOk) << "round " << round;
    ASSERT_NE(gates[0], gates[1]);
    EXPECT_EQ(adapter->Proxy().Table().Count(gates[0]), 1u);
    EXPECT_EQ(adapter->GetVersion(gates[0]), 0x51) << "round " << round;
    EXPECT_EQ(adapter->GetVersion(gates[1]), 0x52) << "round " << round;
    adapter->Proxy().Close(gates[0]);
    adapter->Proxy().Close(gates[1]);
  }
}

// A million events the caller does not poll: the queue keeps the newest up to its limit, the
// resident size stays near where it was, and the caller then gets those events in order.
TEST_F(HostileServer, UnpolledEventFloodStaysWithinItsLimit) {
  constexpr std::size_t kLimit = 10000;
  constexpr std::uint32_t kFlood = kSanitized ? 300000 : 1000000;
  constexpr std::uint32_t kChunk = 50000;
  MakeAdapter(0, QueueLimits{kLimit, 64, 10001});
  ctisim::SimServer sim(SimAt("127.0.0.1"));
  int gate = -1;
  ASSERT_EQ(Open(sim, gate), kOk);
  const std::shared_ptr<CSession> session = adapter->Proxy().FindActive(gate);
  ASSERT_TRUE(session);
  CRecvQueue& queue = session->Socket().RecvQueue();

  const long long before = ResidentBytes();
  for (std::uint32_t first = 0; first < kFlood; first += kChunk) {
    ASSERT_GT(sim.Send(Events(first, kChunk)), 0);
    ASSERT_TRUE(sim.WaitUntilSent(milliseconds(60000)));
  }
  // A reply behind the flood: once it is queued, every event before it has been read.
  sim.Send(StaleReplies(1, 1));
  ASSERT_TRUE(WaitUntil([&] { return queue.ReplyCount() == 1; }, milliseconds(60000)));
  const long long growth = ResidentBytes() - before;
  std::printf("resident size %lld MB before the flood of %u events, growth %lld KB\n",
              before >> 20, kFlood, growth >> 10);
  EXPECT_EQ(queue.EventCount(), kLimit);
  if (!kSanitized) {
    EXPECT_LT(growth, 32LL << 20);
  }

  Stream event;
  std::uint32_t expected = kFlood - kLimit;
  std::size_t received = 0;
  while (adapter->Proxy().Notify(event, gate) == kOk) {
    ASSERT_EQ(NumberOf(event), expected++);
    ++received;
  }
  EXPECT_EQ(received, kLimit);
  EXPECT_FALSE(session->Stopped());  // the link is still up
}

// Late replies queued by the hundred thousand: the reply wait still ends at its deadline,
// leaving the rest queued, for the session's own requests and the request operations alike.
TEST_F(HostileServer, ReplyWaitEndsAtItsDeadlineWithLateRepliesQueued) {
  constexpr std::uint32_t kStale = kSanitized ? 300000 : 1000000;
  MakeAdapter(0, QueueLimits{100000, kStale + 10, kStale + 10});
  ctisim::SimServer sim(SimAt("127.0.0.1"));
  int gate = -1;
  ASSERT_EQ(Open(sim, gate), kOk);
  const std::shared_ptr<CSession> session = adapter->Proxy().FindActive(gate);
  ASSERT_TRUE(session);
  CRecvQueue& queue = session->Socket().RecvQueue();
  constexpr std::uint16_t kEcho = 0xFFF0;  // no request of the test takes this number
  for (std::uint32_t sent = 0; sent < kStale; sent += 100000) {
    sim.Send(StaleReplies(kEcho, 100000));
    ASSERT_TRUE(sim.WaitUntilSent(milliseconds(60000)));
  }
  ASSERT_TRUE(WaitUntil([&] { return queue.ReplyCount() == kStale; }, milliseconds(60000)));
  session->Logger().SetLevel(1);  // every reply dropped writes its line, as it would

  // The request operations: a wait of 1 ms.
  session->GivenUp().GiveUp(0x42, 0x1E, kEcho, false);  // the stale replies' class and code
  {
    RequestExchange exchange(*adapter, gate);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(exchange.WaitReply(milliseconds(1)), kTimeout);
    const auto took = std::chrono::steady_clock::now() - start;
    std::printf("request wait of 1 ms took %lld us with %u late replies queued\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(took).count()),
                kStale);
  }
  EXPECT_GT(queue.ReplyCount(), 0u);

  // The monitor start: a wait of one reply unit; its own reply is queued behind the rest.
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(adapter->Proxy().MonitorStart(gate), kTimeout);
  const auto took = std::chrono::steady_clock::now() - start;
  std::printf("monitor start wait of %lld ms took %lld ms with %zu late replies queued\n",
              static_cast<long long>(ShortTimings().replyUnit.count()),
              static_cast<long long>(std::chrono::duration_cast<milliseconds>(took).count()),
              queue.ReplyCount());
  EXPECT_GT(queue.ReplyCount(), 0u);
}

}  // namespace
}  // namespace vomtel::test
