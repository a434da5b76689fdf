#include "vomtel/core/result_codes.h"

namespace vomtel {

const char* ResultText(std::int32_t code) {
  switch (code) {
    case kOk: return "success";
    case kNoRoom: return "no room in the send buffer";
    case kNotFrameType: return "not a frame type";
    case kConnectionClosed: return "connection closed";
    case kDoesNothing: return "entry point does nothing";
    case kReplyMismatch: return "reply does not match the request";
    case kNoSession: return "no session for the gate";
    case kIncomplete: return "frame not complete";
    case kZeroDevice: return "device number 0 or null argument";
    case kNoEvent: return "no event waiting";
    case kTimeout: return "no reply in time";
    case kNotConnected: return "not connected";
    case kTextTooLong: return "text too long";
    case kBadPort: return "port outside 1-65535";
    case kTooManyDevices: return "too many entries";
    case kFrameTooLong: return "received frame too long";
    case kInternalError: return "internal exception caught";
    default: return "server result";
  }
}

}  // namespace vomtel
