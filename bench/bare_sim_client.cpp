#include "bench/bare_sim_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <utility>

namespace vomtel::bench {
namespace {

constexpr std::size_t kHead = 3;  // first byte and 16-bit length

}  // namespace

BareSimClient::BareSimClient(std::uint16_t port, std::vector<std::uint8_t> request)
    : request_(std::move(request)) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return;
  }
  fd_ = fd;
}

BareSimClient::~BareSimClient() {
  if (fd_ >= 0) ::close(fd_);
}

bool BareSimClient::Exchange() {
  if (fd_ < 0) return false;
  for (std::size_t sent = 0; sent < request_.size();) {
    const ssize_t n = ::send(fd_, request_.data() + sent, request_.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  for (;;) {
    // Whole frames at the front: a reply ends the exchange, anything else is stepped over.
    while (input_.size() >= kHead) {
      const std::size_t size = kHead + (std::size_t{input_[1]} << 8 | input_[2]);
      if (input_.size() < size) break;
      const bool reply = input_[0] == 0xA2;
      input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(size));
      if (reply) return true;
    }
    std::uint8_t buffer[4096];
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    input_.insert(input_.end(), buffer, buffer + n);
  }
}

}  // namespace vomtel::bench
