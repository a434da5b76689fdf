#include "bench/raw_relay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "bench/loopback_socket.h"

namespace vomtel::bench {
namespace {

constexpr auto kReplyWait = std::chrono::seconds(1);
constexpr int kPollMs = 100;  // bounds one pass, as the session's select time-out does

void Signal(int fd) {
  const std::uint64_t one = 1;
  while (::write(fd, &one, sizeof one) < 0 && errno == EINTR) {
  }
}

void Drain(int fd) {
  std::uint64_t count = 0;
  while (::read(fd, &count, sizeof count) < 0 && errno == EINTR) {
  }
}

}  // namespace

RawRelayClient::RawRelayClient(std::uint16_t port, std::size_t requestSize, std::size_t replySize)
    : request_(requestSize, 0xA1), reply_(replySize) {
  const int fd = ConnectLoopback(port);
  if (fd < 0) return;
  wake_fd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (wake_fd_ < 0) {
    ::close(fd);
    return;
  }
  fd_ = fd;
  thread_ = std::thread(&RawRelayClient::Run, this);
}

RawRelayClient::~RawRelayClient() {
  if (thread_.joinable()) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    Signal(wake_fd_);
    thread_.join();
  }
  if (fd_ >= 0) ::close(fd_);
  if (wake_fd_ >= 0) ::close(wake_fd_);
}

bool RawRelayClient::Exchange() {
  if (!ok()) return false;
  std::unique_lock<std::mutex> lock(mutex_);
  pending_ = true;
  done_ = false;
  lock.unlock();
  Signal(wake_fd_);
  lock.lock();
  const bool replied = replied_.wait_for(lock, kReplyWait, [&] { return done_ || failed_; });
  return replied && done_;
}

void RawRelayClient::Run() {
  for (;;) {
    pollfd fds[2] = {{fd_, POLLIN, 0}, {wake_fd_, POLLIN, 0}};
    const int ready = ::poll(fds, 2, kPollMs);
    if (ready < 0 && errno != EINTR) break;
    if (fds[1].revents & POLLIN) Drain(wake_fd_);
    bool send = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stopping_) return;
      send = pending_;
      pending_ = false;
    }
    if (send && ::send(fd_, request_.data(), request_.size(), MSG_NOSIGNAL) !=
                    static_cast<ssize_t>(request_.size())) {
      break;
    }
    if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
      const ssize_t n = ::recv(fd_, reply_.data() + received_, reply_.size() - received_, 0);
      if (n <= 0 && !(n < 0 && errno == EINTR)) break;
      if (n > 0) received_ += static_cast<std::size_t>(n);
      if (received_ == reply_.size()) {
        received_ = 0;
        {
          std::lock_guard<std::mutex> lock(mutex_);
          done_ = true;
        }
        replied_.notify_all();
      }
    }
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    failed_ = true;
  }
  replied_.notify_all();
}

}  // namespace vomtel::bench
