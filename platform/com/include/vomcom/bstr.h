// vomcom::Bstr: owns one BSTR; conversions to and from UTF-8 and the desk's narrow code page.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "vomcom/automation.h"

namespace vomcom {

// UTF-8 <-> UTF-16 without the code page (invalid sequences become U+FFFD).
VOMCOM_API std::u16string Utf8ToUtf16(std::string_view utf8);
VOMCOM_API std::string Utf16ToUtf8(std::u16string_view utf16);

class VOMCOM_API Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::string_view utf8);
  explicit Bstr(std::u16string_view text);
  Bstr(const char* utf8) : Bstr(std::string_view(utf8 ? utf8 : "")) {}
  Bstr(const Bstr& o);
  Bstr(Bstr&& o) noexcept : b_(std::exchange(o.b_, nullptr)) {}
  Bstr& operator=(const Bstr& o);
  Bstr& operator=(Bstr&& o) noexcept;
  ~Bstr();

  // Adopts a BSTR the caller owns.
  static Bstr Attach(BSTR b);
  // A copy of a BSTR the caller keeps.
  static Bstr Copy(BSTR b);
  // Reads at most maxBytes of narrow code-page text, stopping at a NUL.
  static Bstr FromNarrow(const char* text, size_t maxBytes);

  BSTR Get() const { return b_; }
  BSTR Detach() { return std::exchange(b_, nullptr); }
  BSTR* Put();  // frees what is held; for out parameters
  size_t Length() const { return SysStringLen(b_); }
  std::u16string_view View() const { return {b_ ? b_ : u"", Length()}; }

  std::string Utf8() const;
  // The whole text in the narrow code page.
  std::string ToNarrow() const;
  // At most fieldSize-1 bytes, cut on a character boundary (the room of a NUL-terminated field).
  std::string ToNarrowCut(size_t fieldSize) const;

 private:
  BSTR b_ = nullptr;
};

}  // namespace vomcom
