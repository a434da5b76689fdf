#include "agentphone/core/lists/connection_setting.h"

#include <cctype>
#include <charconv>

#include "agentphone/core/text_routines.h"

namespace agentphone::lists {

namespace {

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool ReadSeconds(const std::string& text, int& out) {
  int v = 0;
  const std::string t = Trim(text);
  auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || p != t.data() + t.size() || v < 0 || v > 3600) return false;
  out = v;
  return true;
}

// A value as an ODBC connection text writes it: in braces when it holds ";", braces or blanks.
std::string OdbcValue(const std::string& v) {
  if (v.find_first_of(";{} ") == std::string::npos) return v;
  std::string out = "{";
  for (char c : v) {
    out.push_back(c);
    if (c == '}') out.push_back('}');
  }
  return out + "}";
}

}  // namespace

bool SplitConnectionText(std::string_view text,
                         std::vector<std::pair<std::string, std::string>>& pairs) {
  size_t i = 0;
  while (i < text.size()) {
    size_t eq = text.find_first_of("=;", i);
    if (eq == std::string_view::npos || text[eq] == ';') {
      const std::string key = Trim(text.substr(i, eq == std::string_view::npos ? eq : eq - i));
      if (!key.empty()) pairs.emplace_back(key, std::string());
      if (eq == std::string_view::npos) break;
      i = eq + 1;
      continue;
    }
    std::string key = Trim(text.substr(i, eq - i));
    size_t v = eq + 1;
    while (v < text.size() && text[v] == ' ') ++v;
    std::string value;
    if (v < text.size() && text[v] == '{') {
      size_t j = v + 1;
      bool closed = false;
      while (j < text.size()) {
        if (text[j] == '}') {
          if (j + 1 < text.size() && text[j + 1] == '}') {
            value.push_back('}');
            j += 2;
            continue;
          }
          closed = true;
          ++j;
          break;
        }
        value.push_back(text[j++]);
      }
      if (!closed) return false;
      size_t semi = text.find(';', j);
      i = semi == std::string_view::npos ? text.size() : semi + 1;
    } else {
      size_t semi = text.find(';', v);
      value = Trim(text.substr(v, semi == std::string_view::npos ? semi : semi - v));
      i = semi == std::string_view::npos ? text.size() : semi + 1;
    }
    pairs.emplace_back(std::move(key), std::move(value));
  }
  return true;
}

ConnectionSetting ParseConnectionSetting(std::string_view text,
                                         const std::filesystem::path& deskFolder) {
  ConnectionSetting s;
  if (Trim(text).empty()) {
    s.file = deskFolder / kEmbeddedFileName;
    s.demoRows = true;
    return s;
  }
  std::vector<std::pair<std::string, std::string>> pairs;
  if (!SplitConnectionText(text, pairs)) {
    s.error = "connection text: a brace is not closed";
    return s;
  }
  std::vector<std::pair<std::string, std::string>> rest;
  for (auto& [key, value] : pairs) {
    const std::string k = Upper(key);
    if (k == "LOGIN_TIMEOUT" || k == "QUERY_TIMEOUT") {
      int& target = k == "LOGIN_TIMEOUT" ? s.loginTimeoutSeconds : s.queryTimeoutSeconds;
      if (!ReadSeconds(value, target)) s.error = "connection text: " + k + " is not 0-3600 seconds";
      continue;
    }
    rest.emplace_back(key, value);
  }
  if (!rest.empty() && Upper(rest.front().first) == "SQLITE") {
    s.driver = DbDriver::kSqlite;
    std::filesystem::path f(rest.front().second);
    if (f.empty()) s.error = "connection text: SQLITE names no file";
    s.file = f.is_absolute() ? f : deskFolder / f;
    return s;
  }
  if (!rest.empty() && Upper(rest.front().first) == "MARIADB") {
    s.driver = DbDriver::kMariaDb;
    s.host = rest.front().second;
    if (s.host.empty()) s.error = "connection text: MARIADB names no host";
    for (size_t i = 1; i < rest.size(); ++i) {
      const std::string k = Upper(rest[i].first);
      const std::string& v = rest[i].second;
      if (k == "PORT") {
        int port = 0;
        auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), port);
        if (ec != std::errc() || p != v.data() + v.size() || port < 1 || port > 65535) {
          s.error = "connection text: PORT is not a port number";
        } else {
          s.port = port;
        }
      } else if (k == "DATABASE") {
        s.database = v;
      } else if (k == "UID" || k == "USER") {
        s.user = v;
      } else if (k == "PWD" || k == "PASSWORD") {
        s.password = v;
      } else {
        s.error = "connection text: unknown key " + rest[i].first;
      }
    }
    return s;
  }
  s.driver = DbDriver::kOdbc;
  for (auto& [key, value] : rest) {
    if (!s.odbcText.empty()) s.odbcText += ";";
    s.odbcText += key + "=" + OdbcValue(value);
  }
  return s;
}

}  // namespace agentphone::lists
