#include "agentphone/core/text_routines.h"

#include <cerrno>
#include <cstdlib>

#include "agentphone/core/ini_file.h"

namespace agentphone {

std::string Trim(std::string_view text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string RemoveBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != ' ') out.push_back(c);
  }
  return out;
}

std::string OnlyDigits(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c >= '0' && c <= '9') out.push_back(c);
  }
  return out;
}

std::string FormatPhoneNumber(std::string_view text) {
  const std::string d = OnlyDigits(text);
  auto groups = [&d](size_t first, size_t second) {
    // first group, optional middle group, then the last four digits
    std::string out = d.substr(0, first);
    if (second > 0) out.append("-").append(d, first, second);
    out.append("-").append(d, first + second);
    return out;
  };
  switch (d.size()) {
    case 7: return groups(3, 0);
    case 8: return groups(4, 0);
    case 9: return groups(2, 3);
    case 10: return d.starts_with("02") ? groups(2, 4) : groups(3, 3);
    case 11: return groups(3, 4);
    default: return d;
  }
}

std::optional<double> ReadNumber(std::string_view text) {
  const std::string t = Trim(text);
  size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  size_t digits = 0;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    size_t expDigits = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++expDigits;
    if (expDigits == 0) return std::nullopt;
  }
  if (i != t.size()) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  double value = std::strtod(t.c_str(), &end);
  if (end != t.c_str() + t.size()) return std::nullopt;
  return value;
}

bool ReadsAsOne(std::string_view text) {
  std::optional<double> v = ReadNumber(text);
  return v && *v == 1.0;
}

std::string AfterBar(std::string_view text) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return {};
  std::optional<double> v = ReadNumber(trimmed);
  if (v && *v == 0.0) return {};
  size_t bar = text.find('|');
  if (bar == std::string_view::npos) return trimmed;
  return std::string(text.substr(bar + 1));
}

std::string GetIniValue(const std::filesystem::path& folder, std::string_view file,
                        std::string_view section, std::string_view key) {
  std::optional<std::string> value = IniFile::Read(folder / std::string(file), section, key);
  if (!value || *value == "Null") return {};
  return *value;
}

bool WriteIniValue(const std::filesystem::path& folder, std::string_view file,
                   std::string_view section, std::string_view key, std::string_view value) {
  return IniFile::Write(folder / std::string(file), section, key, value);
}

}  // namespace agentphone
