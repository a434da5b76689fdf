// A request as the simulator received it from a client, decoded from its frame.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "tools/ctisim/frame_reader.h"
#include "tools/ctisim/wire.h"

namespace ctisim {

struct Request {
  int connection = 0;            // id of the connection it came on (1, 2, ... in accept order)
  std::uint8_t cls = 0;          // frame byte 3
  std::uint8_t code = 0;         // frame byte 4
  std::uint8_t version = 0;      // frame byte 5
  std::uint16_t word = 0;        // frame bytes 6-7
  std::uint32_t session_id = 0;  // body bytes 0-3; 0 for the open request, whose body has none
  std::uint16_t number = 0;      // body bytes 4-5; for the open request its trailing counter
  bool enciphered = false;       // it came inside a 0xEC envelope
  Bytes body;                    // frame bytes from 8 on
  Bytes frame;                   // the whole frame (deciphered when it came enciphered)
  std::chrono::steady_clock::time_point received_at{};

  // A reader over the operation's own fields: after the session id and request number (body
  // byte 6), or from body byte 0 for the open request. It refers to this request's body.
  FrameReader Fields() const;
};

// Decodes one whole request frame (first byte 0xA1, at least the 8-byte head); nothing for any
// other frame. A body too short for its prefix leaves the missing numbers 0.
std::optional<Request> DecodeRequest(const Bytes& frame);

// The body of the open request (class 0x45, code 0x46).
struct OpenBody {
  std::uint8_t device_type = 0;
  std::uint8_t ext = 0;
  std::string dn;
  std::string application;
  std::uint16_t counter = 0;
};
OpenBody DecodeOpenBody(const Bytes& body);

// True for the open request.
bool IsOpen(std::uint8_t cls, std::uint8_t code);

// Lower-case hex bytes separated by blanks, for logs and test messages.
std::string Hex(const Bytes& bytes);

}  // namespace ctisim
