// vomcom::PropExchange: one pass of a control's property exchange (reset to defaults, load
// from a property bag, or save to it). A control's DoPropExchange lists its persistent
// properties once; the same list serves all three.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vomcom/automation.h"

namespace vomcom {

class VOMCOM_API PropExchange {
 public:
  enum class Mode { Reset, Load, Save };
  // bag may be null for Reset.
  PropExchange(Mode mode, IPropertyBag* bag) : mode_(mode), bag_(bag) {}

  Mode GetMode() const { return mode_; }
  bool IsLoading() const { return mode_ != Mode::Save; }
  // The first failure of a Save (a bag that refused a write), else S_OK.
  HRESULT Result() const { return result_; }

  // "_Version": written on save; on load the stored one is remembered (LoadedVersion), or the
  // given one when the bag has none.
  void Version(uint32_t version);
  uint32_t LoadedVersion() const { return loadedVersion_; }

  // Each exchanges one property: Save writes it; Load reads it (coerced to the member's type)
  // or takes the default when the bag lacks it or it cannot be coerced; Reset takes the default.
  void Long(const char* name, int32_t& value, int32_t defaultValue);
  void Short(const char* name, int16_t& value, int16_t defaultValue);
  void Bool(const char* name, bool& value, bool defaultValue);
  void Bool(const char* name, int32_t& value, bool defaultValue);  // member 1 or 0
  // A text member kept in the narrow code page (stored in the bag as a BSTR).
  void Text(const char* name, std::string& narrowValue, std::string_view narrowDefault);
  // A text without default: Reset and a Load that finds nothing leave the member as it is.
  void TextNoDefault(const char* name, std::string& narrowValue);

 private:
  bool ReadValue(const char* name, VARTYPE vt, VARIANT* out);
  void WriteValue(const char* name, VARIANT* value);

  Mode mode_;
  IPropertyBag* bag_;
  HRESULT result_ = S_OK;
  uint32_t loadedVersion_ = 0;
};

}  // namespace vomcom
