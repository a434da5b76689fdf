#include "tests/agentphone/net/loopback_client.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace agentphone::net_testing {

bool LoopbackClient::Connect(const std::string& address, uint16_t port) {
  Close();
  sockaddr_storage storage{};
  socklen_t length = 0;
  auto* v4 = reinterpret_cast<sockaddr_in*>(&storage);
  auto* v6 = reinterpret_cast<sockaddr_in6*>(&storage);
  if (::inet_pton(AF_INET, address.c_str(), &v4->sin_addr) == 1) {
    v4->sin_family = AF_INET;
    v4->sin_port = htons(port);
    length = sizeof *v4;
  } else if (::inet_pton(AF_INET6, address.c_str(), &v6->sin6_addr) == 1) {
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(port);
    length = sizeof *v6;
  } else {
    errno = EINVAL;
    return false;
  }
  fd_ = ::socket(storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return false;
  if (::connect(fd_, reinterpret_cast<sockaddr*>(&storage), length) == 0) {
    connected_ = true;
    return true;
  }
  return errno == EINPROGRESS;
}

int LoopbackClient::ConnectState() {
  if (fd_ < 0) return EBADF;
  if (connected_) return 0;
  pollfd p{fd_, POLLOUT, 0};
  if (::poll(&p, 1, 0) == 0) return EINPROGRESS;
  int error = 0;
  socklen_t len = sizeof error;
  if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &len) != 0) return errno;
  connected_ = error == 0;
  return error;
}

long LoopbackClient::SendSome(std::string_view bytes) {
  if (fd_ < 0) {
    errno = EBADF;
    return -1;
  }
  const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return 0;
  return static_cast<long>(n);
}

bool LoopbackClient::ShutdownSending() { return fd_ >= 0 && ::shutdown(fd_, SHUT_WR) == 0; }

bool LoopbackClient::Poll() {
  if (fd_ < 0 || peerClosed_) return false;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n > 0) {
      received_.append(buffer, static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    if (n < 0 && errno == EINTR) continue;
    peerClosed_ = true;  // an orderly end or a reset
    return false;
  }
}

void LoopbackClient::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  connected_ = false;
}

int OpenDescriptors() {
  int n = 0;
  std::error_code ec;
  for (auto it = std::filesystem::directory_iterator("/proc/self/fd", ec);
       !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    ++n;
  }
  return n;
}

}  // namespace agentphone::net_testing
