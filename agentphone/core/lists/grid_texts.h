// How the lists put stored values into their grid cells.
#pragma once

#include <string>
#include <string_view>

namespace agentphone::lists {

// Places the digits of a stored text into a mask whose "#" stand for digits, from the right:
// "20260301" with "####-##-##" gives "2026-03-01". A shorter text (a leading zero the database
// dropped) fills the mask from the right and drops what lies before its first digit ("93015"
// with "##:##:##" gives "9:30:15"); digits beyond the mask go in front. A text that is not all
// digits is shown as it is, and an empty text stays empty.
std::string FormatDigitMask(std::string_view text, std::string_view mask);

// The inbound line code shown for a dialled number: "1201" "0038", "1202" "0006", "1203"
// "0776"; any other value unchanged.
std::string InboundLineCode(std::string_view dnis);

}  // namespace agentphone::lists
