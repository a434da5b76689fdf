// websim: the web servers of a demo desk in one small program. It listens on a loopback
// address, prints every HTTP request it receives (its request line, then its body if it has
// one) and answers each with 200 and a short page, one request per connection.
//
//   websim [--address 127.0.0.1] [--port N] [--timeout-ms N]
//
// Output, one line each, flushed at once:
//   websim listening on ADDRESS:PORT
//   websim: METHOD TARGET VERSION
//   websim:   body N bytes: TEXT
//   websim: bad request: WHY
//   websim stopped
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/websim/http_request.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Args {
  std::string address = "127.0.0.1";
  unsigned long port = 0;
  long timeout_ms = 5000;  // how long one connection may take to send its request
  bool help = false;
};

void Usage(std::FILE* out) {
  std::fprintf(out,
               "usage: websim [OPTION]...\n"
               "  --address ADDRESS   loopback address to listen on: 127.x.y.z or localhost"
               " (default 127.0.0.1)\n"
               "  --port N            port to listen on; 0 picks a free one (default 0)\n"
               "  --timeout-ms N      milliseconds a client may take to send its request"
               " (default 5000)\n"
               "  --help              print this help and exit\n");
}

bool Parse(int argc, char** argv, Args* args) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
    char* end = nullptr;
    if (a == "--help") {
      args->help = true;
    } else if (a == "--address" && v) {
      args->address = std::strcmp(v, "localhost") == 0 ? "127.0.0.1" : v;
      ++i;
    } else if (a == "--port" && v) {
      args->port = std::strtoul(v, &end, 10);
      if (*v == '\0' || *end != '\0' || args->port > 65535) return false;
      ++i;
    } else if (a == "--timeout-ms" && v) {
      args->timeout_ms = std::strtol(v, &end, 10);
      if (*v == '\0' || *end != '\0' || args->timeout_ms <= 0) return false;
      ++i;
    } else {
      return false;
    }
  }
  return true;
}

// Closes its descriptor.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

void Print(const std::string& line) {
  std::printf("websim: %s\n", line.c_str());
  std::fflush(stdout);
}

void Reply(int fd, const char* status, const std::string& text) {
  const std::string page = "<html><body>" + text + "</body></html>\n";
  const std::string out = std::string("HTTP/1.1 ") + status +
                          "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                          std::to_string(page.size()) + "\r\nConnection: close\r\n\r\n" + page;
  std::size_t sent = 0;
  while (sent < out.size()) {
    const ssize_t n = ::send(fd, out.data() + sent, out.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    sent += static_cast<std::size_t>(n);
  }
}

// Reads one request within the deadline, prints it and answers it.
void Serve(int fd, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  std::string received;
  for (;;) {
    websim::HttpRequest request;
    std::string error;
    switch (websim::ParseHttpRequest(received, &request, &error)) {
      case websim::ParseState::kDone:
        Print(request.method + " " + websim::Printable(request.target) + " " + request.version);
        if (!request.body.empty()) {
          Print("  body " + std::to_string(request.body.size()) +
                " bytes: " + websim::Printable(request.body));
        }
        Reply(fd, "200 OK", "websim: " + request.method + " received");
        return;
      case websim::ParseState::kBad:
        Print("bad request: " + error);
        Reply(fd, "400 Bad Request", "bad request");
        return;
      case websim::ParseState::kNeedMore:
        break;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) {
      Print("bad request: none within " + std::to_string(timeout.count()) + " ms" +
            (received.empty() ? "" : " (" + std::to_string(received.size()) + " bytes came)"));
      return;
    }
    pollfd p{fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno != EINTR) return;
    if (ready <= 0) continue;
    char chunk[8192];
    const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (!received.empty()) Print("bad request: the client left before its request was whole");
      return;
    }
    received.append(chunk, static_cast<std::size_t>(n));
  }
}

}  // namespace

int main(int argc, char** argv) {
  Args args;
  if (!Parse(argc, argv, &args)) {
    Usage(stderr);
    return 2;
  }
  if (args.help) {
    Usage(stdout);
    return 0;
  }
  in_addr addr{};
  if (inet_pton(AF_INET, args.address.c_str(), &addr) != 1 || (ntohl(addr.s_addr) >> 24) != 127) {
    std::fprintf(stderr, "websim: not a loopback address: %s\n", args.address.c_str());
    return 2;
  }
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigprocmask(SIG_BLOCK, &signals, nullptr);
  Fd stop(signalfd(-1, &signals, SFD_CLOEXEC));

  Fd listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  const int on = 1;
  ::setsockopt(listener.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr = addr;
  sa.sin_port = htons(static_cast<std::uint16_t>(args.port));
  if (listener.get() < 0 || stop.get() < 0 ||
      ::bind(listener.get(), reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 ||
      ::listen(listener.get(), 64) != 0) {
    std::fprintf(stderr, "websim: cannot listen on %s:%lu: %s\n", args.address.c_str(), args.port,
                 std::strerror(errno));
    return 1;
  }
  socklen_t len = sizeof sa;
  ::getsockname(listener.get(), reinterpret_cast<sockaddr*>(&sa), &len);
  std::printf("websim listening on %s:%u\n", args.address.c_str(), ntohs(sa.sin_port));
  std::fflush(stdout);

  for (;;) {
    pollfd fds[2] = {{listener.get(), POLLIN, 0}, {stop.get(), POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[1].revents != 0) break;
    if (fds[0].revents == 0) continue;
    Fd client(::accept4(listener.get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (client.get() >= 0) Serve(client.get(), std::chrono::milliseconds(args.timeout_ms));
  }
  std::printf("websim stopped\n");
  return 0;
}
