// The dial-request parser and reply over arbitrary reads: no crash, and a parsed request's
// reply always has eight fields.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "agentphone/core/dial_server/dial_request.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  auto request = agentphone::ParseDialRequest(text);
  if (!request) return 0;
  (void)agentphone::PrepareDialNumber(request->Number(), request->Type());
  const std::string reply = agentphone::BuildDialReply(*request, "00");
  if (reply.empty() || reply.back() != '|') std::abort();
  return 0;
}
