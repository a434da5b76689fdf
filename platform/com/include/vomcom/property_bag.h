// vomcom::MemoryPropertyBag: an IPropertyBag of name -> VARIANT pairs (names compared without
// regard to ASCII case), with a text-file form for hosts that keep their controls' properties.
//
// Text file (UTF-8, one property a line, '#' starts a comment line):
//   Name=I4:9500
//   Name=BOOL:-1
//   Name=BSTR:text with \\ \n \r \t escapes
// The types are those a VARIANT of the bag holds: EMPTY, I2, I4, I8, R8, BOOL, BSTR.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "vomcom/automation.h"
#include "vomcom/com_ptr.h"
#include "vomcom/variant.h"

namespace vomcom {

class VOMCOM_API MemoryPropertyBag final : public IPropertyBag {
 public:
  static ComPtr<MemoryPropertyBag> Create();

  HRESULT QueryInterface(REFIID iid, void** out) override;
  ULONG AddRef() override;
  ULONG Release() override;
  // Read: E_INVALIDARG when the name is missing; when *value comes with a type other than
  // VT_EMPTY the stored value is coerced to it (DISP_E_TYPEMISMATCH...).
  HRESULT Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
  HRESULT Write(LPCOLESTR name, VARIANT* value) override;

  // Direct access for hosts and tests (UTF-8 names).
  void Set(std::string_view name, const Variant& value);
  const VARIANT* Find(std::string_view name) const;  // null when missing
  bool Remove(std::string_view name);
  std::vector<std::string> Names() const;  // in the order first written
  size_t Size() const { return items_.size(); }
  void Clear() { items_.clear(); }

  // Replaces the contents with the file's; E_FAIL for an unreadable file, DISP_E_TYPEMISMATCH
  // for a malformed line (nothing replaced then).
  HRESULT LoadTextFile(const std::string& path);
  // Written whole to a temporary file and renamed over path.
  HRESULT SaveTextFile(const std::string& path) const;

 private:
  MemoryPropertyBag() = default;
  ~MemoryPropertyBag() = default;
  struct Item {
    std::string name;
    Variant value;
  };
  Item* FindItem(std::string_view name);
  const Item* FindItem(std::string_view name) const;

  std::atomic<ULONG> refs_{0};
  std::vector<Item> items_;
};

}  // namespace vomcom
