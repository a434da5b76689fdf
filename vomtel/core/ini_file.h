// CIniFile: reader of a plain key=value configuration file.
//
// Line rules, in order, after one trailing carriage return is removed:
//  - an empty line, or one whose very first character is '#' or '[', is skipped
//    (" #KEY=1" is not a comment: its key is "#KEY");
//  - a line without '=' ends the reading: neither it nor any later line is read;
//  - otherwise key and value are the parts before and after the first '=', each trimmed of
//    blanks, tabs, CR and LF; the first occurrence of a key wins. Keys are case-sensitive.
// A file that cannot be opened gives an empty reader; nothing is reported.
#pragma once

#include <map>
#include <string>

namespace vomtel {

class CIniFile {
 public:
  explicit CIniFile(const std::string& path);

  // Adds the pairs of the file at `path` (keys already held keep their value).
  void Load(const std::string& path);

  // The value of `key`, or an empty text when the key is missing.
  std::string GetString(const std::string& key) const;

  // The value's leading decimal number (optional sign, digits; the rest is ignored, so
  // "7 seconds" gives 7), or -1 when the key is missing, the value starts with no number,
  // or the number lies outside the 32-bit signed range.
  int GetInt(const std::string& key) const;

 private:
  std::map<std::string, std::string> values_;
};

}  // namespace vomtel
