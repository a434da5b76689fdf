#include "bench/bare_sim_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <utility>

#include "bench/loopback_socket.h"

namespace vomtel::bench {
namespace {

constexpr std::size_t kHead = 3;  // first byte and 16-bit length

}  // namespace

BareSimClient::BareSimClient(std::uint16_t port, std::vector<std::uint8_t> request)
    : request_(std::move(request)) {
  fd_ = ConnectLoopback(port);
}

BareSimClient::~BareSimClient() {
  if (fd_ >= 0) ::close(fd_);
}

bool BareSimClient::Exchange() {
  if (fd_ < 0) return false;
  if (!WriteAll(fd_, request_.data(), request_.size())) return false;
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
