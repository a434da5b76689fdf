// vomcom::Variant: owns one VARIANT (VariantClear on destruction).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vomcom/automation.h"
#include "vomcom/bstr.h"

namespace vomcom {

class VOMCOM_API Variant {
 public:
  Variant() { VariantInit(&v_); }
  Variant(int16_t i);
  Variant(int32_t i);
  Variant(int64_t i);
  Variant(double d);
  Variant(bool b);  // VT_BOOL, -1 or 0
  Variant(const Bstr& text);
  Variant(Bstr&& text);
  Variant(std::string_view utf8);
  Variant(const char* utf8);
  Variant(IDispatch* d);  // AddRef'd
  Variant(const VARIANT& v);  // a copy
  Variant(const Variant& o);
  Variant(Variant&& o) noexcept;
  Variant& operator=(const Variant& o);
  Variant& operator=(Variant&& o) noexcept;
  ~Variant() { VariantClear(&v_); }

  // BYREF variants: the pointer stays the caller's.
  static Variant ByRef(int16_t* p);
  static Variant ByRef(int32_t* p);
  static Variant ByRef(int64_t* p);
  static Variant ByRef(double* p);
  static Variant ByRefBool(VARIANT_BOOL* p);  // VT_BOOL|VT_BYREF (VARIANT_BOOL is an int16_t)
  static Variant ByRef(BSTR* p);
  static Variant ByRef(VARIANT* p);
  // Adopts a VARIANT the caller owns (its contents move in; v is left VT_EMPTY).
  static Variant Attach(VARIANT* v);

  VARIANT* Get() { return &v_; }
  const VARIANT* Get() const { return &v_; }
  VARTYPE Type() const { return v_.vt; }
  VARIANT* Put();  // clears what is held; for out parameters
  VARIANT Detach();  // the caller owns the result; this becomes VT_EMPTY

  // Coercions with the platform's rules (BYREF followed).
  HRESULT ToI4(int32_t* out) const;
  HRESULT ToI2(int16_t* out) const;
  HRESULT ToR8(double* out) const;
  HRESULT ToBool(bool* out) const;
  HRESULT ToText(std::string* utf8) const;
  // Value or the fallback when the coercion fails.
  int32_t ToI4(int32_t fallback = 0) const;
  std::string ToText() const;

 private:
  VARIANT v_;
};

}  // namespace vomcom
