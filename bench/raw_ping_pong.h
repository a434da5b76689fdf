// The reference of the latency figures: a plain TCP ping-pong over loopback, blocking sockets
// and one thread per side, exchanging frames of given sizes. Whatever the library adds on top
// of this is its own cost; this part is the loopback's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vomtel::bench {

// The server side: reads `requestSize` bytes and answers `replySize` bytes, over and over, on
// every connection it accepts (one thread each), until the client closes. Joined by the
// destructor.
class RawPingPongServer {
 public:
  RawPingPongServer(std::size_t requestSize, std::size_t replySize);
  ~RawPingPongServer();
  RawPingPongServer(const RawPingPongServer&) = delete;
  RawPingPongServer& operator=(const RawPingPongServer&) = delete;

  bool ok() const { return listen_fd_ >= 0; }
  std::uint16_t Port() const { return port_; }

 private:
  void Accept();
  void Serve(int fd);

  const std::size_t request_size_;
  const std::size_t reply_size_;
  int listen_fd_ = -1;
  std::uint16_t port_ = 0;
  std::mutex mutex_;
  bool stopping_ = false;
  std::vector<int> fds_;
  std::vector<std::thread> servers_;
  std::thread acceptor_;
};

// How the client waits for its reply: a blocking read; poll(2) and then a read of the
// non-blocking socket; or that, with the socket taken out of an epoll set before the wait and
// put back after the read (the system calls a library caller makes: its socket's service
// thread waits on that set).
enum class ReplyWait { kBlockingRead, kPollThenRead, kOutOfEpollSet };

// The client side: one connection, one exchange at a time.
class RawPingPongClient {
 public:
  RawPingPongClient(std::uint16_t port, std::size_t requestSize, std::size_t replySize,
                    ReplyWait wait = ReplyWait::kBlockingRead);
  ~RawPingPongClient();
  RawPingPongClient(const RawPingPongClient&) = delete;
  RawPingPongClient& operator=(const RawPingPongClient&) = delete;

  bool ok() const { return fd_ >= 0 && (wait_ != ReplyWait::kOutOfEpollSet || epoll_fd_ >= 0); }
  // Writes one request and reads its whole reply; false when the link failed.
  bool Exchange();

 private:
  bool PollAndRead();

  ReplyWait wait_;
  int fd_ = -1;
  int epoll_fd_ = -1;
  std::vector<std::uint8_t> request_;
  std::vector<std::uint8_t> reply_;
};

}  // namespace vomtel::bench
