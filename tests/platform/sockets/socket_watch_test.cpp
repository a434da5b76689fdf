#include "platform/sockets/socket_watch.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include "platform/sockets/wake_event.h"

namespace vomtel {
namespace {

using namespace std::chrono_literals;

// Two connected stream sockets: the watched end and the peer that writes to it.
struct SocketPair {
  SocketPair() { EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds), 0); }
  ~SocketPair() { Close(); }
  void Close() {
    for (int& fd : fds) {
      if (fd >= 0) ::close(fd);
      fd = -1;
    }
  }
  void PeerWrites() { ASSERT_EQ(::write(fds[1], "x", 1), 1); }
  int Watched() const { return fds[0]; }
  int fds[2] = {-1, -1};
};

class SocketWatchTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(watch.Shared()); }
  WakeEvent wake;
  SocketWatch watch{wake.Fd()};
  SocketPair pair;
};

TEST_F(SocketWatchTest, ReportsWhatIsWatchedAndNothingElse) {
  watch.Attach(pair.Watched());
  watch.SetInterest(true, false);
  EXPECT_EQ(watch.Wait(0ms).status, 0) << "nothing to read yet";
  pair.PeerWrites();
  PollOutcome got = watch.Wait(5s);
  EXPECT_TRUE(got.readable);
  EXPECT_FALSE(got.writable);
  EXPECT_FALSE(got.woken);

  watch.SetInterest(false, false);
  EXPECT_EQ(watch.Wait(50ms).status, 0) << "the unread byte must not wake a watch without interest";

  watch.SetInterest(false, true);
  got = watch.Wait(5s);
  EXPECT_TRUE(got.writable);
  EXPECT_FALSE(got.readable);

  watch.SetInterest(false, false);
  wake.Signal();
  got = watch.Wait(5s);
  EXPECT_TRUE(got.woken);
  EXPECT_FALSE(got.readable);
}

// Another thread gives the socket back while the loop waits: what came meanwhile wakes it.
TEST_F(SocketWatchTest, InterestGivenBackDuringAWaitWakesItForWhatCameMeanwhile) {
  watch.Attach(pair.Watched());
  watch.SetInterest(false, false);
  auto waiter = std::async(std::launch::async, [&] { return watch.Wait(30s); });
  pair.PeerWrites();
  EXPECT_EQ(waiter.wait_for(50ms), std::future_status::timeout);
  watch.SetInterest(true, false);
  ASSERT_EQ(waiter.wait_for(30s), std::future_status::ready);
  EXPECT_TRUE(waiter.get().readable);
}

// A socket closed while watched (the kernel drops it from the set) and a new one under the same
// number: the new one is watched.
TEST_F(SocketWatchTest, ANewSocketUnderAnOldNumberIsWatched) {
  watch.Attach(pair.Watched());
  watch.SetInterest(true, false);
  const int old_fd = pair.Watched();
  pair.Close();
  SocketPair next;
  if (next.Watched() != old_fd) GTEST_SKIP() << "the old number was not given again";
  watch.Attach(next.Watched());
  next.PeerWrites();
  EXPECT_TRUE(watch.Wait(5s).readable);
}

}  // namespace
}  // namespace vomtel
