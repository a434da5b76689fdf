// The registry's text form.
#include "registry_file.h"

namespace vomcom::detail {
namespace {

constexpr std::string_view kRoot = "HKEY_CLASSES_ROOT";

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

std::string Quote(std::string_view s) {
  std::string r = "\"";
  for (char c : s) {
    if (c == '\\' || c == '"') r += '\\';
    r += c;
  }
  r += '"';
  return r;
}

// A quoted string at s[pos]; pos moves past it.
bool Unquote(std::string_view s, size_t* pos, std::string* out) {
  if (*pos >= s.size() || s[*pos] != '"') return false;
  out->clear();
  for (size_t i = *pos + 1; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      out->push_back(s[++i]);
    } else if (s[i] == '"') {
      *pos = i + 1;
      return true;
    } else {
      out->push_back(s[i]);
    }
  }
  return false;
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

std::string NormalizeKey(std::string_view key) {
  std::string_view k = key;
  if (StartsWithNoCase(k, kRoot) && (k.size() == kRoot.size() || k[kRoot.size()] == '\\'))
    k.remove_prefix(kRoot.size());
  std::string out;
  for (char c : k) {
    if (c == '\r' || c == '\n' || c == '[' || c == ']') return {};
    if (c == '/' ) c = '\\';
    if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
    out.push_back(c);
  }
  while (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

void RegistryFile::Parse(std::string_view text) {
  keys_.clear();
  Key* current = nullptr;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      std::string_view inner = line.substr(1, line.size() - 2);
      current = nullptr;
      if (!inner.empty() && inner[0] == '-') continue;  // a deletion: nothing to keep
      std::string path = NormalizeKey(inner);
      if (!path.empty()) current = &Ensure(path);
      continue;
    }
    if (!current) continue;
    Value v;
    size_t pos = 0;
    if (line[0] == '@') {
      pos = 1;
    } else if (!Unquote(line, &pos, &v.name)) {
      continue;
    }
    if (pos >= line.size() || line[pos] != '=') continue;
    ++pos;
    if (pos < line.size() && line[pos] == '"') {
      if (!Unquote(line, &pos, &v.data)) continue;
    } else {
      v.data = std::string(line.substr(pos));
      v.raw = true;
      if (v.data == "-") continue;
    }
    Value* existing = const_cast<Value*>(FindValue(*current, v.name));
    if (existing)
      *existing = std::move(v);
    else
      current->values.push_back(std::move(v));
    if (text.size() == end) break;
  }
}

std::string RegistryFile::Format() const {
  std::string out = "REGEDIT4\r\n\r\n";
  for (const Key& k : keys_) {
    out += "[";
    out += kRoot;
    out += "\\" + k.path + "]\r\n";
    for (const Value& v : k.values) {
      out += v.name.empty() ? std::string("@") : Quote(v.name);
      out += "=";
      out += v.raw ? v.data : Quote(v.data);
      out += "\r\n";
    }
    out += "\r\n";
  }
  return out;
}

RegistryFile::Key* RegistryFile::Find(std::string_view path) {
  for (Key& k : keys_)
    if (EqualsNoCase(k.path, path)) return &k;
  return nullptr;
}

RegistryFile::Key& RegistryFile::Ensure(std::string_view path) {
  size_t sep = path.rfind('\\');
  if (sep != std::string_view::npos) Ensure(path.substr(0, sep));
  if (Key* k = Find(path)) return *k;
  keys_.push_back({std::string(path), {}});
  return keys_.back();
}

bool RegistryFile::DeleteTree(std::string_view path) {
  bool any = false;
  for (auto it = keys_.begin(); it != keys_.end();) {
    bool below = it->path.size() > path.size() && it->path[path.size()] == '\\' &&
                 StartsWithNoCase(it->path, path);
    if (EqualsNoCase(it->path, path) || below) {
      it = keys_.erase(it);
      any = true;
    } else {
      ++it;
    }
  }
  return any;
}

void RegistryFile::SetValue(Key& key, std::string_view name, std::string_view data) {
  for (Value& v : key.values) {
    if (EqualsNoCase(v.name, name)) {
      v.data = std::string(data);
      v.raw = false;
      return;
    }
  }
  key.values.push_back({std::string(name), std::string(data), false});
}

const RegistryFile::Value* RegistryFile::FindValue(const Key& key, std::string_view name) {
  for (const Value& v : key.values)
    if (EqualsNoCase(v.name, name)) return &v;
  return nullptr;
}

}  // namespace vomcom::detail
