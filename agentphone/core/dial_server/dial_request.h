// The dial-request protocol that other programs of the desk speak with the softphone over its
// local TCP port. A request is the text of one received read, split at every "|"; it needs at
// least nine fields (fields after the ninth are ignored). The reply has eight fields, each
// followed by "|". Pure functions: no socket, no state.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace agentphone {

// A read longer than this is refused like a malformed request.
inline constexpr std::size_t kMaxDialRequestBytes = 64 * 1024;

inline constexpr std::size_t kDialRequestFields = 9;

// Result codes of the reply, in the order the checks run (the first that applies decides).
inline constexpr std::string_view kDialTooFewDigits = "01";  // fewer than 4 digits in field 5
inline constexpr std::string_view kDialLoggedOut = "02";     // status caption "로그아웃"
inline constexpr std::string_view kDialInCall = "03";        // "통화중" or "협의통화중"
inline constexpr std::string_view kDialPlaced = "00";        // MAKECALL returned 1
inline constexpr std::string_view kDialNotPlaced = "04";     // MAKECALL returned anything else

enum class DialRequestType {
  Sp100,  // "SP-100": answered "SP-110", outside-line digit "0"
  Sp210,  // any other text: answered "SP-210", outside-line digit "8"
};

struct DialRequest {
  std::array<std::string, kDialRequestFields> field;  // fields 0-8 as received

  DialRequestType Type() const;
  const std::string& Number() const { return field[5]; }       // as received
  const std::string& CustomerKey() const { return field[7]; }
};

// The request of one read, or nullopt when it has fewer than nine fields (an empty read
// included).
std::optional<DialRequest> ParseDialRequest(std::string_view received);

// The number to dial for a request's field 5: its digits, a leading "02" dropped; fewer than
// five digits left are dialled unchanged; else a second leading "02" is replaced by the type's
// outside-line digit, or the digit is put in front.
std::string PrepareDialNumber(std::string_view number, DialRequestType type);

// The reply: field 0, "SP-110" or "SP-210", the code, fields 3-7, each followed by "|".
std::string BuildDialReply(const DialRequest& request, std::string_view code);

}  // namespace agentphone
