#include "tools/ctisim/default_replies.h"

#include <array>
#include <string_view>

#include "tools/ctisim/frame_reader.h"

namespace ctisim {
namespace {

using namespace std::string_view_literals;

enum class Prefix {
  kRequest,  // session id, request number, fields
  kAnswer    // an answer to a server request: session id, server request id, request number
};

enum class Shape {
  kData,         // result 1, number echoed, then the row's data from byte 14
  kFromByte6,    // number at bytes 4-5, the row's result at 6-9, its data from byte 10
  kServiceWord,  // result 1; the request's first field (its service type) in the head word
  kNone          // no answer
};

struct Row {
  std::uint8_t cls;
  std::uint8_t code;
  Prefix prefix;
  Shape shape;
  std::uint32_t result;
  std::string_view data;
};

constexpr std::string_view kZero1 = "\0"sv;
constexpr std::string_view kZero2 = "\0\0"sv;
constexpr std::string_view kZero4 = "\0\0\0\0"sv;
constexpr std::string_view kZero8 = "\0\0\0\0\0\0\0\0"sv;

// The replies that carry data, and the requests answered otherwise than with result 1 and
// nothing after the head.
constexpr std::array kRows{
    // call control: the consultation call id (of a one-step conference)
    Row{0x41, 0x3C, Prefix::kRequest, Shape::kData, 1, kZero4},
    // monitor query: the monitor byte
    Row{0x42, 0x46, Prefix::kRequest, Shape::kData, 1, kZero1},
    // session: the close gets no answer
    Row{0x45, 0x1E, Prefix::kRequest, Shape::kNone, 0, {}},
    // number id of a call
    Row{0x45, 0x5F, Prefix::kRequest, Shape::kData, 1, kZero4},
    // agents of several devices: count
    Row{0x45, 0xE6, Prefix::kRequest, Shape::kData, 1, kZero2},
    // agents by skill (count u16) and agent count (u32)
    Row{0x45, 0x5D, Prefix::kRequest, Shape::kData, 1, kZero4},
    // ready rate (u32), also campaign removal (head only)
    Row{0x45, 0xFB, Prefix::kRequest, Shape::kData, 1, kZero4},
    // one agent's state: agent id, mode, dn, blend, block, time, type
    Row{0x45, 0x6E, Prefix::kRequest, Shape::kData, 1, "\0\0\0\0\0\0\0\0\0\0\0"sv},
    // wait times: two numbers
    Row{0x45, 0x82, Prefix::kRequest, Shape::kData, 1, kZero8},
    // UEI and CI texts
    Row{0x45, 0xAB, Prefix::kRequest, Shape::kData, 1, kZero4},
    // agent blocking: valid seconds and setter
    Row{0x45, 0xCB, Prefix::kRequest, Shape::kData, 1, kZero8},
    // waiting calls of a queue: queue text, count
    Row{0x45, 0x84, Prefix::kRequest, Shape::kData, 1, "\0\0\0\0\0"sv},
    // skill master: count
    Row{0x45, 0xD2, Prefix::kRequest, Shape::kData, 1, kZero2},
    // SQL query: row count, rows text
    Row{0x45, 0x5E, Prefix::kRequest, Shape::kData, 1, "\0\0\0\0\0\0"sv},
    // busy and ready agent lists: count
    Row{0x45, 0x97, Prefix::kRequest, Shape::kData, 1, kZero2},
    Row{0x45, 0x98, Prefix::kRequest, Shape::kData, 1, kZero2},
    Row{0x45, 0x60, Prefix::kRequest, Shape::kData, 1, kZero2},
    // agent states: one frame whose "more" byte says it is the last
    Row{0x45, 0xBE, Prefix::kRequest, Shape::kData, 1, kZero1},
    // agent directory with counts: read-count text, total count (no list frames)
    Row{0x45, 0xC7, Prefix::kRequest, Shape::kData, 1, "\0\0\0\0\0\0"sv},
    // call load of an agent: status 1, the echoed agent id, count
    Row{0x45, 0xD6, Prefix::kRequest, Shape::kData, 1, "\0\0\0\1\0\0\0"sv},
    // calls per second: three numbers
    Row{0x45, 0xF6, Prefix::kRequest, Shape::kData, 1, "\0\0\0\0\0\0\0\0\0\0\0\0"sv},
    // outbound replies read from the frame's first byte
    Row{0x45, 0xF7, Prefix::kRequest, Shape::kFromByte6, 1, {}},        // black list: result
    Row{0x45, 0xC8, Prefix::kRequest, Shape::kFromByte6, 1, kZero2},    // status, count
    Row{0x45, 0xC9, Prefix::kRequest, Shape::kFromByte6, 0, "\0\0\0\0\0\0\0\0\0\0\0\0"sv},
    Row{0x45, 0xFA, Prefix::kRequest, Shape::kFromByte6, 1, kZero4},    // result, campaign id
    Row{0x45, 0xF8, Prefix::kRequest, Shape::kFromByte6, 1, {}},        // preview call: result
    // calling-list service: the reply's head word names the service type asked for
    Row{0x45, 0xD5, Prefix::kRequest, Shape::kServiceWord, 1, {}},
    // uploads of trace and counsel data: sent without waiting
    Row{0x45, 0xC0, Prefix::kRequest, Shape::kNone, 0, {}},
    Row{0x45, 0xC1, Prefix::kRequest, Shape::kNone, 0, {}},
    // answers to the server's requests: those that await nothing get nothing
    Row{0x45, 0xF6, Prefix::kAnswer, Shape::kNone, 0, {}},
    Row{0x45, 0xF7, Prefix::kAnswer, Shape::kNone, 0, {}},
    Row{0x45, 0xF5, Prefix::kAnswer, Shape::kData, 1, {}},
    Row{0x45, 0xC8, Prefix::kAnswer, Shape::kData, 1, {}},
    // IVR: number of waiting calls
    Row{0x57, 0x3F, Prefix::kRequest, Shape::kData, 1, kZero4},
};

// A body of exactly five texts after the request prefix (the black-list insert).
bool FiveTexts(const Bytes& body) {
  FrameReader in(body, 6);
  for (int i = 0; i < 5; ++i) in.GetStr8();
  return in.ok() && in.remaining() == 0;
}

// Requests and answers share their class and code; the body's size tells them apart.
Prefix PrefixOf(const Request& r) {
  if (r.cls != kClassSession) return Prefix::kRequest;
  const std::size_t size = r.body.size();
  switch (r.code) {
    case 0xF6: return size == 26 ? Prefix::kAnswer : Prefix::kRequest;  // 4 numbers after it
    case 0xF7: return size == 14 && !FiveTexts(r.body) ? Prefix::kAnswer : Prefix::kRequest;
    case 0xF5: return size == 14 ? Prefix::kAnswer : Prefix::kRequest;  // the result only
    case 0xC8: return size == 10 ? Prefix::kRequest : Prefix::kAnswer;  // ciod only: request
    default: return Prefix::kRequest;
  }
}

}  // namespace

ReplyRule DefaultReplyRule(const Request& request) {
  ReplyRule rule;
  const Prefix prefix = PrefixOf(request);
  if (prefix == Prefix::kAnswer) rule.number = FrameReader(request.body, 8).GetU16();
  for (const Row& row : kRows) {
    if (row.cls != request.cls || row.code != request.code || row.prefix != prefix) continue;
    rule.result = row.result;
    rule.data.assign(row.data.begin(), row.data.end());
    switch (row.shape) {
      case Shape::kData:
        break;
      case Shape::kFromByte6:
        rule.layout = ReplyLayout::kFromByte6;
        break;
      case Shape::kServiceWord:
        rule.word = request.Fields().GetU16();
        break;
      case Shape::kNone:
        rule.withhold = true;
        break;
    }
    break;
  }
  return rule;
}

}  // namespace ctisim
