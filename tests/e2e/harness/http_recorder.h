// A local web server standing in for the customer and recording servers: it keeps every
// request exactly as it arrived (request line, headers, body by Content-Length), answers each
// with an empty 200 and closes the connection; a connection that sends nothing in 5 s is closed
// unanswered. One thread serves all connections; the destructor joins it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace desk {

struct HttpRequest {
  std::string method;
  std::string target;  // as on the request line, byte for byte
  std::string head;    // request line and headers, up to the empty line
  std::string body;
};

class HttpRecorder {
 public:
  HttpRecorder();  // listening on 127.0.0.1 at a free port when it returns
  ~HttpRecorder();
  HttpRecorder(const HttpRecorder&) = delete;
  HttpRecorder& operator=(const HttpRecorder&) = delete;

  std::uint16_t Port() const { return port_; }
  std::string BaseUrl() const;  // "http://127.0.0.1:PORT"

  std::vector<HttpRequest> Requests() const;
  // The nth (1-based) request for which `match` holds, waiting up to `timeout`.
  std::optional<HttpRequest> WaitFor(const std::function<bool(const HttpRequest&)>& match,
                                     std::chrono::milliseconds timeout, std::size_t nth = 1);
  bool WaitForCount(std::size_t count, std::chrono::milliseconds timeout);

 private:
  void Run();

  int listen_fd_ = -1;
  int wake_[2] = {-1, -1};
  std::uint16_t port_ = 0;
  mutable std::mutex mu_;
  std::condition_variable changed_;
  std::vector<HttpRequest> requests_;
  std::thread thread_;
};

}  // namespace desk
