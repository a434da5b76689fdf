// The web stand-in reads requests from any local client: whole ones are printed as they came,
// partial ones wait for more, and anything malformed or oversized is refused with a reason.
#include "tools/websim/http_request.h"

#include <gtest/gtest.h>

#include <string>

namespace websim {
namespace {

TEST(HttpRequest, AWholeRequestWithItsBody) {
  const std::string text =
      "POST /rec/start?dn=1001 HTTP/1.1\r\nHost: x\r\ncontent-length: 5\r\n\r\nab\x01\\d";
  HttpRequest r;
  std::string error;
  ASSERT_EQ(ParseHttpRequest(text, &r, &error), ParseState::kDone) << error;
  EXPECT_EQ(r.method, "POST");
  EXPECT_EQ(r.target, "/rec/start?dn=1001");
  EXPECT_EQ(r.version, "HTTP/1.1");
  EXPECT_EQ(r.body, "ab\x01\\d");
  EXPECT_EQ(Printable(r.body), "ab\\x01\\x5cd");
}

TEST(HttpRequest, WaitsUntilHeadAndBodyAreWhole) {
  const std::string text = "POST / HTTP/1.0\r\nContent-Length: 4\r\n\r\nabcd";
  for (std::size_t n = 0; n < text.size(); ++n) {
    HttpRequest r;
    std::string error;
    EXPECT_EQ(ParseHttpRequest(text.substr(0, n), &r, &error), ParseState::kNeedMore) << n;
  }
}

TEST(HttpRequest, RefusesMalformedAndOversized) {
  struct Case {
    const char* name;
    std::string text;
  };
  const Case cases[] = {
      {"no version", "GET /\r\n\r\n"},
      {"not http", "GET / FTP/1.0\r\n\r\n"},
      {"empty method", " / HTTP/1.1\r\n\r\n"},
      {"header without colon", "GET / HTTP/1.1\r\nHost\r\n\r\n"},
      {"chunked", "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n"},
      {"length not a number", "POST / HTTP/1.1\r\nContent-Length: 1x\r\n\r\n"},
      {"length negative", "POST / HTTP/1.1\r\nContent-Length: -1\r\n\r\n"},
      {"length overflowing", "POST / HTTP/1.1\r\nContent-Length: 99999999999999999999\r\n\r\n"},
      {"body too big", "POST / HTTP/1.1\r\nContent-Length: " + std::to_string(kMaxBodyBytes + 1) +
                           "\r\n\r\n"},
      {"head never ends", "GET / HTTP/1.1\r\nX: " + std::string(kMaxHeadBytes, 'a')},
  };
  for (const Case& c : cases) {
    HttpRequest r;
    std::string error;
    EXPECT_EQ(ParseHttpRequest(c.text, &r, &error), ParseState::kBad) << c.name;
    EXPECT_FALSE(error.empty()) << c.name;
  }
}

}  // namespace
}  // namespace websim
