// vomcom::Variant.
#include "vomcom/variant.h"

namespace vomcom {

Variant::Variant(int16_t i) : Variant() { v_.vt = VT_I2; v_.iVal = i; }
Variant::Variant(int32_t i) : Variant() { v_.vt = VT_I4; v_.lVal = i; }
Variant::Variant(int64_t i) : Variant() { v_.vt = VT_I8; v_.llVal = i; }
Variant::Variant(double d) : Variant() { v_.vt = VT_R8; v_.dblVal = d; }
Variant::Variant(bool b) : Variant() { v_.vt = VT_BOOL; v_.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE; }
Variant::Variant(const Bstr& t) : Variant() { v_.vt = VT_BSTR; v_.bstrVal = Bstr(t).Detach(); }
Variant::Variant(Bstr&& t) : Variant() { v_.vt = VT_BSTR; v_.bstrVal = t.Detach(); }
Variant::Variant(std::string_view t) : Variant(Bstr(t)) {}
Variant::Variant(const char* t) : Variant(Bstr(t)) {}
Variant::Variant(IDispatch* d) : Variant() { v_.vt = VT_DISPATCH; v_.pdispVal = d; if (d) d->AddRef(); }
Variant::Variant(const VARIANT& v) : Variant() { VariantCopy(&v_, &v); }
Variant::Variant(const Variant& o) : Variant() { VariantCopy(&v_, &o.v_); }
Variant::Variant(Variant&& o) noexcept : v_(o.v_) { VariantInit(&o.v_); }
Variant& Variant::operator=(const Variant& o) { VariantCopy(&v_, &o.v_); return *this; }
Variant& Variant::operator=(Variant&& o) noexcept { if (this != &o) { VariantClear(&v_); v_ = o.v_; VariantInit(&o.v_); } return *this; }
Variant Variant::ByRef(int16_t* p) { Variant r; r.v_.vt = VT_I2 | VT_BYREF; r.v_.piVal = p; return r; }
Variant Variant::ByRef(int32_t* p) { Variant r; r.v_.vt = VT_I4 | VT_BYREF; r.v_.plVal = p; return r; }
Variant Variant::ByRef(int64_t* p) { Variant r; r.v_.vt = VT_I8 | VT_BYREF; r.v_.pllVal = p; return r; }
Variant Variant::ByRef(double* p) { Variant r; r.v_.vt = VT_R8 | VT_BYREF; r.v_.pdblVal = p; return r; }
Variant Variant::ByRefBool(VARIANT_BOOL* p) { Variant r; r.v_.vt = VT_BOOL | VT_BYREF; r.v_.pboolVal = p; return r; }
Variant Variant::ByRef(BSTR* p) { Variant r; r.v_.vt = VT_BSTR | VT_BYREF; r.v_.pbstrVal = p; return r; }
Variant Variant::ByRef(VARIANT* p) { Variant r; r.v_.vt = VT_VARIANT | VT_BYREF; r.v_.pvarVal = p; return r; }
Variant Variant::Attach(VARIANT* v) { Variant r; r.v_ = *v; VariantInit(v); return r; }
VARIANT* Variant::Put() { VariantClear(&v_); return &v_; }
VARIANT Variant::Detach() { VARIANT r = v_; VariantInit(&v_); return r; }
HRESULT Variant::ToI4(int32_t* out) const {
  VARIANT r;
  VariantInit(&r);
  HRESULT hr = VariantChangeType(&r, &v_, 0, VT_I4);
  if (SUCCEEDED(hr) && out) *out = r.lVal;
  return hr;
}
HRESULT Variant::ToI2(int16_t* out) const {
  VARIANT r;
  VariantInit(&r);
  HRESULT hr = VariantChangeType(&r, &v_, 0, VT_I2);
  if (SUCCEEDED(hr) && out) *out = r.iVal;
  return hr;
}
HRESULT Variant::ToR8(double* out) const {
  VARIANT r;
  VariantInit(&r);
  HRESULT hr = VariantChangeType(&r, &v_, 0, VT_R8);
  if (SUCCEEDED(hr) && out) *out = r.dblVal;
  return hr;
}
HRESULT Variant::ToBool(bool* out) const {
  VARIANT r;
  VariantInit(&r);
  HRESULT hr = VariantChangeType(&r, &v_, 0, VT_BOOL);
  if (SUCCEEDED(hr) && out) *out = r.boolVal != 0;
  return hr;
}
HRESULT Variant::ToText(std::string* out) const {
  VARIANT r;
  VariantInit(&r);
  HRESULT hr = VariantChangeType(&r, &v_, VARIANT_ALPHABOOL, VT_BSTR);
  if (SUCCEEDED(hr)) {
    Bstr b = Bstr::Attach(r.bstrVal);
    if (out) *out = b.Utf8();
  }
  return hr;
}
int32_t Variant::ToI4(int32_t fallback) const {
  int32_t v = fallback;
  return SUCCEEDED(ToI4(&v)) ? v : fallback;
}
std::string Variant::ToText() const {
  std::string s;
  ToText(&s);
  return s;
}


}  // namespace vomcom
