// Writers that send their frames to the socket themselves: what the socket does not take is
// completed by the service thread, in order, and a writer racing the end of a connection never
// sends on a closed descriptor and never waits out its send wait.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "support/byte_fakes.h"
#include "tests/vomtel/core/loopback/loopback_fixture.h"
#include "vomtel/core/frame.h"
#include "vomtel/core/result_codes.h"
#include "vomtel/core/socket_service.h"

namespace vomtel::test {
namespace {

using Clock = std::chrono::steady_clock;

std::size_t EntriesIn(const char* directory) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(directory)) ++count;
  return count;
}

// A request frame of `size` bytes whose body bytes all are `fill`.
Bytes FrameOfSize(std::size_t size, std::uint8_t fill) {
  Bytes frame(size, fill);
  frame[0] = 0xA1;
  frame[1] = static_cast<std::uint8_t>((size - 3) >> 8);
  frame[2] = static_cast<std::uint8_t>(size - 3);
  return frame;
}

// A peer that accepts one connection with a small receive buffer and reads only when told.
class SlowPeer {
 public:
  SlowPeer() {
    listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int small = 4096;
    ::setsockopt(listen_, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (::bind(listen_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::listen(listen_, 1) != 0 ||
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
      ADD_FAILURE() << "no loopback listener";
    }
    port_ = ntohs(address.sin_port);
  }
  ~SlowPeer() {
    if (peer_ >= 0) ::close(peer_);
    ::close(listen_);
  }
  std::uint16_t Port() const { return port_; }
  bool Accept() {
    pollfd fd{listen_, POLLIN, 0};
    if (::poll(&fd, 1, 5000) != 1) return false;
    peer_ = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
    return peer_ >= 0;
  }
  // Reads until `count` bytes came or nothing came for 30 s.
  Bytes Receive(std::size_t count) {
    Bytes got(count);
    std::size_t done = 0;
    pollfd fd{peer_, POLLIN, 0};
    while (done < count && ::poll(&fd, 1, 30000) == 1) {
      const ssize_t n = ::recv(peer_, got.data() + done, count - done, 0);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    got.resize(done);
    return got;
  }

 private:
  int listen_ = -1;
  int peer_ = -1;
  std::uint16_t port_ = 0;
};

TEST(DirectSend, FramesTheSocketTakesInPartsAreCompletedInOrder) {
  ScratchLog log;
  Timings timings = ShortTimings();
  // 12 MB with every frame's dump logged twice takes a minute and more under a sanitizer on a
  // busy machine, while the peer sends nothing: the silence limit stands above the test's own
  // time-out, so that the link is not ended as silent midway. The waits only bound a failure;
  // what is checked is that every byte arrives, in order.
  timings.sendWait = milliseconds(60000);
  CSocket socket(log.Logger(), timings);
  socket.SetHeartbeatLimit(600000);
  SlowPeer peer;
  ASSERT_TRUE(socket.StartService("127.0.0.1", peer.Port()));
  ASSERT_TRUE(peer.Accept());

  constexpr int kFrames = 1500;  // 12 MB: far more than the socket buffers hold
  Bytes expected;
  std::vector<Bytes> frames;
  for (int i = 0; i < kFrames; ++i) {
    frames.push_back(FrameOfSize(8000, static_cast<std::uint8_t>(i)));
    expected.insert(expected.end(), frames.back().begin(), frames.back().end());
  }
  std::vector<int> results;
  std::thread writer([&] {
    for (const Bytes& frame : frames) results.push_back(socket.Write(Stream(frame.data(), frame.size())));
  });
  // The peer reads nothing until a frame was only partly taken and the rest waits for the loop.
  // Filling the socket's buffers takes some hundred frames, each logged with its dump: under a
  // sanitizer on a busy machine that may take longer than the usual patience.
  EXPECT_TRUE(WaitUntil([&] { return socket.SendQueue().HasPending(); }, 6 * kPatience));
  EXPECT_EQ(peer.Receive(expected.size()), expected);
  writer.join();
  EXPECT_EQ(results, std::vector<int>(kFrames, kOk));
  socket.StopService();
}

TEST(DirectSend, HundredCyclesWithAWriterRacingEachEnd) {
  ScratchLog log;
  ctisim::SimServer server(SimAt("127.0.0.1"));
  Timings timings = ShortTimings();
  timings.sendWait = milliseconds(20000);
  CSocket socket(log.Logger(), timings);
  socket.SetHeartbeatLimit(60000);
  Stream body;
  body.PutU32(1).PutU16(9);
  const StreamPtr frame = BuildRequestFrame(body, kClassMonitor, kCodeMonitorStart, 0, 0);

  auto cycle = [&](std::vector<int>& results, Clock::duration& longest) {
    if (!socket.StartService("127.0.0.1", server.Port())) {
      ADD_FAILURE() << "no connection";
      return;
    }
    const std::size_t before = server.RequestCount();
    std::thread writer([&] {
      for (;;) {
        const auto started = Clock::now();
        const int result = socket.Write(*frame);
        longest = std::max(longest, Clock::now() - started);
        results.push_back(result);
        if (result != kOk) return;
      }
    });
    EXPECT_TRUE(server.WaitForRequestCount(before + 3, kPatience));
    socket.StopService();  // while the writer writes
    writer.join();
  };
  std::vector<int> results;
  Clock::duration longest{};
  cycle(results, longest);  // what starts once per process is not counted
  ASSERT_TRUE(server.WaitForLiveConnections(0, kPatience));
  const std::size_t fds = EntriesIn("/proc/self/fd");
  const std::size_t threads = EntriesIn("/proc/self/task");
  for (int i = 0; i < 100; ++i) cycle(results, longest);

  EXPECT_EQ(std::count(results.begin(), results.end(), kNotConnected), 101);
  EXPECT_EQ(std::count(results.begin(), results.end(), kOk),
            static_cast<std::ptrdiff_t>(results.size()) - 101);
  EXPECT_LT(longest, milliseconds(5000)) << "no writer waits out its send wait";
  EXPECT_EQ(server.JunkReceived(), 0u) << "no frame is cut or sent on another connection";
  ASSERT_TRUE(server.WaitForLiveConnections(0, kPatience));
  EXPECT_EQ(EntriesIn("/proc/self/fd"), fds);
  EXPECT_EQ(EntriesIn("/proc/self/task"), threads);
}

}  // namespace
}  // namespace vomtel::test
