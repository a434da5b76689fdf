#include "tests/e2e/harness/http_recorder.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <stdexcept>

namespace desk {
namespace {

constexpr std::size_t kMaxRequest = 1 << 20;  // a request larger than this is cut off
// A connection that sends no byte for this long is closed, as a web server ends an idle
// connection. A web client may open a spare connection that no request comes
// through (its request went out on another one); left open it would stay for minutes.
constexpr std::chrono::milliseconds kIdleLimit{5000};
constexpr char kAnswer[] =
    "HTTP/1.1 200 OK\r\nContent-Length: 0\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n";

struct Pending {
  std::string bytes;
  std::chrono::steady_clock::time_point last = std::chrono::steady_clock::now();
};

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// A whole request in `bytes`: its parts; nothing while more must come.
std::optional<HttpRequest> Parse(const std::string& bytes, bool ended) {
  const std::size_t end = bytes.find("\r\n\r\n");
  if (end == std::string::npos) {
    if (!ended) return std::nullopt;
    HttpRequest cut;
    cut.head = bytes;
    return cut;
  }
  HttpRequest r;
  r.head = bytes.substr(0, end);
  const std::size_t lineEnd = r.head.find("\r\n");
  const std::string line = r.head.substr(0, lineEnd);
  const std::size_t sp1 = line.find(' ');
  const std::size_t sp2 = line.rfind(' ');
  if (sp1 != std::string::npos) {
    r.method = line.substr(0, sp1);
    r.target = sp2 > sp1 ? line.substr(sp1 + 1, sp2 - sp1 - 1) : line.substr(sp1 + 1);
  }
  std::size_t length = 0;
  const std::string lower = Lower(r.head);
  const std::size_t cl = lower.find("\r\ncontent-length:");
  if (cl != std::string::npos) {
    length = std::strtoul(lower.c_str() + cl + 17, nullptr, 10);
  }
  const std::size_t have = bytes.size() - (end + 4);
  if (have < length && !ended) return std::nullopt;
  r.body = bytes.substr(end + 4, std::min(have, length));
  return r;
}

}  // namespace

HttpRecorder::HttpRecorder() {
  listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  if (listen_fd_ < 0 || ::bind(listen_fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::listen(listen_fd_, 64) != 0 ||
      ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0 ||
      ::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) {
    if (listen_fd_ >= 0) ::close(listen_fd_);
    throw std::runtime_error("the web recorder cannot listen");
  }
  port_ = ntohs(addr.sin_port);
  thread_ = std::thread([this] { Run(); });
}

HttpRecorder::~HttpRecorder() {
  const char stop = 1;
  ssize_t ignored = ::write(wake_[1], &stop, 1);
  (void)ignored;
  thread_.join();
  ::close(listen_fd_);
  ::close(wake_[0]);
  ::close(wake_[1]);
}

std::string HttpRecorder::BaseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }

void HttpRecorder::Run() {
  std::map<int, Pending> open;
  for (;;) {
    std::vector<pollfd> fds{{wake_[0], POLLIN, 0}, {listen_fd_, POLLIN, 0}};
    int timeout = -1;
    const auto now = std::chrono::steady_clock::now();
    for (auto it = open.begin(); it != open.end();) {
      if (it->second.bytes.empty()) {
        const auto idle =
            std::chrono::duration_cast<std::chrono::milliseconds>(now - it->second.last);
        if (idle >= kIdleLimit) {
          ::close(it->first);
          it = open.erase(it);
          continue;
        }
        const int left = static_cast<int>((kIdleLimit - idle).count()) + 1;
        timeout = timeout < 0 ? left : std::min(timeout, left);
      }
      fds.push_back({it->first, POLLIN, 0});
      ++it;
    }
    if (::poll(fds.data(), fds.size(), timeout) < 0) continue;
    if (fds[0].revents != 0) break;
    if (fds[1].revents & POLLIN) {
      for (;;) {
        const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) break;
        open.emplace(fd, Pending{});
      }
    }
    for (std::size_t i = 2; i < fds.size(); ++i) {
      if (fds[i].revents == 0) continue;
      const int fd = fds[i].fd;
      Pending& p = open[fd];
      p.last = std::chrono::steady_clock::now();
      char buf[8192];
      bool ended = false;
      for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n > 0) {
          p.bytes.append(buf, static_cast<std::size_t>(n));
          if (p.bytes.size() >= kMaxRequest) ended = true;
          continue;
        }
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) ended = true;
        break;
      }
      std::optional<HttpRequest> r = Parse(p.bytes, ended);
      if (!r) continue;
      if (!r->head.empty()) {
        ssize_t ignored = ::send(fd, kAnswer, sizeof kAnswer - 1, MSG_NOSIGNAL);
        (void)ignored;
        std::lock_guard<std::mutex> lock(mu_);
        requests_.push_back(std::move(*r));
        changed_.notify_all();
      }
      ::close(fd);
      open.erase(fd);
    }
  }
  for (const auto& [fd, p] : open) ::close(fd);
}

std::vector<HttpRequest> HttpRecorder::Requests() const {
  std::lock_guard<std::mutex> lock(mu_);
  return requests_;
}

std::optional<HttpRequest> HttpRecorder::WaitFor(
    const std::function<bool(const HttpRequest&)>& match, std::chrono::milliseconds timeout,
    std::size_t nth) {
  std::unique_lock<std::mutex> lock(mu_);
  std::optional<HttpRequest> found;
  changed_.wait_for(lock, timeout, [&] {
    std::size_t seen = 0;
    for (const HttpRequest& r : requests_) {
      if (match(r) && ++seen == nth) {
        found = r;
        return true;
      }
    }
    return false;
  });
  return found;
}

bool HttpRecorder::WaitForCount(std::size_t count, std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mu_);
  return changed_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
}

}  // namespace desk
