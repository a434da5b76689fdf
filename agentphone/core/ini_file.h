// Settings files with private-profile semantics: "[section]" lines, "key=value" lines, comment
// lines beginning with ';'. Section and key names compare case-insensitively (ASCII letters)
// with blanks and tabs around them ignored; the first matching section and key win. A value is
// taken trimmed of blanks and tabs, without one pair of matching quotes around it, and cut to
// kMaxValueBytes bytes of the file's own encoding on a character boundary.
//
// Encoding: a file that is valid UTF-8 (with or without a byte-order mark) is UTF-8; any other
// file is read as CP949 and written back as CP949. Names and values cross this interface as
// UTF-8.
//
// A write creates the file, the section or the key when missing, replaces only the line of the
// key otherwise, and keeps every other line, comment and line ending byte for byte. The file is
// replaced as a whole (a temporary file renamed over it), so a failed write leaves it as it was.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace agentphone {

class IniFile {
 public:
  static constexpr size_t kMaxValueBytes = 254;

  // The stored value, or nullopt when the file, section or key is missing.
  static std::optional<std::string> Read(const std::filesystem::path& file,
                                         std::string_view section, std::string_view key);

  // False when a name or the value holds a line break, a name is empty or holds a character
  // that would change the line's meaning ('[' ']' in a section, '=' in a key), or the file
  // cannot be written.
  static bool Write(const std::filesystem::path& file, std::string_view section,
                    std::string_view key, std::string_view value);
};

}  // namespace agentphone
