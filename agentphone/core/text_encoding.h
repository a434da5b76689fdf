// UTF-8 checks and the CP949 conversions of the desk's older files.
#pragma once

#include <string>
#include <string_view>

namespace agentphone {

bool IsValidUtf8(std::string_view bytes);

// CP949 bytes to UTF-8; a byte sequence that does not convert becomes '?'.
std::string Cp949ToUtf8(std::string_view bytes);

// UTF-8 to CP949; a character without a CP949 form becomes '?'.
std::string Utf8ToCp949(std::string_view text);

// The longest prefix of at most maxBytes that ends on a character boundary, for UTF-8 or
// CP949 (a lead byte 0x81-0xFE and its trail byte form one character).
size_t Utf8CutLength(std::string_view text, size_t maxBytes);
size_t Cp949CutLength(std::string_view bytes, size_t maxBytes);

}  // namespace agentphone
