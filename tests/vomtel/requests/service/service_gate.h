// The service request tests run on the call requests' simulator gate (one session, short
// timings, a log folder of its own); this adds the reply layouts that only service requests use.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/ctisim/frame.h"
#include "tools/ctisim/reply_rule.h"
#include "vomtel/requests/call/call_gate.h"

namespace vomtel::test {

using ctisim::Bytes;
using ctisim::Frame;

// An outbound reply as those requests read it from the first byte: A2, length, the class
// byte, the invoke number at bytes 4-5, then `data` from byte 6.
inline ctisim::ReplyRule OutboundReply(std::uint16_t invoke, Bytes data) {
  ctisim::ReplyRule rule;
  rule.hook = [invoke, data](const ctisim::Request& request) {
    return std::vector<Bytes>{
        ctisim::LengthFramed(0xA2, Frame().PutU8(request.cls).PutU16(invoke).PutBytes(data).Take())};
  };
  return rule;
}

// A reply in the common layout: the result word, the request's number, data from byte 14.
inline ctisim::ReplyRule Reply(std::uint32_t result, Bytes data = {}) {
  ctisim::ReplyRule rule;
  rule.result = result;
  rule.data = std::move(data);
  return rule;
}

// A list frame's content as the directory readers read it: bytes 3-13 of a reply head, then
// the agent.
inline Bytes ListContent(const Bytes& agent) {
  return Frame().PutU8(0x45).PutU8(0xC2).PutU8(0).PutU16(0).PutU32(1).PutU16(0).PutBytes(agent).Take();
}

// A reply with result 1 whose agents' list frames are queued ahead of it.
inline ctisim::ReplyRule ListsThenReplyRule(std::vector<Bytes> agents, std::uint32_t result = 1,
                                            Bytes data = {}) {
  ctisim::ReplyRule rule;
  rule.hook = [=](const ctisim::Request& request) {
    std::vector<Bytes> frames;
    for (const Bytes& agent : agents) frames.push_back(ctisim::ListFrame(ListContent(agent)));
    frames.push_back(ctisim::ReplyFrame({request.cls, request.code, 0, 0}, result, request.number, data));
    return frames;
  };
  return rule;
}

}  // namespace vomtel::test
