#include "tools/websim/http_request.h"

#include <cctype>
#include <cstdio>

namespace websim {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

}  // namespace

ParseState ParseHttpRequest(std::string_view received, HttpRequest* request, std::string* error) {
  const std::size_t head_end = received.find("\r\n\r\n");
  if (head_end == std::string_view::npos) {
    if (received.size() > kMaxHeadBytes) {
      *error = "request head over " + std::to_string(kMaxHeadBytes) + " bytes";
      return ParseState::kBad;
    }
    return ParseState::kNeedMore;
  }
  if (head_end > kMaxHeadBytes) {
    *error = "request head over " + std::to_string(kMaxHeadBytes) + " bytes";
    return ParseState::kBad;
  }
  const std::string_view head = received.substr(0, head_end);
  const std::size_t line_end = head.find("\r\n");
  const std::string_view line = head.substr(0, line_end);
  const std::size_t sp1 = line.find(' ');
  const std::size_t sp2 = sp1 == std::string_view::npos ? sp1 : line.find(' ', sp1 + 1);
  if (sp1 == std::string_view::npos || sp2 == std::string_view::npos || sp1 == 0 ||
      sp2 == sp1 + 1 || line.substr(sp2 + 1).rfind("HTTP/1.", 0) != 0) {
    *error = "not an HTTP/1.x request line: " + Printable(line);
    return ParseState::kBad;
  }
  HttpRequest out;
  out.method = std::string(line.substr(0, sp1));
  out.target = std::string(line.substr(sp1 + 1, sp2 - sp1 - 1));
  out.version = std::string(line.substr(sp2 + 1));

  std::size_t length = 0;
  std::size_t at = line_end == std::string_view::npos ? head.size() : line_end + 2;
  while (at < head.size()) {
    std::size_t end = head.find("\r\n", at);
    if (end == std::string_view::npos) end = head.size();
    const std::string_view header = head.substr(at, end - at);
    at = end + 2;
    const std::size_t colon = header.find(':');
    if (colon == std::string_view::npos) {
      *error = "a header without a colon: " + Printable(header);
      return ParseState::kBad;
    }
    const std::string_view name = Trim(header.substr(0, colon));
    const std::string_view value = Trim(header.substr(colon + 1));
    if (EqualsNoCase(name, "Transfer-Encoding")) {
      *error = "a chunked body is not read here";
      return ParseState::kBad;
    }
    if (EqualsNoCase(name, "Content-Length")) {
      if (value.empty() || value.size() > 9) {
        *error = "a bad Content-Length: " + Printable(value);
        return ParseState::kBad;
      }
      std::size_t n = 0;
      for (char c : value) {
        if (c < '0' || c > '9') {
          *error = "a bad Content-Length: " + Printable(value);
          return ParseState::kBad;
        }
        n = n * 10 + static_cast<std::size_t>(c - '0');
      }
      if (n > kMaxBodyBytes) {
        *error = "a body over " + std::to_string(kMaxBodyBytes) + " bytes";
        return ParseState::kBad;
      }
      length = n;
    }
  }
  const std::size_t body_at = head_end + 4;
  if (received.size() - body_at < length) return ParseState::kNeedMore;
  out.body = std::string(received.substr(body_at, length));
  *request = std::move(out);
  return ParseState::kDone;
}

std::string Printable(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char c : bytes) {
    if ((c >= 0x20 && c < 0x7F && c != '\\') || c >= 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    }
  }
  return out;
}

}  // namespace websim
