#include "bench/raw_ping_pong.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "bench/loopback_socket.h"

namespace vomtel::bench {

RawPingPongServer::RawPingPongServer(std::size_t requestSize, std::size_t replySize)
    : request_size_(requestSize), reply_size_(replySize) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return;
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd, 64) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(fd);
    return;
  }
  port_ = ntohs(address.sin_port);
  listen_fd_ = fd;
  acceptor_ = std::thread(&RawPingPongServer::Accept, this);
}

RawPingPongServer::~RawPingPongServer() {
  if (listen_fd_ < 0) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    ::shutdown(listen_fd_, SHUT_RDWR);  // wakes the blocked accept
    for (const int fd : fds_) ::shutdown(fd, SHUT_RDWR);
  }
  acceptor_.join();
  for (std::thread& server : servers_) server.join();
  for (const int fd : fds_) ::close(fd);
  ::close(listen_fd_);
}

void RawPingPongServer::Accept() {
  for (;;) {
    const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0 && errno == EINTR) continue;
    std::lock_guard<std::mutex> lock(mutex_);
    if (fd < 0 || stopping_) {
      if (fd >= 0) ::close(fd);
      return;
    }
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);  // as the simulator does
    fds_.push_back(fd);
    servers_.emplace_back(&RawPingPongServer::Serve, this, fd);
  }
}

void RawPingPongServer::Serve(int fd) {
  std::vector<std::uint8_t> request(request_size_);
  const std::vector<std::uint8_t> reply(reply_size_, 0xA2);
  while (ReadAll(fd, request.data(), request.size()) && WriteAll(fd, reply.data(), reply.size())) {
  }
  ::shutdown(fd, SHUT_RDWR);
}

RawPingPongClient::RawPingPongClient(std::uint16_t port, std::size_t requestSize,
                                     std::size_t replySize, ReplyWait wait)
    : wait_(wait), request_(requestSize, 0xA1), reply_(replySize) {
  fd_ = ConnectLoopback(port);
  if (fd_ < 0 || wait_ == ReplyWait::kBlockingRead) return;
  ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
  if (wait_ != ReplyWait::kOutOfEpollSet) return;
  epoll_fd_ = ::epoll_create1(EPOLL_CLOEXEC);
  epoll_event event{};
  event.events = EPOLLIN;
  if (epoll_fd_ >= 0 && ::epoll_ctl(epoll_fd_, EPOLL_CTL_ADD, fd_, &event) != 0) {
    ::close(epoll_fd_);
    epoll_fd_ = -1;
  }
}

RawPingPongClient::~RawPingPongClient() {
  if (epoll_fd_ >= 0) ::close(epoll_fd_);
  if (fd_ >= 0) ::close(fd_);
}

bool RawPingPongClient::Exchange() {
  if (!ok() || !WriteAll(fd_, request_.data(), request_.size())) return false;
  switch (wait_) {
    case ReplyWait::kBlockingRead:
      return ReadAll(fd_, reply_.data(), reply_.size());
    case ReplyWait::kPollThenRead:
      return PollAndRead();
    case ReplyWait::kOutOfEpollSet: {
      ::epoll_ctl(epoll_fd_, EPOLL_CTL_DEL, fd_, nullptr);
      const bool read = PollAndRead();
      epoll_event event{};
      event.events = EPOLLIN;
      ::epoll_ctl(epoll_fd_, EPOLL_CTL_ADD, fd_, &event);
      return read;
    }
  }
  return false;
}

bool RawPingPongClient::PollAndRead() {
  std::size_t done = 0;
  while (done < reply_.size()) {
    pollfd wait{fd_, POLLIN, 0};
    if (::poll(&wait, 1, 1000) != 1) return false;
    const ssize_t n = ::recv(fd_, reply_.data() + done, reply_.size() - done, 0);
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return false;
    if (n > 0) done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace vomtel::bench
