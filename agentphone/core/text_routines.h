// Small text routines shared by every module of the agent program. All texts are UTF-8; a
// "blank" is the space character (code 32) only, as the settings and the controls write it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace agentphone {

// The text without leading and trailing blanks.
std::string Trim(std::string_view text);

// The text trimmed, with every blank inside removed as well.
std::string RemoveBlanks(std::string_view text);

// The digits 0-9 of the text, in order (after RemoveBlanks).
std::string OnlyDigits(std::string_view text);

// The digits of a telephone number with dashes put in: 7 NNN-NNNN, 8 NNNN-NNNN, 9 NN-NNN-NNNN,
// 10 beginning with "02" NN-NNNN-NNNN, other 10 NNN-NNN-NNNN, 11 NNN-NNNN-NNNN; any other
// length gives the digits unchanged.
std::string FormatPhoneNumber(std::string_view text);

// Empty for a blank text or a number equal to 0 ("0", " 00 "); the trimmed text when it holds
// no "|"; else everything after the first "|", untrimmed.
std::string AfterBar(std::string_view text);

// The value of a text that reads as a decimal number: blanks around it, an optional sign,
// digits with an optional decimal point and an optional exponent ("1", "01", "1.0", " -2e1 ").
// Empty text or anything else: nullopt.
std::optional<double> ReadNumber(std::string_view text);

// True when the text reads as a number equal to 1 ("1", "01", "1.0").
bool ReadsAsOne(std::string_view text);

// The value of key in section of the settings file `file` in `folder`: a missing file, section
// or key, and the stored value "Null" (exactly so), read as the empty text; at most 254 bytes of
// the stored value (in the file's own encoding) are taken. See ini_file.h for the file rules.
std::string GetIniValue(const std::filesystem::path& folder, std::string_view file,
                        std::string_view section, std::string_view key);

// Writes key in section of `file` in `folder`, creating the file, section or key when missing
// and keeping every other line. False when the value holds a line break or the file cannot be
// written.
bool WriteIniValue(const std::filesystem::path& folder, std::string_view file,
                   std::string_view section, std::string_view key, std::string_view value);

}  // namespace agentphone
