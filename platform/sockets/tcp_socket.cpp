#include "platform/sockets/tcp_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "platform/sockets/poll_wait.h"

namespace vomtel {

int TcpConnect(const std::string& ip, std::uint16_t port, std::chrono::milliseconds timeout,
               int* error) {
  const auto failed = [error](int cause, int fd) {
    if (error != nullptr) *error = cause;
    if (fd >= 0) ::close(fd);
    return kNoSocket;
  };
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  if (::inet_pton(AF_INET, ip.c_str(), &address.sin_addr) != 1) return failed(EINVAL, -1);

  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return failed(errno, -1);

  int result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  if (result == 0) return fd;
  if (errno != EINPROGRESS && errno != EINTR) return failed(errno, fd);
  // The handshake goes on in the background; writable means it has ended, well or not.
  const PollOutcome outcome = PollSocket(fd, true, -1, timeout);
  if (outcome.status == 0) return failed(ETIMEDOUT, fd);
  int cause = 0;
  socklen_t size = sizeof cause;
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &cause, &size) != 0) return failed(errno, fd);
  if (cause != 0) return failed(cause, fd);
  if (outcome.status != 1 || !outcome.writable) return failed(EIO, fd);
  return fd;
}

int SocketSend(int fd, const std::uint8_t* data, int count) {
  if (fd < 0 || count < 0) return -1;
  int done = 0;
  while (done < count) {
    const ssize_t sent = ::send(fd, data + done, static_cast<std::size_t>(count - done), MSG_NOSIGNAL);
    if (sent < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) return done;
      return -1;
    }
    if (sent == 0) return done;
    done += static_cast<int>(sent);
  }
  return done;
}

int SocketReceive(int fd, std::uint8_t* buffer, int count) {
  if (fd < 0 || count < 0) return -1;
  int done = 0;
  while (done < count) {
    const ssize_t got = ::recv(fd, buffer + done, static_cast<std::size_t>(count - done), 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) return done;
      return -1;
    }
    // The peer closed the connection: what came before its end is still handed out, and the
    // next call reports the end.
    if (got == 0) return done > 0 ? done : -1;
    done += static_cast<int>(got);
    // Less than asked for: the socket held no more a moment ago. Asking again would only find
    // it empty (and cost a call); what comes meanwhile shows in the next poll.
    if (done < count) return done;
  }
  return done;
}

void SocketShutdown(int fd) noexcept {
  if (fd >= 0) ::shutdown(fd, SHUT_RDWR);
}

void SocketCloseAbortive(int fd) noexcept {
  if (fd < 0) return;
  linger option{};
  option.l_onoff = 1;
  option.l_linger = 0;
  ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &option, sizeof option);
  ::close(fd);
}

}  // namespace vomtel
