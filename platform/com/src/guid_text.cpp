// GUID text form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#include <cstdio>
#include <cstring>

#include "vomcom/automation.h"

namespace {

int HexValue(unsigned c) {
  if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
  return -1;
}

// Parses 36 characters 8-4-4-4-12 (units of any width); false when malformed.
template <class Ch>
bool ParseBody(const Ch* s, GUID* out) {
  static const int kGroups[5] = {8, 4, 4, 4, 12};
  uint8_t bytes[16];
  int nb = 0;
  size_t pos = 0;
  for (int g = 0; g < 5; ++g) {
    if (g > 0) {
      if (s[pos] != '-') return false;
      ++pos;
    }
    for (int i = 0; i < kGroups[g]; i += 2) {
      int hi = HexValue(static_cast<unsigned>(s[pos]));
      int lo = hi < 0 ? -1 : HexValue(static_cast<unsigned>(s[pos + 1]));
      if (hi < 0 || lo < 0) return false;
      bytes[nb++] = static_cast<uint8_t>(hi * 16 + lo);
      pos += 2;
    }
  }
  GUID g{};
  g.Data1 = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) |
            bytes[3];
  g.Data2 = static_cast<uint16_t>((bytes[4] << 8) | bytes[5]);
  g.Data3 = static_cast<uint16_t>((bytes[6] << 8) | bytes[7]);
  std::memcpy(g.Data4, bytes + 8, 8);
  *out = g;
  return true;
}

template <class Ch>
size_t Length(const Ch* s, size_t max) {
  size_t n = 0;
  while (n < max && s[n]) ++n;
  return n;
}

// With braces (38 units) or without (36).
template <class Ch>
bool ParseGuid(const Ch* s, GUID* out) {
  if (!s || !out) return false;
  size_t n = Length(s, 40);
  if (n == 38 && s[0] == '{' && s[37] == '}') return ParseBody(s + 1, out);
  if (n == 36) return ParseBody(s, out);
  return false;
}

}  // namespace

extern "C" void VcGuidToText(REFGUID g, char out[39]) {
  std::snprintf(out, 39, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2,
                g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5],
                g.Data4[6], g.Data4[7]);
}

extern "C" HRESULT VcGuidFromText(const char* text, GUID* out) {
  if (!out) return E_POINTER;
  return ParseGuid(text, out) ? S_OK : CO_E_CLASSSTRING;
}

extern "C" int StringFromGUID2(REFGUID g, OLECHAR* out, int capacity) {
  if (!out || capacity < 39) return 0;
  char text[39];
  VcGuidToText(g, text);
  for (int i = 0; i < 39; ++i) out[i] = static_cast<OLECHAR>(text[i]);
  return 39;
}

extern "C" HRESULT CLSIDFromString(LPCOLESTR text, CLSID* out) {
  if (!out) return E_POINTER;
  return ParseGuid(text, out) ? S_OK : CO_E_CLASSSTRING;
}
