#include "tools/ctisim/loopback_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace ctisim {

using Clock = std::chrono::steady_clock;

LoopbackClient::LoopbackClient(const std::string& address, std::uint16_t port) {
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(port);
  if (fd_ < 0 || inet_pton(AF_INET, address.c_str(), &sa.sin_addr) != 1 ||
      (ntohl(sa.sin_addr.s_addr) >> 24) != 127) {
    return;
  }
  int r;
  do {
    r = ::connect(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
  } while (r != 0 && errno == EINTR);
  connected_ = r == 0;
}

LoopbackClient::~LoopbackClient() {
  if (fd_ >= 0) ::close(fd_);
}

bool LoopbackClient::Write(const Bytes& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool LoopbackClient::ReadSome(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<Millis>(deadline - Clock::now()).count();
  pollfd p{fd_, POLLIN, 0};
  const int ready = ::poll(&p, 1, static_cast<int>(std::clamp<long long>(left, 0, 1 << 30)));
  if (ready <= 0) return true;
  std::uint8_t buffer[4096];
  const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
  if (n < 0 && errno == EINTR) return true;
  if (n <= 0) {
    closed_ = true;
    return false;
  }
  decoder_.Feed(buffer, static_cast<std::size_t>(n));
  ++reads_;
  return true;
}

std::optional<Bytes> LoopbackClient::ReadFrame(Millis timeout) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    if (auto f = decoder_.Next()) return f;
    if (closed_ || Clock::now() >= deadline || !ReadSome(deadline)) return std::nullopt;
  }
}

bool LoopbackClient::WaitClosed(Millis timeout) {
  const auto deadline = Clock::now() + timeout;
  while (!closed_ && Clock::now() < deadline) ReadSome(deadline);
  return closed_;
}

}  // namespace ctisim
