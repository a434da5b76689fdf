// MemoryPropertyBag and its text-file form.
#include "vomcom/property_bag.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "vomcom/dispatch_table.h"

namespace vomcom {
namespace {

std::string Escape(const std::string& s) {
  std::string r;
  for (char c : s) {
    switch (c) {
      case '\\': r += "\\\\"; break;
      case '\n': r += "\\n"; break;
      case '\r': r += "\\r"; break;
      case '\t': r += "\\t"; break;
      default: r += c; break;
    }
  }
  return r;
}

bool Unescape(std::string_view s, std::string* out) {
  out->clear();
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\') {
      out->push_back(s[i]);
      continue;
    }
    if (++i == s.size()) return false;
    switch (s[i]) {
      case '\\': out->push_back('\\'); break;
      case 'n': out->push_back('\n'); break;
      case 'r': out->push_back('\r'); break;
      case 't': out->push_back('\t'); break;
      default: return false;
    }
  }
  return true;
}

bool ParseInt(std::string_view s, long long min, long long max, long long* out) {
  std::string t(s);
  if (t.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(t.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < min || v > max) return false;
  *out = v;
  return true;
}

// One "Name=TYPE:value" line into name and value.
bool ParseLine(std::string_view line, std::string* name, Variant* value) {
  size_t eq = line.find('=');
  if (eq == std::string_view::npos || eq == 0) return false;
  size_t colon = line.find(':', eq + 1);
  if (colon == std::string_view::npos) return false;
  *name = std::string(line.substr(0, eq));
  std::string_view type = line.substr(eq + 1, colon - eq - 1);
  std::string_view text = line.substr(colon + 1);
  long long n = 0;
  if (type == "EMPTY") {
    *value = Variant();
  } else if (type == "I2") {
    if (!ParseInt(text, INT16_MIN, INT16_MAX, &n)) return false;
    *value = Variant(static_cast<int16_t>(n));
  } else if (type == "I4") {
    if (!ParseInt(text, INT32_MIN, INT32_MAX, &n)) return false;
    *value = Variant(static_cast<int32_t>(n));
  } else if (type == "I8") {
    if (!ParseInt(text, INT64_MIN, INT64_MAX, &n)) return false;
    *value = Variant(static_cast<int64_t>(n));
  } else if (type == "BOOL") {
    if (!ParseInt(text, -1, 1, &n)) return false;
    *value = Variant(n != 0);
  } else if (type == "R8") {
    std::string t(text);
    char* end = nullptr;
    double d = std::strtod(t.c_str(), &end);
    if (t.empty() || *end != '\0') return false;
    *value = Variant(d);
  } else if (type == "BSTR") {
    std::string s;
    if (!Unescape(text, &s)) return false;
    *value = Variant(std::string_view(s));
  } else {
    return false;
  }
  return true;
}

bool FormatValue(const VARIANT& v, std::string* out) {
  char buf[64];
  switch (v.vt) {
    case VT_EMPTY: *out = "EMPTY:"; return true;
    case VT_I2: *out = "I2:" + std::to_string(v.iVal); return true;
    case VT_I4: *out = "I4:" + std::to_string(v.lVal); return true;
    case VT_I8: *out = "I8:" + std::to_string(v.llVal); return true;
    case VT_BOOL: *out = v.boolVal ? "BOOL:-1" : "BOOL:0"; return true;
    case VT_R8:
      std::snprintf(buf, sizeof buf, "R8:%.17g", v.dblVal);
      *out = buf;
      return true;
    case VT_BSTR: *out = "BSTR:" + Escape(Bstr::Copy(v.bstrVal).Utf8()); return true;
    default: {
      // Other types are kept as their text.
      Variant text;
      if (FAILED(VariantChangeType(text.Get(), &v, VARIANT_ALPHABOOL, VT_BSTR))) return false;
      *out = "BSTR:" + Escape(Bstr::Copy(text.Get()->bstrVal).Utf8());
      return true;
    }
  }
}

}  // namespace

ComPtr<MemoryPropertyBag> MemoryPropertyBag::Create() {
  ComPtr<MemoryPropertyBag> p;
  if (auto* b = new (std::nothrow) MemoryPropertyBag()) p = ComPtr<MemoryPropertyBag>(b);
  return p;
}

HRESULT MemoryPropertyBag::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyBag)) {
    *out = static_cast<IPropertyBag*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG MemoryPropertyBag::AddRef() { return ++refs_; }

ULONG MemoryPropertyBag::Release() {
  ULONG n = --refs_;
  if (n == 0) delete this;
  return n;
}

MemoryPropertyBag::Item* MemoryPropertyBag::FindItem(std::string_view name) {
  std::string key = LowerAscii(name);
  for (Item& i : items_)
    if (LowerAscii(i.name) == key) return &i;
  return nullptr;
}

const MemoryPropertyBag::Item* MemoryPropertyBag::FindItem(std::string_view name) const {
  return const_cast<MemoryPropertyBag*>(this)->FindItem(name);
}

HRESULT MemoryPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  if (!name || !value) return E_POINTER;
  const Item* item = FindItem(Utf16ToUtf8(name));
  if (!item) return E_INVALIDARG;
  // The caller's *value names the wanted type; its contents are not the caller's to free.
  const VARTYPE wanted = value->vt;
  VARIANT r;
  VariantInit(&r);
  HRESULT hr = wanted == VT_EMPTY ? VariantCopy(&r, item->value.Get())
                                  : VariantChangeType(&r, item->value.Get(), 0, wanted);
  if (FAILED(hr)) return hr;
  *value = r;
  return S_OK;
}

HRESULT MemoryPropertyBag::Write(LPCOLESTR name, VARIANT* value) {
  if (!name || !value) return E_POINTER;
  Variant copy;
  HRESULT hr = VariantCopy(copy.Get(), value);
  if (FAILED(hr)) return hr;
  // A BYREF value is stored as what it points to.
  if (value->vt & VT_BYREF) {
    Variant direct;
    VARTYPE base = static_cast<VARTYPE>(value->vt & ~VT_BYREF);
    if (base == VT_VARIANT) {
      const VARIANT* inner = value->pvarVal;
      if (!inner || (inner->vt & VT_BYREF)) return DISP_E_TYPEMISMATCH;
      hr = VariantCopy(direct.Get(), inner);
    } else {
      hr = VariantChangeType(direct.Get(), value, 0, base);
    }
    if (FAILED(hr)) return hr;
    copy = std::move(direct);
  }
  Set(Utf16ToUtf8(name), copy);
  return S_OK;
}

void MemoryPropertyBag::Set(std::string_view name, const Variant& value) {
  if (Item* i = FindItem(name)) {
    i->value = value;
  } else {
    items_.push_back({std::string(name), value});
  }
}

const VARIANT* MemoryPropertyBag::Find(std::string_view name) const {
  const Item* i = FindItem(name);
  return i ? i->value.Get() : nullptr;
}

bool MemoryPropertyBag::Remove(std::string_view name) {
  std::string key = LowerAscii(name);
  for (auto it = items_.begin(); it != items_.end(); ++it) {
    if (LowerAscii(it->name) == key) {
      items_.erase(it);
      return true;
    }
  }
  return false;
}

std::vector<std::string> MemoryPropertyBag::Names() const {
  std::vector<std::string> names;
  for (const Item& i : items_) names.push_back(i.name);
  return names;
}

HRESULT MemoryPropertyBag::LoadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return E_FAIL;
  std::vector<Item> loaded;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    Item item;
    if (!ParseLine(line, &item.name, &item.value)) return DISP_E_TYPEMISMATCH;
    loaded.push_back(std::move(item));
  }
  if (in.bad()) return E_FAIL;
  items_.clear();
  for (Item& i : loaded) Set(i.name, i.value);
  return S_OK;
}

HRESULT MemoryPropertyBag::SaveTextFile(const std::string& path) const {
  std::string text;
  for (const Item& i : items_) {
    std::string value;
    if (!FormatValue(*i.value.Get(), &value)) return DISP_E_TYPEMISMATCH;
    text += i.name + "=" + value + "\n";
  }
  std::string temp = path + ".tmp" + std::to_string(getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return E_ACCESSDENIED;
    out << text;
    out.flush();
    if (!out) {
      std::remove(temp.c_str());
      return E_FAIL;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return E_ACCESSDENIED;
  }
  return S_OK;
}

}  // namespace vomcom
