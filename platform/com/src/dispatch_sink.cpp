// DispatchSink and the call helpers for C++ hosts.
#include "vomcom/dispatch_sink.h"

#include <exception>
#include <new>

namespace vomcom {

ComPtr<DispatchSink> DispatchSink::Create(Handler handler, const IID& eventsIid) {
  ComPtr<DispatchSink> p;
  if (auto* s = new (std::nothrow) DispatchSink(std::move(handler), eventsIid))
    p = ComPtr<DispatchSink>(s);
  return p;
}

HRESULT DispatchSink::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
      (!IsEqualIID(eventsIid_, IID_NULL) && IsEqualIID(iid, eventsIid_))) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG DispatchSink::AddRef() { return ++refs_; }

ULONG DispatchSink::Release() {
  ULONG n = --refs_;
  if (n == 0) delete this;
  return n;
}

HRESULT DispatchSink::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT DispatchSink::GetTypeInfo(UINT, LCID, ITypeInfo** out) {
  if (out) *out = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT DispatchSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) {
  for (UINT i = 0; ids && i < count; ++i) ids[i] = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;
}

HRESULT DispatchSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                             EXCEPINFO* excepInfo, UINT*) {
  if (!handler_) return S_OK;
  DISPPARAMS empty{nullptr, nullptr, 0, 0};
  try {
    return handler_(id, params ? *params : empty);
  } catch (const std::exception& e) {
    if (excepInfo) {
      *excepInfo = EXCEPINFO{};
      excepInfo->bstrDescription = Bstr(e.what()).Detach();
      excepInfo->scode = E_FAIL;
    }
  } catch (...) {
  }
  return DISP_E_EXCEPTION;
}

HRESULT Invoke(IDispatch* object, DISPID id, WORD flags, std::vector<Variant> args,
               VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) {
  if (!object) return E_POINTER;
  std::vector<VARIANT> reversed;
  reversed.reserve(args.size());
  for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(*it->Get());
  DISPID named = DISPID_PROPERTYPUT;
  const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  DISPPARAMS dp{reversed.empty() ? nullptr : reversed.data(), put ? &named : nullptr,
                static_cast<UINT>(reversed.size()), put ? 1u : 0u};
  if (put && dp.cArgs == 0) return DISP_E_BADPARAMCOUNT;
  if (result) VariantClear(result);
  // args keep owning the values; the callee changes only what BYREF arguments point to.
  return object->Invoke(id, IID_NULL, 0, flags, &dp, put ? nullptr : result, excepInfo, argErr);
}

HRESULT GetDispId(IDispatch* object, const char* name, DISPID* id) {
  if (!object || !name || !id) return E_POINTER;
  Bstr n(name);
  LPOLESTR names[1] = {n.Get()};
  return object->GetIDsOfNames(IID_NULL, names, 1, 0, id);
}

HRESULT InvokeByName(IDispatch* object, const char* name, WORD flags, std::vector<Variant> args,
                     VARIANT* result, EXCEPINFO* excepInfo) {
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr = GetDispId(object, name, &id);
  if (FAILED(hr)) return hr;
  return Invoke(object, id, flags, std::move(args), result, excepInfo, nullptr);
}

void ClearExcepInfo(EXCEPINFO* info) {
  if (!info) return;
  SysFreeString(info->bstrSource);
  SysFreeString(info->bstrDescription);
  SysFreeString(info->bstrHelpFile);
  *info = EXCEPINFO{};
}

}  // namespace vomcom
