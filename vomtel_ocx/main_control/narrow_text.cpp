#include "vomtel_ocx/main_control/narrow_text.h"

#include <cstring>
#include <vector>

#include "vomcom/automation.h"
#include "vomcom/bstr.h"

namespace vomtelx {

std::string NarrowText(std::u16string_view text) {
  if (text.empty()) return {};
  // As long as the conversion makes it: a unit may take more than two bytes (three in UTF-8).
  return vomcom::Bstr(text).ToNarrow();
}

std::size_t CopyNarrow(std::u16string_view text, char* field, std::size_t size) {
  if (size == 0) return 0;
  if (text.empty()) {
    field[0] = '\0';
    return 0;
  }
  const vomcom::Bstr bstr(text);
  return VcBstrToNarrow(bstr.Get(), field, size);
}

std::size_t CopyNarrowFill(std::u16string_view text, char* field, std::size_t width) {
  std::vector<char> room(width + 1);
  const std::size_t copied = CopyNarrow(text, room.data(), room.size());
  std::memcpy(field, room.data(), copied);
  return copied;
}

std::string NarrowCut(std::u16string_view text, std::size_t size) {
  if (size == 0) return {};
  std::string out(size, '\0');
  out.resize(CopyNarrow(text, out.data(), size));
  return out;
}

std::u16string WideText(const char* narrow, std::size_t maxBytes) {
  if (narrow == nullptr) return {};
  const vomcom::Bstr bstr = vomcom::Bstr::Attach(VcBstrFromNarrow(narrow, maxBytes));
  return std::u16string(bstr.View());
}

}  // namespace vomtelx
