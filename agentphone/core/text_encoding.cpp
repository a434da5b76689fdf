#include "agentphone/core/text_encoding.h"

#include <iconv.h>

#include <cerrno>

namespace agentphone {
namespace {

size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// One conversion with iconv; each input sequence that does not convert is skipped (one byte,
// or one character of the source) and replaced by '?'.
std::string Convert(const char* to, const char* from, std::string_view in, bool sourceIsUtf8) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  std::string out;
  out.resize(in.size() * 4 + 16);
  char* inPtr = const_cast<char*>(in.data());
  size_t inLeft = in.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  while (inLeft > 0) {
    size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    if (r != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) {
      size_t used = static_cast<size_t>(outPtr - out.data());
      out.resize(out.size() * 2);
      outPtr = out.data() + used;
      outLeft = out.size() - used;
      continue;
    }
    // EILSEQ or EINVAL: skip the offending character and write '?'.
    size_t skip = 1;
    if (sourceIsUtf8) {
      size_t len = Utf8SequenceLength(static_cast<unsigned char>(*inPtr));
      if (len > 1 && len <= inLeft) skip = len;
    } else if (static_cast<unsigned char>(*inPtr) >= 0x81 && inLeft >= 2 &&
               static_cast<unsigned char>(inPtr[1]) >= 0x41) {
      skip = 2;
    }
    inPtr += skip;
    inLeft -= skip;
    if (outLeft == 0) {
      size_t used = static_cast<size_t>(outPtr - out.data());
      out.resize(out.size() * 2);
      outPtr = out.data() + used;
      outLeft = out.size() - used;
    }
    *outPtr++ = '?';
    --outLeft;
  }
  out.resize(static_cast<size_t>(outPtr - out.data()));
  iconv_close(cd);
  return out;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    size_t len = Utf8SequenceLength(c);
    if (len == 0 || i + len > bytes.size()) return false;
    for (size_t k = 1; k < len; ++k) {
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    }
    if (len >= 3) {
      unsigned char c1 = static_cast<unsigned char>(bytes[i + 1]);
      if (c == 0xE0 && c1 < 0xA0) return false;  // overlong
      if (c == 0xED && c1 >= 0xA0) return false;  // surrogates
      if (c == 0xF0 && c1 < 0x90) return false;  // overlong
      if (c == 0xF4 && c1 >= 0x90) return false;  // beyond U+10FFFF
    }
    i += len;
  }
  return true;
}

std::string Cp949ToUtf8(std::string_view bytes) { return Convert("UTF-8", "CP949", bytes, false); }

std::string Utf8ToCp949(std::string_view text) { return Convert("CP949", "UTF-8", text, true); }

size_t Utf8CutLength(std::string_view text, size_t maxBytes) {
  size_t i = 0;
  while (i < text.size()) {
    size_t len = Utf8SequenceLength(static_cast<unsigned char>(text[i]));
    if (len == 0) len = 1;
    if (i + len > maxBytes) break;
    i += len;
  }
  return i > text.size() ? text.size() : i;
}

size_t Cp949CutLength(std::string_view bytes, size_t maxBytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    size_t len = (c >= 0x81 && c <= 0xFE && i + 1 < bytes.size()) ? 2 : 1;
    if (i + len > maxBytes) break;
    i += len;
  }
  return i;
}

}  // namespace agentphone
