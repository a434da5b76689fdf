// Invoke over one member of a member table: argument order, count, coercion, BYREF and errors.
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "vomcom/bstr.h"
#include "vomcom/dispatch_table.h"

namespace vomcom {
namespace {

VARIANT Coerced(const VARIANT* v, VARTYPE vt) {
  VARIANT r;
  VariantInit(&r);
  if (v) VariantChangeType(&r, v, 0, vt);
  return r;
}

const VARIANT* Deref(const VARIANT* v) {
  for (int depth = 0; v && v->vt == (VT_VARIANT | VT_BYREF); ++depth) {
    if (depth > 8) return nullptr;
    v = v->pvarVal;
  }
  return v;
}

bool IsMissing(const VARIANT* v) {
  v = Deref(v);
  return v && v->vt == VT_ERROR && v->scode == DISP_E_PARAMNOTFOUND;
}

void FillException(EXCEPINFO* info, const char* source, const std::string& text) {
  if (!info) return;
  *info = EXCEPINFO{};
  info->bstrSource = Bstr(source ? source : "").Detach();
  info->bstrDescription = Bstr(text).Detach();
  info->scode = E_FAIL;
}

// Runs a handler; an escaping exception becomes DISP_E_EXCEPTION.
template <class F>
HRESULT Guarded(const MemberDesc& m, EXCEPINFO* info, F&& f) {
  try {
    return f();
  } catch (const std::exception& e) {
    FillException(info, m.name, e.what());
  } catch (...) {
    FillException(info, m.name, "unknown exception");
  }
  return DISP_E_EXCEPTION;
}

void HandOver(VARIANT* produced, VARIANT* result) {
  if (result) {
    VariantClear(result);
    *result = *produced;
  } else {
    VariantClear(produced);
  }
}

HRESULT InvokeProperty(const MemberDesc& m, MemberCall& call, WORD flags, DISPPARAMS* p,
                       VARIANT* result, EXCEPINFO* info, UINT* argErr) {
  const UINT cArgs = p ? p->cArgs : 0;
  const UINT cNamed = p ? p->cNamedArgs : 0;
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    if (!m.hasPut) return VC_E_SETNOTSUPPORTED;
    if (cArgs != 1 || !p->rgvarg) return DISP_E_BADPARAMCOUNT;
    if (cNamed > 1) return DISP_E_BADPARAMCOUNT;
    if (cNamed == 1 && (!p->rgdispidNamedArgs || p->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)) {
      if (argErr) *argErr = 0;
      return DISP_E_PARAMNOTFOUND;
    }
    const VARIANT* src = &p->rgvarg[0];
    if (m.type == VT_VARIANT) {
      const VARIANT* v = Deref(src);
      if (!v) return DISP_E_TYPEMISMATCH;
      return Guarded(m, info, [&] { return call.Put(*v); });
    }
    VARIANT value;
    VariantInit(&value);
    HRESULT hr = VariantChangeType(&value, src, 0, m.type);
    if (FAILED(hr)) {
      if (argErr) *argErr = 0;
      return IsMissing(src) ? DISP_E_PARAMNOTOPTIONAL : hr;
    }
    hr = Guarded(m, info, [&] { return call.Put(value); });
    VariantClear(&value);
    return hr;
  }
  if (!(flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) || !m.hasGet)
    return DISP_E_MEMBERNOTFOUND;
  if (cArgs != 0) return DISP_E_BADPARAMCOUNT;
  VARIANT produced;
  VariantInit(&produced);
  HRESULT hr = Guarded(m, info, [&] { return call.Get(&produced); });
  if (FAILED(hr)) {
    VariantClear(&produced);
    return hr;
  }
  HandOver(&produced, result);
  return hr;
}

HRESULT InvokeMethod(const MemberDesc& m, MemberCall& call, WORD flags, DISPPARAMS* p,
                     VARIANT* result, EXCEPINFO* info, UINT* argErr) {
  if (!(flags & DISPATCH_METHOD) || !m.hasMethod) return DISP_E_MEMBERNOTFOUND;
  const UINT cArgs = p ? p->cArgs : 0;
  const UINT cNamed = p ? p->cNamedArgs : 0;
  if (cNamed > 0) return DISP_E_NONAMEDARGS;
  if (cArgs != m.params->size() || (cArgs > 0 && !p->rgvarg)) return DISP_E_BADPARAMCOUNT;

  const size_t n = cArgs;
  std::vector<VARIANT> args(n), owned(n);
  std::vector<VARIANT*> writeBack(n, nullptr);
  for (size_t i = 0; i < n; ++i) {
    VariantInit(&args[i]);
    VariantInit(&owned[i]);
  }
  auto cleanup = [&] {
    for (size_t i = 0; i < n; ++i) VariantClear(&owned[i]);
  };

  HRESULT hr = S_OK;
  for (size_t i = 0; i < n && SUCCEEDED(hr); ++i) {
    const UINT slot = static_cast<UINT>(n - 1 - i);  // rgvarg is in reversed order
    VARIANT* src = &p->rgvarg[slot];
    const VARTYPE type = (*m.params)[i];
    if (type == VT_VARIANT) {
      const VARIANT* v = Deref(src);
      if (!v) hr = DISP_E_TYPEMISMATCH;
      args[i].vt = VT_VARIANT | VT_BYREF;
      args[i].pvarVal = const_cast<VARIANT*>(v);
    } else if (type & VT_BYREF) {
      const VARTYPE base = static_cast<VARTYPE>(type & ~VT_BYREF);
      if (src->vt == type) {
        if (!src->byref) hr = DISP_E_TYPEMISMATCH;
        args[i] = *src;
      } else if (src->vt == (VT_VARIANT | VT_BYREF)) {
        VARIANT* inner = const_cast<VARIANT*>(Deref(src));
        if (!inner) {
          hr = DISP_E_TYPEMISMATCH;
        } else if (inner->vt == base) {
          // The caller's VARIANT holds the type: the handler writes into it directly.
          args[i].vt = type;
          args[i].byref = &inner->llVal;
        } else if (inner->vt == type && inner->byref) {
          args[i] = *inner;
        } else {
          // Coerced into our own storage, then written back as the declared type.
          hr = VariantChangeType(&owned[i], inner, 0, base);
          args[i].vt = type;
          args[i].byref = &owned[i].llVal;
          writeBack[i] = inner;
        }
      } else {
        hr = DISP_E_TYPEMISMATCH;
      }
      if (FAILED(hr) && argErr) *argErr = slot;
    } else {
      hr = VariantChangeType(&owned[i], src, 0, type);
      if (FAILED(hr)) {
        if (IsMissing(src)) hr = DISP_E_PARAMNOTOPTIONAL;
        if (argErr) *argErr = slot;
      }
      args[i] = owned[i];
    }
  }
  if (FAILED(hr)) {
    cleanup();
    return hr;
  }

  VARIANT produced;
  VariantInit(&produced);
  Args a{args.data(), n};
  hr = Guarded(m, info, [&] { return call.Method(a, &produced); });
  for (size_t i = 0; i < n; ++i) {
    if (writeBack[i]) {
      VariantClear(writeBack[i]);
      *writeBack[i] = owned[i];
      VariantInit(&owned[i]);
    }
  }
  cleanup();
  if (FAILED(hr)) {
    VariantClear(&produced);
    return hr;
  }
  HandOver(&produced, result);
  return hr;
}

}  // namespace

HRESULT InvokeMember(const MemberDesc& m, MemberCall& call, WORD flags, DISPPARAMS* params,
                     VARIANT* result, EXCEPINFO* info, UINT* argErr) {
  if (params && params->cNamedArgs > params->cArgs) return E_INVALIDARG;
  try {
    return m.kind == MemberKind::Property
               ? InvokeProperty(m, call, flags, params, result, info, argErr)
               : InvokeMethod(m, call, flags, params, result, info, argErr);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

bool NameEquals(const OLECHAR* name, const char* tableName) {
  if (!name || !tableName) return false;
  return LowerAscii(name) == LowerAscii(tableName);
}

std::string LowerAscii(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

std::string LowerAscii(const OLECHAR* s) {
  std::string r;
  if (!s) return r;
  for (; *s; ++s) {
    char16_t c = *s;
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    // A character outside ASCII matches no table name.
    r.push_back(c < 0x80 ? static_cast<char>(c) : '\x7f');
  }
  return r;
}

// Arguments -------------------------------------------------------------------------------

int32_t Args::I4(size_t i) const {
  if (i >= count) return 0;
  VARIANT r = Coerced(&v[i], VT_I4);
  return r.lVal;
}
int16_t Args::I2(size_t i) const {
  if (i >= count) return 0;
  VARIANT r = Coerced(&v[i], VT_I2);
  return r.iVal;
}
int64_t Args::I8(size_t i) const {
  if (i >= count) return 0;
  VARIANT r = Coerced(&v[i], VT_I8);
  return r.llVal;
}
double Args::R8(size_t i) const {
  if (i >= count) return 0;
  VARIANT r = Coerced(&v[i], VT_R8);
  return r.dblVal;
}
bool Args::Bool(size_t i) const {
  if (i >= count) return false;
  VARIANT r = Coerced(&v[i], VT_BOOL);
  return r.boolVal != 0;
}
BSTR Args::Bstr(size_t i) const {
  if (i >= count) return nullptr;
  const VARIANT* a = Deref(&v[i]);
  if (!a) return nullptr;
  if (a->vt == VT_BSTR) return a->bstrVal;
  if (a->vt == (VT_BSTR | VT_BYREF)) return a->pbstrVal ? *a->pbstrVal : nullptr;
  return nullptr;
}
VARIANT* Args::Ref(size_t i) const {
  if (i >= count) return nullptr;
  if (v[i].vt == (VT_VARIANT | VT_BYREF)) return v[i].pvarVal;
  return &v[i];
}

}  // namespace vomcom
