#include "vomtel/core/ini_file.h"

#include <cstdint>
#include <fstream>
#include <limits>

#include "vomtel/core/trim.h"

namespace vomtel {

CIniFile::CIniFile(const std::string& path) { Load(path); }

void CIniFile::Load(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::string line;
  while (std::getline(file, line)) {
    // A file written with CRLF line ends reads the same as one with LF.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#' || line.front() == '[') continue;
    const auto equals = line.find('=');
    if (equals == std::string::npos) return;
    values_.emplace(Trim(std::string_view(line).substr(0, equals)),
                    Trim(std::string_view(line).substr(equals + 1)));
  }
}

std::string CIniFile::GetString(const std::string& key) const {
  const auto found = values_.find(key);
  return found == values_.end() ? std::string() : found->second;
}

int CIniFile::GetInt(const std::string& key) const {
  const auto found = values_.find(key);
  if (found == values_.end()) return -1;
  const std::string& value = found->second;

  std::size_t at = 0;
  while (at < value.size() && (value[at] == ' ' || (value[at] >= '\t' && value[at] <= '\r'))) ++at;
  bool negative = false;
  if (at < value.size() && (value[at] == '+' || value[at] == '-')) negative = value[at++] == '-';

  // Accumulate in 64 bits and stop as soon as the magnitude leaves the 32-bit range.
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  std::size_t digits = 0;
  for (; at < value.size() && value[at] >= '0' && value[at] <= '9'; ++at, ++digits) {
    magnitude = magnitude * 10 + (value[at] - '0');
    if (magnitude > kLimit) return -1;
  }
  if (digits == 0) return -1;
  const std::int64_t number = negative ? -magnitude : magnitude;
  if (number > std::numeric_limits<std::int32_t>::max()) return -1;
  return static_cast<int>(number);
}

}  // namespace vomtel
