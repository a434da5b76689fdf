// Helpers for C++ hosts: an IDispatch event sink over a function, and calls by DISPID or name
// with the arguments in declaration order.
#pragma once

#include <atomic>
#include <functional>
#include <vector>

#include "vomcom/automation.h"
#include "vomcom/com_ptr.h"
#include "vomcom/variant.h"

namespace vomcom {

class VOMCOM_API DispatchSink final : public IDispatch {
 public:
  using Handler = std::function<HRESULT(DISPID id, const DISPPARAMS& params)>;
  // The sink answers QueryInterface for IUnknown, IDispatch and eventsIid (when not IID_NULL).
  // An exception escaping the handler becomes DISP_E_EXCEPTION.
  static ComPtr<DispatchSink> Create(Handler handler, const IID& eventsIid = IID_NULL);

  HRESULT QueryInterface(REFIID iid, void** out) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT GetTypeInfoCount(UINT* count) override;
  HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** out) override;
  HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                        DISPID* ids) override;
  HRESULT Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                 VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) override;

 private:
  DispatchSink(Handler handler, const IID& eventsIid)
      : handler_(std::move(handler)), eventsIid_(eventsIid) {}
  ~DispatchSink() = default;
  std::atomic<ULONG> refs_{0};
  Handler handler_;
  IID eventsIid_;
};

// Invoke with the arguments in declaration order (reversed here as the platform passes them);
// a DISPATCH_PROPERTYPUT gets the named argument DISPID_PROPERTYPUT. result, excepInfo and
// argErr may be null; a filled excepInfo is the caller's to clear (ClearExcepInfo).
VOMCOM_API HRESULT Invoke(IDispatch* object, DISPID id, WORD flags,
                          std::vector<Variant> argsInDeclarationOrder, VARIANT* result,
                          EXCEPINFO* excepInfo = nullptr, UINT* argErr = nullptr);
VOMCOM_API HRESULT GetDispId(IDispatch* object, const char* name, DISPID* id);
// GetDispId, then Invoke.
VOMCOM_API HRESULT InvokeByName(IDispatch* object, const char* name, WORD flags,
                                std::vector<Variant> argsInDeclarationOrder, VARIANT* result,
                                EXCEPINFO* excepInfo = nullptr);
VOMCOM_API void ClearExcepInfo(EXCEPINFO* info);

}  // namespace vomcom
