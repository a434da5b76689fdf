#include "agentphone/core/dial_server/dial_request.h"

#include "agentphone/core/text_routines.h"

namespace agentphone {

DialRequestType DialRequest::Type() const {
  return Trim(field[1]) == "SP-100" ? DialRequestType::Sp100 : DialRequestType::Sp210;
}

std::optional<DialRequest> ParseDialRequest(std::string_view received) {
  DialRequest request;
  std::size_t start = 0;
  for (std::size_t i = 0; i < kDialRequestFields; ++i) {
    const std::size_t bar = received.find('|', start);
    if (bar == std::string_view::npos) {
      // the last field needs no bar after it; any other missing bar means too few fields
      if (i + 1 < kDialRequestFields) return std::nullopt;
      request.field[i] = std::string(received.substr(start));
      return request;
    }
    request.field[i] = std::string(received.substr(start, bar - start));
    start = bar + 1;
  }
  return request;
}

std::string PrepareDialNumber(std::string_view number, DialRequestType type) {
  const char prefix = type == DialRequestType::Sp100 ? '0' : '8';
  std::string n = OnlyDigits(number);
  if (n.starts_with("02")) n.erase(0, 2);
  if (n.size() < 5) return n;
  if (n.starts_with("02")) return prefix + n.substr(2);
  return prefix + n;
}

std::string BuildDialReply(const DialRequest& request, std::string_view code) {
  std::string reply;
  auto add = [&reply](std::string_view f) {
    reply.append(f);
    reply.push_back('|');
  };
  add(request.field[0]);
  add(request.Type() == DialRequestType::Sp100 ? "SP-110" : "SP-210");
  add(code);
  for (std::size_t i = 3; i <= 7; ++i) add(request.field[i]);
  return reply;
}

}  // namespace agentphone
