// vomcom::Bstr.
#include <utility>

#include "code_page.h"
#include "vomcom/bstr.h"

namespace vomcom {

Bstr::Bstr(std::string_view utf8) : Bstr(std::u16string_view(Utf8ToUtf16(utf8))) {}

Bstr::Bstr(std::u16string_view text)
    : b_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}

Bstr::Bstr(const Bstr& o) : b_(o.b_ ? SysAllocStringLen(o.b_, SysStringLen(o.b_)) : nullptr) {}

Bstr& Bstr::operator=(const Bstr& o) {
  if (this != &o) {
    Bstr copy(o);
    std::swap(b_, copy.b_);
  }
  return *this;
}

Bstr& Bstr::operator=(Bstr&& o) noexcept {
  if (this != &o) {
    SysFreeString(b_);
    b_ = std::exchange(o.b_, nullptr);
  }
  return *this;
}

Bstr::~Bstr() { SysFreeString(b_); }

Bstr Bstr::Attach(BSTR b) {
  Bstr r;
  r.b_ = b;
  return r;
}

Bstr Bstr::Copy(BSTR b) {
  Bstr r;
  if (b) r.b_ = SysAllocStringLen(b, SysStringLen(b));
  return r;
}

Bstr Bstr::FromNarrow(const char* text, size_t maxBytes) {
  return Attach(VcBstrFromNarrow(text, maxBytes));
}

BSTR* Bstr::Put() {
  SysFreeString(b_);
  b_ = nullptr;
  return &b_;
}

std::string Bstr::Utf8() const { return Utf16ToUtf8(View()); }

std::string Bstr::ToNarrow() const { return detail::NarrowFromUtf16(View(), std::string::npos); }

std::string Bstr::ToNarrowCut(size_t fieldSize) const {
  if (fieldSize == 0) return {};
  return detail::NarrowFromUtf16(View(), fieldSize - 1);
}

}  // namespace vomcom
