// The type-info view: IVcTypeInfo (one interface or class) and IVcTypeLib (a module's type
// library), both declared in vomcom/automation.h for C hosts. Here: the C++ objects that serve
// them from static descriptions. Header-only so their code lives in the module that uses them
// and counts for its DllCanUnloadNow.
#pragma once

#include <atomic>
#include <new>
#include <span>
#include <utility>
#include <vector>

#include "vomcom/automation.h"
#include "vomcom/com_ptr.h"
#include "vomcom/module.h"

namespace vomcom {

// One interface, event interface or class, with its members in order. The texts and parameter
// arrays that the descriptions point to must outlive the object (static tables do).
class TypeInfo final : public IVcTypeInfo {
 public:
  static ComPtr<IVcTypeInfo> Create(const VcInterfaceInfo& info,
                                    std::vector<VcMemberInfo> members = {}) {
    ComPtr<IVcTypeInfo> p;
    if (auto* t = new (std::nothrow) TypeInfo(info, std::move(members))) p = ComPtr<IVcTypeInfo>(t);
    return p;
  }

  HRESULT QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IVcTypeInfo)) {
      *out = static_cast<IVcTypeInfo*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
  }
  HRESULT GetInterfaceInfo(VcInterfaceInfo* out) override {
    if (!out) return E_POINTER;
    *out = info_;
    return S_OK;
  }
  HRESULT GetMemberCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = static_cast<UINT>(members_.size());
    return S_OK;
  }
  HRESULT GetMember(UINT index, VcMemberInfo* out) override {
    if (!out) return E_POINTER;
    if (index >= members_.size()) return DISP_E_BADINDEX;
    *out = members_[index];
    return S_OK;
  }

 private:
  TypeInfo(const VcInterfaceInfo& info, std::vector<VcMemberInfo> members)
      : info_(info), members_(std::move(members)) {}
  ~TypeInfo() = default;

  ModuleLock lock_;
  std::atomic<ULONG> refs_{0};
  VcInterfaceInfo info_;
  std::vector<VcMemberInfo> members_;
};

// A module's type library: its identity and its type descriptions in order.
class TypeLib final : public IVcTypeLib {
 public:
  static ComPtr<IVcTypeLib> Create(const VcTypeLibInfo& info,
                                   std::vector<ComPtr<IVcTypeInfo>> types) {
    ComPtr<IVcTypeLib> p;
    if (auto* t = new (std::nothrow) TypeLib(info, std::move(types))) p = ComPtr<IVcTypeLib>(t);
    return p;
  }

  HRESULT QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IVcTypeLib)) {
      *out = static_cast<IVcTypeLib*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
  }
  HRESULT GetLibInfo(VcTypeLibInfo* out) override {
    if (!out) return E_POINTER;
    *out = info_;
    return S_OK;
  }
  HRESULT GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = static_cast<UINT>(types_.size());
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT index, IVcTypeInfo** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index >= types_.size()) return DISP_E_BADINDEX;
    *out = ComPtr<IVcTypeInfo>(types_[index]).Detach();
    return S_OK;
  }
  HRESULT GetTypeInfoOfGuid(REFGUID guid, IVcTypeInfo** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (const auto& t : types_) {
      VcInterfaceInfo info{};
      if (SUCCEEDED(t->GetInterfaceInfo(&info)) && IsEqualGUID(info.guid, guid)) {
        *out = ComPtr<IVcTypeInfo>(t).Detach();
        return S_OK;
      }
    }
    return E_INVALIDARG;
  }

 private:
  TypeLib(const VcTypeLibInfo& info, std::vector<ComPtr<IVcTypeInfo>> types)
      : info_(info), types_(std::move(types)) {}
  ~TypeLib() = default;

  ModuleLock lock_;
  std::atomic<ULONG> refs_{0};
  VcTypeLibInfo info_;
  std::vector<ComPtr<IVcTypeInfo>> types_;
};

}  // namespace vomcom
