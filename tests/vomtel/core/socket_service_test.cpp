#include "vomtel/core/socket_service.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <thread>
#include <vector>

#include "support/byte_fakes.h"
#include "vomtel/core/frame.h"
#include "vomtel/core/result_codes.h"

namespace vomtel {
namespace {

using test::Bytes;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A loopback TCP server on the test's own thread: one listening socket, one peer at a time.
class LoopbackServer {
 public:
  LoopbackServer() {
    listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (::bind(listen_, reinterpret_cast<sockaddr*>(&address), size) != 0 || ::listen(listen_, 8) != 0 ||
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
      ADD_FAILURE() << "no loopback listener";
    }
    port_ = ntohs(address.sin_port);
  }
  ~LoopbackServer() {
    ClosePeer();
    ::close(listen_);
  }

  std::uint16_t Port() const { return port_; }

  bool Accept() {
    ClosePeer();
    pollfd fd{listen_, POLLIN, 0};
    if (::poll(&fd, 1, 5000) != 1) return false;
    peer_ = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
    return peer_ >= 0;
  }
  void Send(const Bytes& bytes) {
    ASSERT_EQ(::send(peer_, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
  }
  // Reads until `count` bytes came or 5 s passed.
  Bytes Receive(std::size_t count) {
    Bytes got(count);
    std::size_t done = 0;
    pollfd fd{peer_, POLLIN, 0};
    while (done < count && ::poll(&fd, 1, 5000) == 1) {
      const ssize_t n = ::recv(peer_, got.data() + done, count - done, 0);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    got.resize(done);
    return got;
  }
  // True when the client ends the connection within 5 s.
  bool SeesClose() {
    pollfd fd{peer_, POLLIN, 0};
    std::uint8_t byte = 0;
    return ::poll(&fd, 1, 5000) == 1 && ::recv(peer_, &byte, 1, 0) <= 0;
  }
  void ClosePeer() {
    if (peer_ >= 0) ::close(peer_);
    peer_ = -1;
  }

 private:
  int listen_ = -1;
  int peer_ = -1;
  std::uint16_t port_ = 0;
};

std::size_t EntriesIn(const char* directory) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(directory)) ++count;
  return count;
}

bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit = 5s) {
  const auto deadline = Clock::now() + limit;
  while (!condition()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

Timings FastTimings() {
  Timings timings;
  timings.sendWait = 2000ms;
  timings.connectTimeout = 2000ms;
  return timings;
}

const Bytes kRequest = test::WireFrame(0xA1, {0x42, 0x1E, 0x00, 0x00, 0x00, 0, 0, 0, 9, 0, 3});
const Bytes kReply = test::WireFrame(0xA2, {0x42, 0x1E, 0x00, 0x00, 0x00, 0, 0, 0, 1, 0, 3});

class SocketServiceTest : public ::testing::Test {
 protected:
  test::ScratchLog log;
  LoopbackServer server;
  CSocket socket{log.Logger(), FastTimings()};

  void StartAndAccept() {
    ASSERT_TRUE(socket.StartService("127.0.0.1", server.Port()));
    ASSERT_FALSE(socket.Stopped()) << "StartService returns once the loop runs";
    ASSERT_TRUE(server.Accept());
  }
  // Every queued event as (first byte, connection).
  std::vector<std::pair<int, std::uint64_t>> TakeEvents() {
    std::vector<std::pair<int, std::uint64_t>> events;
    Stream out;
    std::uint64_t connection = 0;
    while (socket.RecvQueue().ReadEvent(out, &connection) == kOk) events.emplace_back(out.At(0), connection);
    return events;
  }
};

TEST_F(SocketServiceTest, ConnectFailuresAreFast) {
  std::uint16_t closedPort = 0;
  {
    LoopbackServer gone;
    closedPort = gone.Port();
  }
  for (const std::string address : {"127.0.0.1", "localhost", "127.0.0.256"}) {
    const auto started = Clock::now();
    EXPECT_FALSE(socket.StartService(address, closedPort)) << address;
    EXPECT_LT(Clock::now() - started, 1s) << address << ": a refusal needs no time-out";
  }
  EXPECT_TRUE(socket.Stopped());
  EXPECT_TRUE(TakeEvents().empty()) << "no loop ran, so no connection ended";
  EXPECT_NE(log.Text().find("] [vomtelSock : StartService] Connect fail.\n"), std::string::npos);
  // Each failure is followed by a line with its address, port and cause.
  const std::string port = std::to_string(closedPort);
  for (const std::string& detail :
       {"connect to 127.0.0.1:" + port + " failed: errno[" + std::to_string(ECONNREFUSED) + "] ",
        "connect to localhost:" + port + " failed: errno[" + std::to_string(EINVAL) + "] ",
        "connect to 127.0.0.256:" + port + " failed: errno[" + std::to_string(EINVAL) + "] "}) {
    EXPECT_NE(log.Text().find("] [vomtelSock : StartService] " + detail), std::string::npos)
        << detail;
  }
}

TEST_F(SocketServiceTest, QueuedRequestWakesTheLoopAndTheReplyIsQueued) {
  socket.SetSelectTimeout(3, 0);  // a pass may last 3 s; the request must not wait for it
  socket.SetHeartbeatLimit(60000);
  StartAndAccept();
  const auto started = Clock::now();
  EXPECT_EQ(socket.Write(Stream(kRequest.data(), kRequest.size())), kOk);
  EXPECT_LT(Clock::now() - started, 1s);
  EXPECT_EQ(server.Receive(kRequest.size()), kRequest);

  server.Send(kReply);
  Stream reply;
  ASSERT_EQ(socket.RecvQueue().ReadReply(reply, 5s), kOk);
  EXPECT_EQ(Bytes(reply.Data(), reply.Data() + reply.Size()), kReply);
  socket.StopService();
}

TEST_F(SocketServiceTest, SilencePastTheLimitEndsTheLinkWithOneNotice) {
  socket.SetHeartbeatLimit(100);
  const auto started = Clock::now();
  // Not StartAndAccept: on a loaded machine this thread may run again only after the short
  // limit, when the loop has rightly ended already.
  ASSERT_TRUE(socket.StartService("127.0.0.1", server.Port()));
  ASSERT_TRUE(server.Accept());
  // The loop marks itself stopped a moment before it posts the notice.
  ASSERT_TRUE(Eventually([&] { return socket.Stopped() && socket.RecvQueue().EventCount() > 0; }));
  EXPECT_GE(Clock::now() - started, 100ms);
  EXPECT_TRUE(server.SeesClose());
  socket.StopService();  // joins the ended loop: every notice it posts is queued by now
  EXPECT_EQ(TakeEvents(), (std::vector<std::pair<int, std::uint64_t>>{{kConnectionLost, socket.Connection()}}));
  EXPECT_EQ(socket.Write(Stream(kRequest.data(), kRequest.size())), kNotConnected);
}

TEST_F(SocketServiceTest, ServerTrafficKeepsTheLinkAlive) {
  socket.SetHeartbeatLimit(1000);  // far above the gaps, on a loaded machine too
  StartAndAccept();
  for (int i = 0; i < 50; ++i) {  // 1.5 s in all, longer than the limit
    server.Send({0x00});  // not even a frame: being heard is what counts
    std::this_thread::sleep_for(30ms);
  }
  EXPECT_FALSE(socket.Stopped());
  EXPECT_TRUE(Eventually([&] { return socket.Stopped(); })) << "silence again ends it";
}

TEST_F(SocketServiceTest, StopServiceOrServerCloseEndsTheLoop) {
  for (const bool byServer : {false, true}) {
    StartAndAccept();
    const std::uint64_t connection = socket.Connection();
    if (byServer) {
      server.ClosePeer();
      ASSERT_TRUE(Eventually([&] { return socket.Stopped() && socket.RecvQueue().EventCount() > 0; }));
    } else {
      socket.StopService();
      EXPECT_TRUE(socket.Stopped()) << "StopService returns once the loop has ended";
      EXPECT_TRUE(server.SeesClose());
    }
    EXPECT_EQ(TakeEvents(), (std::vector<std::pair<int, std::uint64_t>>{{kConnectionLost, connection}}))
        << (byServer ? "server closed" : "stopped");
  }
  EXPECT_NE(log.Text().find("] [vomtelSock : StopService] StopService OK\n"), std::string::npos);
}

TEST_F(SocketServiceTest, EveryConnectionStartsFresh) {
  socket.SetHeartbeatLimit(60000);
  StartAndAccept();
  const std::uint64_t first = socket.Connection();
  server.Send(kReply);
  server.Send({0xA2, 0x00, 0x40, 0x01});  // cut off by the end of the connection
  ASSERT_TRUE(Eventually([&] { return socket.RecvQueue().ReplyCount() == 1; }));

  StartAndAccept();  // ends the running loop first
  EXPECT_NE(socket.Connection(), first);
  EXPECT_EQ(socket.RecvQueue().ReplyCount(), 0u) << "a reply of the old connection answers nothing now";
  server.Send(kReply);
  Stream reply;
  ASSERT_EQ(socket.RecvQueue().ReadReply(reply, 5s), kOk);
  EXPECT_EQ(Bytes(reply.Data(), reply.Data() + reply.Size()), kReply);
  EXPECT_EQ(TakeEvents(), (std::vector<std::pair<int, std::uint64_t>>{{kConnectionLost, first}}))
      << "events, the old connection's notice among them, are kept";
}

TEST_F(SocketServiceTest, HundredStopStartCyclesLeaveNothingBehind) {
  socket.SetHeartbeatLimit(60000);
  // One cycle first: what starts once per process (a sanitizer's helper thread, the log
  // file) is not counted.
  StartAndAccept();
  socket.StopService();
  server.ClosePeer();
  TakeEvents();
  const std::size_t fds = EntriesIn("/proc/self/fd");
  const std::size_t threads = EntriesIn("/proc/self/task");
  std::set<std::uint64_t> connections;
  for (int i = 0; i < 100; ++i) {
    StartAndAccept();
    connections.insert(socket.Connection());
    socket.StopService();
    server.ClosePeer();
  }
  EXPECT_EQ(EntriesIn("/proc/self/fd"), fds);
  EXPECT_EQ(EntriesIn("/proc/self/task"), threads);
  EXPECT_EQ(connections.size(), 100u);
  const auto events = TakeEvents();
  ASSERT_EQ(events.size(), 100u);
  for (const auto& [first, connection] : events) {
    EXPECT_EQ(first, kConnectionLost);
    EXPECT_EQ(connections.count(connection), 1u);
  }
}


// A call event numbered `n` (byte 14).
Bytes NumberedEvent(std::uint8_t n) {
  Bytes body = test::Filled(12, 0);
  body[1] = 2;  // event code: a call event
  body[11] = n;
  return test::WireFrame(0xA1, body);
}

// Each queued event as its first byte, and for a call event its number.
std::vector<int> EventsIn(CRecvQueue& queue) {
  std::vector<int> events;
  Stream out;
  while (queue.ReadEvent(out) == kOk) events.push_back(out.Size() > 14 ? out.At(14) : out.At(0));
  return events;
}

// A caller waiting for its reply may read the socket itself: what comes is sorted as the loop
// sorts it (events in order between the frames of an answer, the HA notice among them), and
// the server's close ends the next wait at once with the connection-lost notice queued.
TEST_F(SocketServiceTest, AWaitingCallerSortsWhatComesAsTheLoopDoes) {
  socket.SetHeartbeatLimit(60000);
  StartAndAccept();
  const Bytes first = kReply;
  Bytes second = kReply;
  second.back() = 4;
  Bytes ha = test::Filled(29, 0);
  ha[1] = 0xFC;  // HA notice; byte 31 non-zero: this server is active
  ha[28] = 1;
  std::vector<int> results;
  std::vector<Bytes> replies;
  std::thread caller([&] {
    for (int i = 0; i < 3; ++i) {
      Stream reply;
      results.push_back(socket.ReadReply(reply, 5s));
      replies.emplace_back(reply.Data(), reply.Data() + reply.Size());
    }
  });
  server.Send(test::Concat(NumberedEvent(1), Bytes(first.begin(), first.begin() + 5)));
  server.Send(test::Concat(test::Concat(Bytes(first.begin() + 5, first.end()), NumberedEvent(2)),
                           test::Concat(test::WireFrame(0xA1, ha), second)));
  server.Send(NumberedEvent(3));
  server.ClosePeer();
  caller.join();
  EXPECT_EQ(results, (std::vector<int>{kOk, kOk, kNotConnected}));
  EXPECT_EQ(replies[0], first);
  EXPECT_EQ(replies[1], second);
  ASSERT_TRUE(Eventually([&] { return socket.Stopped(); }));
  socket.StopService();
  EXPECT_EQ(EventsIn(socket.RecvQueue()), (std::vector<int>{1, 2, kHaActive, 3, kConnectionLost}));
}

// The loop reads the reply in the moment between the caller's look at the queue and its own
// read of the socket: the caller takes the reply at once instead of waiting on the socket for
// the rest of its wait.
TEST_F(SocketServiceTest, AReplyTheLoopReadsAsTheCallerTurnsToTheSocketEndsTheWait) {
  constexpr auto kWait = 5s;
  socket.SetHeartbeatLimit(60000);
  bool sent = false;
  socket.SetCallerReadHook([&] {
    if (sent) return;
    sent = true;
    server.Send(kReply);
    EXPECT_TRUE(Eventually([&] { return socket.RecvQueue().ReplyCount() == 1; }));
  });
  StartAndAccept();
  Stream reply;
  const auto start = Clock::now();
  EXPECT_EQ(socket.ReadReply(reply, kWait), kOk);
  EXPECT_LT(Clock::now() - start, kWait / 2);
  EXPECT_TRUE(sent);
  EXPECT_EQ(Bytes(reply.Data(), reply.Data() + reply.Size()), kReply);
  socket.StopService();
}

// Once a caller's wait is over, the loop reads the socket again by itself, however long its
// passes: an event that comes after a wait that ended without a reply is queued.
TEST_F(SocketServiceTest, TheLoopReadsAgainAfterACallersWait) {
  socket.SetSelectTimeout(60, 0);  // only a wake-up ends a pass within the test
  socket.SetHeartbeatLimit(120000);
  StartAndAccept();
  for (std::uint8_t n = 1; n <= 5; ++n) {
    // An event once the request is in, while its caller waits, then no reply: the wait runs out.
    std::thread caller([&] {
      EXPECT_EQ(socket.Write(Stream(kRequest.data(), kRequest.size())), kOk);
      Stream reply;
      EXPECT_EQ(socket.ReadReply(reply, 200ms), kTimeout);
    });
    EXPECT_EQ(server.Receive(kRequest.size()), kRequest);
    server.Send(NumberedEvent(n));
    caller.join();
    server.Send(NumberedEvent(static_cast<std::uint8_t>(n + 10)));
    ASSERT_TRUE(Eventually([&] { return socket.RecvQueue().EventCount() == 2; })) << n;
    EXPECT_EQ(EventsIn(socket.RecvQueue()), (std::vector<int>{n, n + 10}));
  }
  socket.StopService();
}

// A process with many files open gets descriptor numbers past 1024, where a select()-based
// loop would write outside its descriptor set.
TEST_F(SocketServiceTest, WorksOnDescriptorsPast1024) {
  std::vector<int> held;
  while (held.empty() || held.back() < 1100) {
    const int fd = ::dup(0);
    if (fd < 0) GTEST_SKIP() << "cannot open enough descriptors here";
    held.push_back(fd);
  }
  socket.SetHeartbeatLimit(60000);
  StartAndAccept();
  EXPECT_EQ(socket.Write(Stream(kRequest.data(), kRequest.size())), kOk);
  EXPECT_EQ(server.Receive(kRequest.size()), kRequest);
  server.Send(kReply);
  Stream reply;
  EXPECT_EQ(socket.RecvQueue().ReadReply(reply, 5s), kOk);
  socket.StopService();
  for (const int fd : held) ::close(fd);
}

}  // namespace
}  // namespace vomtel
