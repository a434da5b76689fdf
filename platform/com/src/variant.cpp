// VARIANT: init, clear, copy and the coercion rules of the platform (English locale).
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "vomcom/automation.h"
#include "vomcom/bstr.h"

namespace {

bool KnownType(VARTYPE t) {
  switch (t) {
    case VT_EMPTY: case VT_NULL: case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_CY:
    case VT_DATE: case VT_BSTR: case VT_DISPATCH: case VT_ERROR: case VT_BOOL: case VT_VARIANT:
    case VT_UNKNOWN: case VT_DECIMAL: case VT_I1: case VT_UI1: case VT_UI2: case VT_UI4:
    case VT_I8: case VT_UI8: case VT_INT: case VT_UINT: case VT_RECORD:
      return true;
    default:
      return false;
  }
}

// The value of a VARIANT, whatever its type, as one of a few kinds.
enum class Kind { Empty, Null, Int, UInt, Real, Bool, Text, Unknown, Dispatch, Error, Other };
struct Value {
  Kind kind = Kind::Other;
  int64_t i = 0;
  uint64_t u = 0;
  double d = 0;
  bool b = false;
  BSTR s = nullptr;      // borrowed
  IUnknown* p = nullptr;  // borrowed
  SCODE e = 0;
  bool single = false;  // an R4 (formatted with 7 digits)
};

// Reads a VARIANT after following BYREF; false when the pointer of a BYREF is null.
bool ReadValue(const VARIANT& v, Value* out) {
  VARTYPE t = v.vt;
  const bool ref = (t & VT_BYREF) != 0;
  VARTYPE base = static_cast<VARTYPE>(t & ~VT_BYREF);
  if (ref && !v.byref) return false;
  Value r;
  switch (base) {
    case VT_EMPTY: r.kind = Kind::Empty; break;
    case VT_NULL: r.kind = Kind::Null; break;
    case VT_I1: r.kind = Kind::Int; r.i = ref ? *reinterpret_cast<const signed char*>(v.byref) : static_cast<signed char>(v.cVal); break;
    case VT_UI1: r.kind = Kind::Int; r.i = ref ? *v.pbVal : v.bVal; break;
    case VT_I2: r.kind = Kind::Int; r.i = ref ? *v.piVal : v.iVal; break;
    case VT_UI2: r.kind = Kind::Int; r.i = ref ? *reinterpret_cast<const uint16_t*>(v.byref) : v.uiVal; break;
    case VT_I4: case VT_INT: r.kind = Kind::Int; r.i = ref ? *v.plVal : v.lVal; break;
    case VT_UI4: case VT_UINT: r.kind = Kind::Int; r.i = ref ? *reinterpret_cast<const uint32_t*>(v.byref) : v.ulVal; break;
    case VT_I8: r.kind = Kind::Int; r.i = ref ? *v.pllVal : v.llVal; break;
    case VT_UI8: {
      uint64_t u = ref ? *reinterpret_cast<const uint64_t*>(v.byref) : v.ullVal;
      if (u <= static_cast<uint64_t>(INT64_MAX)) {
        r.kind = Kind::Int;
        r.i = static_cast<int64_t>(u);
      } else {
        r.kind = Kind::UInt;
        r.u = u;
      }
      break;
    }
    case VT_R4: r.kind = Kind::Real; r.single = true; r.d = ref ? *v.pfltVal : v.fltVal; break;
    case VT_R8: r.kind = Kind::Real; r.d = ref ? *v.pdblVal : v.dblVal; break;
    case VT_BOOL: r.kind = Kind::Bool; r.b = (ref ? *v.pboolVal : v.boolVal) != 0; break;
    case VT_BSTR: r.kind = Kind::Text; r.s = ref ? *v.pbstrVal : v.bstrVal; break;
    case VT_ERROR: r.kind = Kind::Error; r.e = ref ? *v.pscode : v.scode; break;
    case VT_UNKNOWN: r.kind = Kind::Unknown; r.p = ref ? *v.ppunkVal : v.punkVal; break;
    case VT_DISPATCH: r.kind = Kind::Dispatch; r.p = ref ? *v.ppdispVal : v.pdispVal; break;
    default: r.kind = Kind::Other; break;
  }
  *out = r;
  return true;
}

// Follows VT_BYREF|VT_VARIANT to the VARIANT it points to.
const VARIANT* Deref(const VARIANT* v) {
  int depth = 0;
  while (v && v->vt == (VT_BYREF | VT_VARIANT)) {
    if (++depth > 8) return nullptr;
    v = v->pvarVal;
  }
  return v;
}

double RoundHalfEven(double d) {
  double f = std::floor(d);
  double diff = d - f;
  if (diff > 0.5) return f + 1;
  if (diff < 0.5) return f;
  return std::fmod(f, 2.0) == 0 ? f : f + 1;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// Numeric text: blanks around, a sign or parentheses, &H/&O, thousands separators before the
// point, a decimal point, an exponent; the whole text must be used.
bool ParseNumber(BSTR s, Value* out) {
  std::u16string_view t(s ? s : u"", SysStringLen(s));
  while (!t.empty() && IsBlank(t.front())) t.remove_prefix(1);
  while (!t.empty() && IsBlank(t.back())) t.remove_suffix(1);
  bool negative = false;
  if (t.size() >= 2 && t.front() == u'(' && t.back() == u')') {
    negative = true;
    t = t.substr(1, t.size() - 2);
    while (!t.empty() && IsBlank(t.front())) t.remove_prefix(1);
    while (!t.empty() && IsBlank(t.back())) t.remove_suffix(1);
  }
  if (!t.empty() && (t.front() == u'+' || t.front() == u'-')) {
    if (t.front() == u'-') negative = !negative;
    t.remove_prefix(1);
  }
  if (t.size() > 2 && t[0] == u'&' && (t[1] == u'H' || t[1] == u'h' || t[1] == u'O' || t[1] == u'o')) {
    const int base = (t[1] == u'H' || t[1] == u'h') ? 16 : 8;
    uint64_t v = 0;
    for (char16_t c : t.substr(2)) {
      int digit = -1;
      if (c >= u'0' && c <= u'9') digit = c - u'0';
      else if (base == 16 && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
      else if (base == 16 && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
      if (digit < 0 || digit >= base) return false;
      if (v > (UINT64_MAX >> 4)) return false;
      v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    }
    if (v > static_cast<uint64_t>(INT64_MAX)) return false;
    out->kind = Kind::Int;
    out->i = negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v);
    return true;
  }
  std::string clean;
  size_t i = 0;
  int digits = 0;
  bool fraction = false;
  bool exponent = false;
  for (; i < t.size() && ((t[i] >= u'0' && t[i] <= u'9') || t[i] == u','); ++i) {
    if (t[i] == u',') {
      if (digits == 0) return false;
      continue;
    }
    clean.push_back(static_cast<char>(t[i]));
    ++digits;
  }
  if (i < t.size() && t[i] == u'.') {
    fraction = true;
    clean.push_back('.');
    for (++i; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i) {
      clean.push_back(static_cast<char>(t[i]));
      ++digits;
    }
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
    exponent = true;
    clean.push_back('e');
    ++i;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) clean.push_back(static_cast<char>(t[i++]));
    int expDigits = 0;
    for (; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i, ++expDigits)
      clean.push_back(static_cast<char>(t[i]));
    if (expDigits == 0) return false;
  }
  if (i != t.size()) return false;
  if (!fraction && !exponent && clean.size() <= 18) {
    out->kind = Kind::Int;
    out->i = std::strtoll(clean.c_str(), nullptr, 10);
    if (negative) out->i = -out->i;
    return true;
  }
  errno = 0;
  double d = std::strtod(clean.c_str(), nullptr);
  out->kind = Kind::Real;
  out->d = negative ? -d : d;
  return true;
}

bool EqualsIgnoreCase(BSTR s, std::u16string_view word) {
  if (SysStringLen(s) != word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    char16_t a = s[i], b = word[i];
    if (a >= u'A' && a <= u'Z') a = static_cast<char16_t>(a - u'A' + u'a');
    if (b >= u'A' && b <= u'Z') b = static_cast<char16_t>(b - u'A' + u'a');
    if (a != b) return false;
  }
  return true;
}

bool EqualsExactly(BSTR s, std::u16string_view word) {
  return SysStringLen(s) == word.size() && std::u16string_view(s, word.size()) == word;
}

struct IntRange {
  int64_t min;
  uint64_t max;
  bool isUnsigned;
};

bool IntegerTarget(VARTYPE vt, IntRange* r) {
  switch (vt) {
    case VT_I1: *r = {INT8_MIN, INT8_MAX, false}; return true;
    case VT_UI1: *r = {0, UINT8_MAX, true}; return true;
    case VT_I2: *r = {INT16_MIN, INT16_MAX, false}; return true;
    case VT_UI2: *r = {0, UINT16_MAX, true}; return true;
    case VT_I4: case VT_INT: *r = {INT32_MIN, INT32_MAX, false}; return true;
    case VT_UI4: case VT_UINT: *r = {0, UINT32_MAX, true}; return true;
    case VT_I8: *r = {INT64_MIN, INT64_MAX, false}; return true;
    case VT_UI8: *r = {0, UINT64_MAX, true}; return true;
    default: return false;
  }
}

void StoreInteger(VARTYPE vt, uint64_t bits, VARIANT* out) {
  out->vt = vt;
  switch (vt) {
    case VT_I1: out->cVal = static_cast<char>(bits); break;
    case VT_UI1: out->bVal = static_cast<BYTE>(bits); break;
    case VT_I2: out->iVal = static_cast<int16_t>(bits); break;
    case VT_UI2: out->uiVal = static_cast<uint16_t>(bits); break;
    case VT_I4: case VT_INT: out->lVal = static_cast<LONG>(bits); break;
    case VT_UI4: case VT_UINT: out->ulVal = static_cast<ULONG>(bits); break;
    default: out->ullVal = bits; break;
  }
}

HRESULT ToInteger(const Value& v, VARTYPE vt, const IntRange& range, VARIANT* out) {
  switch (v.kind) {
    case Kind::Empty:
      StoreInteger(vt, 0, out);
      return S_OK;
    case Kind::Bool:
      // True is -1: all bits set in an unsigned target.
      StoreInteger(vt, v.b ? (range.isUnsigned ? range.max : static_cast<uint64_t>(-1)) : 0, out);
      return S_OK;
    case Kind::Int:
      if (v.i < range.min || (v.i >= 0 && static_cast<uint64_t>(v.i) > range.max))
        return DISP_E_OVERFLOW;
      StoreInteger(vt, static_cast<uint64_t>(v.i), out);
      return S_OK;
    case Kind::UInt:
      if (v.u > range.max) return DISP_E_OVERFLOW;
      StoreInteger(vt, v.u, out);
      return S_OK;
    case Kind::Real: {
      if (std::isnan(v.d)) return DISP_E_OVERFLOW;
      double r = RoundHalfEven(v.d);
      if (r < static_cast<double>(range.min) || r >= static_cast<double>(range.max) + 1.0)
        return DISP_E_OVERFLOW;
      if (r < 0) {
        StoreInteger(vt, static_cast<uint64_t>(static_cast<int64_t>(r)), out);
      } else {
        StoreInteger(vt, static_cast<uint64_t>(r), out);
      }
      return S_OK;
    }
    case Kind::Text: {
      Value n;
      if (!ParseNumber(v.s, &n)) return DISP_E_TYPEMISMATCH;
      return ToInteger(n, vt, range, out);
    }
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

HRESULT ToReal(const Value& v, double* d) {
  switch (v.kind) {
    case Kind::Empty: *d = 0; return S_OK;
    case Kind::Bool: *d = v.b ? -1.0 : 0.0; return S_OK;
    case Kind::Int: *d = static_cast<double>(v.i); return S_OK;
    case Kind::UInt: *d = static_cast<double>(v.u); return S_OK;
    case Kind::Real: *d = v.d; return S_OK;
    case Kind::Text: {
      Value n;
      if (!ParseNumber(v.s, &n)) return DISP_E_TYPEMISMATCH;
      return ToReal(n, d);
    }
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

HRESULT ToBool(const Value& v, bool* b) {
  switch (v.kind) {
    case Kind::Empty: *b = false; return S_OK;
    case Kind::Bool: *b = v.b; return S_OK;
    case Kind::Int: *b = v.i != 0; return S_OK;
    case Kind::UInt: *b = true; return S_OK;
    case Kind::Real: *b = v.d != 0; return S_OK;
    case Kind::Text: {
      if (EqualsIgnoreCase(v.s, u"True") || EqualsExactly(v.s, u"#TRUE#")) { *b = true; return S_OK; }
      if (EqualsIgnoreCase(v.s, u"False") || EqualsExactly(v.s, u"#FALSE#")) { *b = false; return S_OK; }
      Value n;
      if (!ParseNumber(v.s, &n)) return DISP_E_TYPEMISMATCH;
      return ToBool(n, b);
    }
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

std::string FormatReal(double d, bool single) {
  if (d == 0) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, single ? "%.7G" : "%.15G", d);
  return buf;
}

HRESULT ToText(const Value& v, uint16_t flags, BSTR* out) {
  std::string s;
  switch (v.kind) {
    case Kind::Empty: break;
    case Kind::Bool:
      if (flags & (VARIANT_ALPHABOOL | VARIANT_LOCALBOOL))
        s = v.b ? "True" : "False";
      else
        s = v.b ? "-1" : "0";
      break;
    case Kind::Int: s = std::to_string(v.i); break;
    case Kind::UInt: s = std::to_string(v.u); break;
    case Kind::Real: s = FormatReal(v.d, v.single); break;
    case Kind::Text:
      *out = SysAllocStringLen(v.s, SysStringLen(v.s));
      return *out ? S_OK : E_OUTOFMEMORY;
    default:
      return DISP_E_TYPEMISMATCH;
  }
  std::u16string u(s.begin(), s.end());
  *out = SysAllocStringLen(u.data(), static_cast<UINT>(u.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

// The conversion of one value into a fresh VARIANT.
HRESULT Convert(const Value& v, uint16_t flags, VARTYPE vt, VARIANT* out) {
  VariantInit(out);
  if (v.kind == Kind::Other) return DISP_E_TYPEMISMATCH;
  IntRange range;
  if (IntegerTarget(vt, &range)) return ToInteger(v, vt, range, out);
  switch (vt) {
    case VT_EMPTY:
      return S_OK;
    case VT_NULL:
      if (v.kind != Kind::Null) return DISP_E_TYPEMISMATCH;
      out->vt = VT_NULL;
      return S_OK;
    case VT_R8:
    case VT_R4: {
      double d;
      HRESULT hr = ToReal(v, &d);
      if (FAILED(hr)) return hr;
      if (vt == VT_R4) {
        if (std::isfinite(d) && std::fabs(d) > FLT_MAX) return DISP_E_OVERFLOW;
        out->fltVal = static_cast<float>(d);
      } else {
        out->dblVal = d;
      }
      out->vt = vt;
      return S_OK;
    }
    case VT_BOOL: {
      bool b;
      HRESULT hr = ToBool(v, &b);
      if (FAILED(hr)) return hr;
      out->vt = VT_BOOL;
      out->boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
    }
    case VT_BSTR: {
      BSTR s = nullptr;
      HRESULT hr = ToText(v, flags, &s);
      if (FAILED(hr)) return hr;
      out->vt = VT_BSTR;
      out->bstrVal = s;
      return S_OK;
    }
    case VT_ERROR:
      if (v.kind != Kind::Error) return DISP_E_TYPEMISMATCH;
      out->vt = VT_ERROR;
      out->scode = v.e;
      return S_OK;
    case VT_UNKNOWN:
      if (v.kind != Kind::Unknown && v.kind != Kind::Dispatch) return DISP_E_TYPEMISMATCH;
      out->vt = VT_UNKNOWN;
      out->punkVal = v.p;
      if (v.p) v.p->AddRef();
      return S_OK;
    case VT_DISPATCH:
      if (v.kind == Kind::Dispatch) {
        out->vt = VT_DISPATCH;
        out->pdispVal = reinterpret_cast<IDispatch*>(v.p);
        if (v.p) v.p->AddRef();
        return S_OK;
      }
      if (v.kind == Kind::Unknown) {
        IDispatch* d = nullptr;
        if (v.p && FAILED(v.p->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&d))))
          return DISP_E_TYPEMISMATCH;
        out->vt = VT_DISPATCH;
        out->pdispVal = d;
        return S_OK;
      }
      return DISP_E_TYPEMISMATCH;
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

}  // namespace

extern "C" void VariantInit(VARIANT* v) {
  if (v) std::memset(v, 0, sizeof *v);
}

extern "C" HRESULT VariantClear(VARIANT* v) {
  if (!v) return E_INVALIDARG;
  if (v->vt & (VT_ARRAY | VT_VECTOR)) return DISP_E_BADVARTYPE;
  if (!(v->vt & VT_BYREF)) {
    switch (v->vt) {
      case VT_BSTR: SysFreeString(v->bstrVal); break;
      case VT_DISPATCH:
      case VT_UNKNOWN:
        if (v->punkVal) v->punkVal->Release();
        break;
      default: break;
    }
  }
  std::memset(v, 0, sizeof *v);
  return S_OK;
}

extern "C" HRESULT VariantCopy(VARIANT* dst, const VARIANT* src) {
  if (!dst || !src) return E_INVALIDARG;
  if (dst == src) return S_OK;
  if (src->vt & (VT_ARRAY | VT_VECTOR)) return DISP_E_BADVARTYPE;
  if (!KnownType(static_cast<VARTYPE>(src->vt & ~VT_BYREF))) return DISP_E_BADVARTYPE;
  VARIANT copy = *src;
  if (!(src->vt & VT_BYREF)) {
    if (src->vt == VT_BSTR) {
      copy.bstrVal = SysAllocStringLen(src->bstrVal, SysStringLen(src->bstrVal));
      if (!copy.bstrVal) return E_OUTOFMEMORY;
    } else if ((src->vt == VT_DISPATCH || src->vt == VT_UNKNOWN) && src->punkVal) {
      src->punkVal->AddRef();
    }
  }
  VariantClear(dst);
  *dst = copy;
  return S_OK;
}

extern "C" HRESULT VariantChangeType(VARIANT* dst, const VARIANT* src, uint16_t flags,
                                     VARTYPE vt) {
  if (!dst || !src) return E_INVALIDARG;
  if (!KnownType(static_cast<VARTYPE>(vt & ~(VT_BYREF | VT_ARRAY | VT_VECTOR))))
    return DISP_E_BADVARTYPE;
  if (vt & (VT_BYREF | VT_ARRAY | VT_VECTOR)) return DISP_E_TYPEMISMATCH;
  if (src->vt & (VT_ARRAY | VT_VECTOR)) return DISP_E_TYPEMISMATCH;
  const VARIANT* s = Deref(src);
  if (!s) return DISP_E_TYPEMISMATCH;
  if (!KnownType(static_cast<VARTYPE>(s->vt & ~VT_BYREF))) return DISP_E_BADVARTYPE;
  Value v;
  if (!ReadValue(*s, &v)) return DISP_E_TYPEMISMATCH;
  VARIANT result;
  HRESULT hr = Convert(v, flags, vt, &result);
  if (FAILED(hr)) {
    VariantClear(&result);
    return hr;
  }
  VariantClear(dst);
  *dst = result;
  return S_OK;
}
