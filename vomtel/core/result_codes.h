// Result codes of the library. Every operation returns a signed 32-bit code: 1 is success,
// any value the server sends back in a reply is handed on unchanged, and the library adds
// its own codes below. Values are part of the interface: never renumber them.
#pragma once

#include <cstdint>

namespace vomtel {

enum ResultCode : std::int32_t {
  // Success (also the server's word for success).
  kOk = 1,

  // Send side and receive stages.
  kNoRoom = 2,              // no room in the send buffer; nothing pending to flush
  kNotFrameType = 4,        // a received first byte is no frame type
  kConnectionClosed = 5,    // the connection was closed or a socket call failed

  // Library codes.
  kDoesNothing = 2018,      // an entry point that does nothing
  kReplyMismatch = 3002,    // the reply does not answer the request
  kNoSession = 3007,        // no (active) session for the gate
  kIncomplete = 3008,       // the frame being received is not complete yet
  kZeroDevice = 3009,       // a device number 0 in a device list; a null record or output
  kNoEvent = 3010,          // no event (or list frame) waiting
  kTimeout = 3013,          // no reply in time, or the frame was not sent in time
  kNotConnected = 3014,     // not connected
  kTextTooLong = 3025,      // a text longer than its limit, or a frame that would not fit
  kBadPort = 3026,          // a server port outside 1..65535
  kTooManyDevices = 3040,   // more entries than one request may carry
  kFrameTooLong = 3111,     // a received frame length of 8190 or more
  kInternalError = 3112,    // an exception was caught inside the library
};

// A short English description of a result code, for logs and tools.
const char* ResultText(std::int32_t code);

}  // namespace vomtel
