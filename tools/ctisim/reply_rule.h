// How the simulator answers one request: the reply it builds, when and how it sends it.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "tools/ctisim/request.h"
#include "tools/ctisim/wire.h"

namespace ctisim {

using Millis = std::chrono::milliseconds;

// How one batch of bytes goes out on a connection.
struct SendShape {
  Millis delay{0};                  // before the first byte
  std::vector<std::size_t> chunks;  // write the bytes in pieces of these sizes, the rest last
  Millis chunk_gap{2};              // pause between two pieces
};

// Where a reply's result and data stand.
enum class ReplyLayout {
  kHead,      // result at bytes 8-11, request number at 12-13, data from byte 14
  kFromByte6  // request number at bytes 4-5, result at 6-9, data from byte 10 (the outbound
              // replies that the client reads from the frame's first byte)
};

struct ReplyRule {
  ReplyLayout layout = ReplyLayout::kHead;
  std::optional<std::uint16_t> word;     // head word (bytes 6-7); default: the request's
  std::uint32_t result = 1;              // reply bytes 8-11
  std::optional<std::uint16_t> number;   // reply bytes 12-13; default: the request's number
  Bytes data;                            // reply bytes from 14 on (for the open reply: after
                                         // its active flag at byte 22)
  std::vector<Bytes> more;               // further reply frames after the first, each one's data
  std::vector<Bytes> lists;              // list frames (0xA0) after the replies, their contents
  Millis gap{0};                         // pause between the frames of one answer; 0 = all the
                                         // frames in one write
  SendShape shape;                       // delay and splitting of the answer; with chunks the
                                         // frames are joined and cut as the chunks say (no gap)
  bool withhold = false;                 // send no answer at all
  bool drop_after = false;               // close the connection once the answer is out (with
                                         // withhold: at once, instead of answering)
  // Open request only: overrides of the server's session id and active flag.
  std::optional<std::uint32_t> session_id;
  std::optional<std::uint8_t> active_flag;
  // When set, the answer is exactly the frames it returns (none: no answer); runs on the
  // server thread with no lock held, and may call the server (push, drop, ...).
  std::function<std::vector<Bytes>(const Request&)> hook;
};

// Values the default open reply takes from the server.
struct OpenDefaults {
  std::uint32_t session_id = 0x00010001;
  std::uint8_t active_flag = 1;             // 1 active; 0 or 2 standby
  std::optional<std::uint8_t> version;      // reply byte 5; default: the request's byte 5
};

// The frames of the answer that `rule` gives to `request` (hooks are not run here).
// The open reply: head, result, session id (12-15), number (16-17), 0 (18-21), active flag (22),
// then the rule's data. Every other reply: as the rule's layout says.
std::vector<Bytes> BuildAnswer(const Request& request, const ReplyRule& rule,
                               const OpenDefaults& open);

}  // namespace ctisim
