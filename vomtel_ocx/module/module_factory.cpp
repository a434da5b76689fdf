#include "vomtel_ocx/module/module_factory.h"

#include "vomcom/module.h"
#include "vomtel_ocx/module/control_factories.h"
#include "vomtel_ocx/module/module_ids.h"
#include "vomtel_ocx/pages/property_page.h"

namespace vomtelx {
namespace {

class ModuleFactory final : public IClassFactory {
 public:
  explicit constexpr ModuleFactory(CreateFunction create) : create_(create) {}

  HRESULT QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override {
    vomcom::Module::Lock();
    return 2;
  }
  ULONG Release() override {
    vomcom::Module::Unlock();
    return 1;
  }
  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return create_(iid, out);
  }
  HRESULT LockServer(BOOL lock) override {
    if (lock) {
      vomcom::Module::Lock();
    } else {
      vomcom::Module::Unlock();
    }
    return S_OK;
  }

 private:
  CreateFunction create_;
};

HRESULT CreateMainPage(REFIID iid, void** out) {
  return CreatePropertyPage(kClsidMainPage, iid, out);
}
HRESULT CreateEventPage(REFIID iid, void** out) {
  return CreatePropertyPage(kClsidEventPage, iid, out);
}
HRESULT CreateOutboundPage(REFIID iid, void** out) {
  return CreatePropertyPage(kClsidOutboundPage, iid, out);
}


}  // namespace

HRESULT GetModuleClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  static ModuleFactory factories[] = {
      ModuleFactory(&CreateMainControl),  ModuleFactory(&CreateEventControl),
      ModuleFactory(&CreateOutboundControl), ModuleFactory(&CreateMainPage),
      ModuleFactory(&CreateEventPage),    ModuleFactory(&CreateOutboundPage)};
  static const GUID* const clsids[] = {&kClsidMainControl, &kClsidEventControl,
                                       &kClsidOutboundControl, &kClsidMainPage,
                                       &kClsidEventPage, &kClsidOutboundPage};
  for (size_t i = 0; i < sizeof clsids / sizeof clsids[0]; ++i) {
    if (IsEqualCLSID(clsid, *clsids[i])) return factories[i].QueryInterface(iid, out);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace vomtelx
