// HTTP GET requests, asynchronous: Get returns at once and `done` runs later on the same
// thread, exactly once, unless the client is destroyed first (then it never runs).
#pragma once

#include <functional>
#include <string>

namespace agentphone {

struct HttpRequest {
  std::string url;   // as built; blanks go on the wire as %20, nothing else is encoded
  std::string body;  // sent with the GET (empty: none)
};

struct HttpResult {
  bool ok = false;    // the server answered (whatever its status)
  std::string error;  // when not ok: what failed, for the program's log
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  virtual void Get(const HttpRequest& request, std::function<void(const HttpResult&)> done) = 0;
};

// The description logged when a request ran out of its time.
inline constexpr const char* kHttpTimeoutText = "The operation timed out";

}  // namespace agentphone
