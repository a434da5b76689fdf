#include "tools/ctisim/request.h"

#include <cstdio>

#include "tools/ctisim/frame_reader.h"

namespace ctisim {

bool IsOpen(std::uint8_t cls, std::uint8_t code) {
  return cls == kClassSession && code == kCodeOpen;
}

FrameReader Request::Fields() const { return FrameReader(body, IsOpen(cls, code) ? 0 : 6); }

OpenBody DecodeOpenBody(const Bytes& body) {
  FrameReader r(body);
  OpenBody open;
  open.device_type = r.GetU8();
  open.ext = r.GetU8();
  open.dn = r.GetStr8();
  open.application = r.GetStr8();
  open.counter = r.GetU16();
  return open;
}

std::optional<Request> DecodeRequest(const Bytes& frame) {
  if (frame.size() < kFrameHead || frame[0] != kRequestOrEvent) return std::nullopt;
  FrameReader r(frame, 3);
  Request req;
  req.cls = r.GetU8();
  req.code = r.GetU8();
  req.version = r.GetU8();
  req.word = r.GetU16();
  req.body.assign(frame.begin() + kFrameHead, frame.end());
  req.frame = frame;
  if (IsOpen(req.cls, req.code)) {
    req.number = DecodeOpenBody(req.body).counter;
  } else {
    FrameReader b(req.body);
    req.session_id = b.GetU32();
    req.number = b.GetU16();
  }
  return req;
}

std::string Hex(const Bytes& bytes) {
  std::string out;
  out.reserve(bytes.size() * 3);
  char two[4];
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(two, sizeof two, "%02x", bytes[i]);
    if (i > 0) out += ' ';
    out += two;
  }
  return out;
}

}  // namespace ctisim
