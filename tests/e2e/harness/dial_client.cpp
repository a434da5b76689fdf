#include "tests/e2e/harness/dial_client.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

namespace desk {
namespace {

constexpr int kReplyBars = 8;

int Remaining(std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  return static_cast<int>(std::max<std::int64_t>(left.count(), 0));
}

}  // namespace

DialClient::~DialClient() { Close(); }

void DialClient::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  pending_.clear();
}

bool DialClient::Connect(std::uint16_t port, std::chrono::milliseconds timeout) {
  Close();
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(port);
  auto pause = std::chrono::milliseconds(1);
  // The listener may not be up yet right after the program started: try until the deadline.
  for (;;) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
      const int one = 1;
      ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
      fd_ = fd;
      return true;
    }
    ::close(fd);
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(20));
  }
}

bool DialClient::Send(const std::string& bytes) {
  if (fd_ < 0) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  sentAt_ = std::chrono::steady_clock::now();
  return true;
}

bool DialClient::ShutdownSending() { return fd_ >= 0 && ::shutdown(fd_, SHUT_WR) == 0; }

std::optional<DialReply> DialClient::Read(std::chrono::milliseconds timeout) {
  if (fd_ < 0) return std::nullopt;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const auto bars = std::count(pending_.begin(), pending_.end(), '|');
    if (bars >= kReplyBars) {
      std::size_t end = 0;
      for (int seen = 0; seen < kReplyBars; ++end) {
        if (pending_[end] == '|') ++seen;
      }
      DialReply r;
      r.text = pending_.substr(0, end);
      pending_.erase(0, end);
      r.elapsed = std::chrono::steady_clock::now() - sentAt_;
      return r;
    }
    pollfd p{fd_, POLLIN, 0};
    const int ready = ::poll(&p, 1, Remaining(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return std::nullopt;
    char buf[4096];
    const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
    if (n > 0) {
      pending_.append(buf, static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    DialReply r;
    r.text = std::move(pending_);
    r.closed = true;
    r.elapsed = std::chrono::steady_clock::now() - sentAt_;
    Close();
    return r;
  }
}

std::optional<DialReply> DialClient::Ask(const std::string& request,
                                         std::chrono::milliseconds timeout) {
  if (!Send(request)) return std::nullopt;
  return Read(timeout);
}

std::string DialRequestText(const std::string& type, const std::string& number,
                            const std::string& customerKey, const std::string& tag) {
  return tag + "|" + type + "|XX|f3|f4|" + number + "|f6|" + customerKey + "|f8";
}

std::string ReplyField(const std::string& reply, std::size_t index) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < index; ++i) {
    start = reply.find('|', start);
    if (start == std::string::npos) return {};
    ++start;
  }
  const std::size_t end = reply.find('|', start);
  if (end == std::string::npos) return {};
  return reply.substr(start, end - start);
}

}  // namespace desk
