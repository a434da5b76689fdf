#include "vomtel/core/tcp_channel.h"

#include "platform/sockets/tcp_socket.h"

namespace vomtel {

CTcpChannel::~CTcpChannel() { Close(); }

bool CTcpChannel::Connect(const std::string& ip, std::uint16_t port,
                          std::chrono::milliseconds timeout, int* error) {
  Close();
  const int fd = TcpConnect(ip, port, timeout, error);
  if (fd < 0) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  fd_ = fd;
  return true;
}

int CTcpChannel::SendSome(const std::uint8_t* data, int count) {
  const int fd = Fd();
  return fd < 0 ? -1 : SocketSend(fd, data, count);
}

int CTcpChannel::ReceiveSome(std::uint8_t* buffer, int count) {
  const int fd = Fd();
  return fd < 0 ? -1 : SocketReceive(fd, buffer, count);
}

void CTcpChannel::Shutdown() noexcept {
  std::lock_guard<std::mutex> lock(mutex_);
  SocketShutdown(fd_);
}

void CTcpChannel::Close() noexcept {
  std::lock_guard<std::mutex> lock(mutex_);
  SocketCloseAbortive(fd_);
  fd_ = kNoSocket;
}

int CTcpChannel::Fd() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return fd_;
}

}  // namespace vomtel
