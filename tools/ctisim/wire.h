// Wire constants of the CTI protocol as the simulator speaks it: first bytes, head sizes,
// the class and code bytes of the session-level requests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ctisim {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint8_t kListFrame = 0xA0;
inline constexpr std::uint8_t kRequestOrEvent = 0xA1;
inline constexpr std::uint8_t kReplyFrame = 0xA2;
inline constexpr std::uint8_t kEnvelope = 0xEC;

// Bytes before the length field's count starts (first byte and the two length bytes).
inline constexpr std::size_t kLengthHead = 3;
// Request and reply heads: first byte, length, class, code, version byte, header word.
inline constexpr std::size_t kFrameHead = 8;
// Reply head: the frame head, the uint32 result and the uint16 request number.
inline constexpr std::size_t kReplyHead = 14;
// Event head: frame head, time stamp and numbers up to the call kind at byte 29.
inline constexpr std::size_t kEventHead = 30;
// The receiving library refuses frames whose length field is this or more.
inline constexpr std::size_t kMaxAcceptedLength = 8190;

// Request classes.
inline constexpr std::uint8_t kClassCall = 0x41;     // call control, agent state, features
inline constexpr std::uint8_t kClassMonitor = 0x42;  // monitor start and stop
inline constexpr std::uint8_t kClassSession = 0x45;  // open, close, devices, services
inline constexpr std::uint8_t kClassIvr = 0x57;      // IVR routing

// Session-level request codes.
inline constexpr std::uint8_t kCodeOpen = 0x46;           // class 0x45
inline constexpr std::uint8_t kCodeClose = 0x1E;          // class 0x45
inline constexpr std::uint8_t kCodeAddDevice = 0x0A;      // class 0x45
inline constexpr std::uint8_t kCodeRemoveDevice = 0x50;   // class 0x45
inline constexpr std::uint8_t kCodeMonitorStart = 0x1E;   // class 0x42
inline constexpr std::uint8_t kCodeMonitorStop = 0x28;    // class 0x42
inline constexpr std::uint8_t kCodeMakeCall = 0x65;       // class 0x41

// Event code of the HA notice (byte 31 non-zero: this server is now active).
inline constexpr std::uint8_t kEventHaNotice = 0xFC;

}  // namespace ctisim
