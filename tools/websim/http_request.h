// One HTTP/1.x request as the web stand-in reads it: the request line, the headers and a body
// of Content-Length bytes, each bounded.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace websim {

inline constexpr std::size_t kMaxHeadBytes = 16384;
inline constexpr std::size_t kMaxBodyBytes = 1 << 20;

struct HttpRequest {
  std::string method;
  std::string target;
  std::string version;
  std::string body;
};

enum class ParseState {
  kNeedMore,  // the request is not whole yet
  kDone,      // `request` holds it
  kBad        // not a request of the accepted form; `error` says why
};

// Parses the bytes received so far on one connection.
ParseState ParseHttpRequest(std::string_view received, HttpRequest* request, std::string* error);

// The bytes with control characters and backslashes as \xNN, for one log line.
std::string Printable(std::string_view bytes);

}  // namespace websim
