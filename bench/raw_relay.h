// Two hand-offs around the raw ping-pong of raw_ping_pong.h: the socket is owned by an I/O
// thread as a session's service thread owns its own. The caller hands the request over through
// an eventfd in the thread's poll set and waits on a condition variable for the reply; nothing
// else is done. (A request through the session makes the second hand-off only: its caller
// sends the frame itself when nothing is pending.)
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace vomtel::bench {

class RawRelayClient {
 public:
  RawRelayClient(std::uint16_t port, std::size_t requestSize, std::size_t replySize);
  ~RawRelayClient();
  RawRelayClient(const RawRelayClient&) = delete;
  RawRelayClient& operator=(const RawRelayClient&) = delete;

  bool ok() const { return fd_ >= 0 && wake_fd_ >= 0; }
  // Hands one request to the I/O thread and waits for its whole reply; false when the link
  // failed or no reply came within a second.
  bool Exchange();

 private:
  void Run();

  int fd_ = -1;
  int wake_fd_ = -1;
  std::vector<std::uint8_t> request_;
  std::vector<std::uint8_t> reply_;
  std::size_t received_ = 0;

  std::mutex mutex_;
  std::condition_variable replied_;
  bool pending_ = false;  // a request waits to be sent
  bool done_ = false;     // its reply is in
  bool failed_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace vomtel::bench
