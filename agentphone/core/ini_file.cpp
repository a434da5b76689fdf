#include "agentphone/core/ini_file.h"

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "agentphone/core/text_encoding.h"

namespace agentphone {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

enum class Encoding { kUtf8, kCp949 };

struct Line {
  std::string body;    // without its line ending
  std::string ending;  // "\r\n", "\n" or "" (last line without one)
};

struct Contents {
  bool exists = false;
  Encoding encoding = Encoding::kUtf8;
  bool bom = false;
  std::vector<Line> lines;
};

std::string TrimSpaceTab(std::string_view s) {
  size_t a = s.find_first_not_of(" \t");
  if (a == std::string_view::npos) return {};
  size_t b = s.find_last_not_of(" \t");
  return std::string(s.substr(a, b - a + 1));
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

Contents Load(const std::filesystem::path& file) {
  Contents c;
  std::ifstream in(file, std::ios::binary);
  if (!in) return c;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return c;
  c.exists = true;
  std::string_view view(bytes);
  if (view.starts_with(kBom)) {
    c.bom = true;
    view.remove_prefix(kBom.size());
  }
  c.encoding = (c.bom || IsValidUtf8(view)) ? Encoding::kUtf8 : Encoding::kCp949;
  size_t pos = 0;
  while (pos < view.size()) {
    size_t nl = view.find('\n', pos);
    Line line;
    if (nl == std::string_view::npos) {
      line.body = std::string(view.substr(pos));
      pos = view.size();
    } else {
      line.body = std::string(view.substr(pos, nl - pos));
      line.ending = '\n';
      pos = nl + 1;
    }
    if (!line.ending.empty() && !line.body.empty() && line.body.back() == '\r') {
      line.body.pop_back();
      line.ending = "\r\n";
    }
    c.lines.push_back(std::move(line));
  }
  return c;
}

// Names and values in the file's encoding.
std::string ToFile(const Contents& c, std::string_view utf8) {
  return c.encoding == Encoding::kUtf8 ? std::string(utf8) : Utf8ToCp949(utf8);
}

std::string FromFile(const Contents& c, std::string_view bytes) {
  return c.encoding == Encoding::kUtf8 ? std::string(bytes) : Cp949ToUtf8(bytes);
}

// The section name of a "[name]" line.
std::optional<std::string> SectionOf(std::string_view body) {
  std::string t = TrimSpaceTab(body);
  if (t.size() < 2 || t.front() != '[') return std::nullopt;
  size_t close = t.find(']');
  if (close == std::string::npos) return std::nullopt;
  return TrimSpaceTab(std::string_view(t).substr(1, close - 1));
}

// The key and raw value of a "key=value" line; comments and lines without '=' have none.
bool KeyOf(std::string_view body, std::string* key, std::string* value) {
  std::string t = TrimSpaceTab(body);
  if (t.empty() || t.front() == ';') return false;
  size_t eq = t.find('=');
  if (eq == std::string::npos) return false;
  *key = TrimSpaceTab(std::string_view(t).substr(0, eq));
  if (value) *value = TrimSpaceTab(std::string_view(t).substr(eq + 1));
  return true;
}

struct Found {
  long sectionLine = -1;  // index of the "[section]" line
  long lastLine = -1;     // last non-blank line of the section (the header when empty)
  long keyLine = -1;      // index of the key's line
  std::string value;      // raw value of the key (file encoding)
};

Found Find(const Contents& c, std::string_view section, std::string_view key) {
  Found f;
  bool inside = false;
  for (size_t i = 0; i < c.lines.size(); ++i) {
    const std::string& body = c.lines[i].body;
    if (std::optional<std::string> name = SectionOf(body)) {
      if (inside) break;  // the first matching section ends here
      if (EqualNoCase(*name, section)) {
        inside = true;
        f.sectionLine = f.lastLine = static_cast<long>(i);
      }
      continue;
    }
    if (!inside) continue;
    if (!TrimSpaceTab(body).empty()) f.lastLine = static_cast<long>(i);
    std::string k, v;
    if (f.keyLine < 0 && KeyOf(body, &k, &v) && EqualNoCase(k, key)) {
      f.keyLine = static_cast<long>(i);
      f.value = v;
    }
  }
  return f;
}

std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

bool Save(const std::filesystem::path& file, const Contents& c) {
  std::string bytes;
  if (c.bom) bytes += kBom;
  for (const Line& line : c.lines) bytes += line.body + line.ending;
  std::filesystem::path temp = file;
  temp += ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, file, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> IniFile::Read(const std::filesystem::path& file,
                                         std::string_view section, std::string_view key) {
  Contents c = Load(file);
  if (!c.exists) return std::nullopt;
  Found f = Find(c, ToFile(c, section), ToFile(c, key));
  if (f.keyLine < 0) return std::nullopt;
  std::string_view raw = Unquote(f.value);
  size_t cut = c.encoding == Encoding::kUtf8 ? Utf8CutLength(raw, kMaxValueBytes)
                                             : Cp949CutLength(raw, kMaxValueBytes);
  return FromFile(c, raw.substr(0, cut));
}

bool IniFile::Write(const std::filesystem::path& file, std::string_view section,
                    std::string_view key, std::string_view value) {
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
  if (TrimSpaceTab(section).empty() || TrimSpaceTab(key).empty()) return false;
  if (section.find_first_of("[]") != std::string_view::npos) return false;
  if (key.find('=') != std::string_view::npos || TrimSpaceTab(key).front() == ';') return false;

  Contents c = Load(file);
  if (!c.exists && std::filesystem::exists(file)) return false;  // there, but unreadable
  const std::string fileSection = ToFile(c, TrimSpaceTab(section));
  const std::string fileKey = ToFile(c, TrimSpaceTab(key));
  const std::string fileValue = ToFile(c, value);

  std::string ending = "\r\n";
  for (const Line& line : c.lines) {
    if (!line.ending.empty()) {
      ending = line.ending;
      break;
    }
  }

  Found f = Find(c, fileSection, fileKey);
  if (f.keyLine >= 0) {
    Line& line = c.lines[static_cast<size_t>(f.keyLine)];
    std::string existingKey;
    KeyOf(line.body, &existingKey, nullptr);
    line.body = existingKey + "=" + fileValue;
  } else {
    if (!c.lines.empty() && c.lines.back().ending.empty()) c.lines.back().ending = ending;
    Line keyLine{fileKey + "=" + fileValue, ending};
    if (f.sectionLine >= 0) {
      c.lines.insert(c.lines.begin() + f.lastLine + 1, keyLine);
    } else {
      c.lines.push_back(Line{"[" + fileSection + "]", ending});
      c.lines.push_back(keyLine);
    }
  }
  return Save(file, c);
}

}  // namespace agentphone
