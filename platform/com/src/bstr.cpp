// BSTR: a u32 byte length, then the UTF-16 units, then one 16-bit NUL.
#include <cstdlib>
#include <cstring>

#include "vomcom/automation.h"

namespace {

constexpr size_t kPrefix = sizeof(uint32_t);

// A BSTR of byteLength bytes, copied from data when given, else zeroed.
BSTR Allocate(const void* data, size_t byteLength) {
  if (byteLength > 0xFFFFFFF0u) return nullptr;
  // The length, the data and a NUL unit (an odd length still ends in two zero bytes).
  auto* base = static_cast<uint8_t*>(std::malloc(kPrefix + byteLength + sizeof(OLECHAR) + 1));
  if (!base) return nullptr;
  uint32_t n = static_cast<uint32_t>(byteLength);
  std::memcpy(base, &n, kPrefix);
  if (data)
    std::memcpy(base + kPrefix, data, byteLength);
  else
    std::memset(base + kPrefix, 0, byteLength);
  std::memset(base + kPrefix + byteLength, 0, sizeof(OLECHAR) + 1);
  return reinterpret_cast<BSTR>(base + kPrefix);
}

uint32_t ByteLength(BSTR b) {
  uint32_t n;
  std::memcpy(&n, reinterpret_cast<const uint8_t*>(b) - kPrefix, kPrefix);
  return n;
}

}  // namespace

extern "C" BSTR SysAllocString(const OLECHAR* text) {
  if (!text) return nullptr;
  size_t n = 0;
  while (text[n]) ++n;
  return Allocate(text, n * sizeof(OLECHAR));
}

extern "C" BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  return Allocate(text, size_t{length} * sizeof(OLECHAR));
}

extern "C" BSTR SysAllocStringByteLen(const char* bytes, UINT byteLength) {
  return Allocate(bytes, byteLength);
}

extern "C" void SysFreeString(BSTR text) {
  if (text) std::free(reinterpret_cast<uint8_t*>(text) - kPrefix);
}

extern "C" UINT SysStringLen(BSTR text) {
  return text ? ByteLength(text) / sizeof(OLECHAR) : 0;
}

extern "C" UINT SysStringByteLen(BSTR text) { return text ? ByteLength(text) : 0; }
