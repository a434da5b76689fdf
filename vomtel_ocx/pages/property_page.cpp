#include "vomtel_ocx/pages/property_page.h"

#include <new>

#include "vomtel_ocx/module/module_ids.h"

namespace vomtelx {
namespace {

constexpr char kCaption[] = "General";
constexpr char kStaticText[] = "No properties to set on this page.";
constexpr SIZEL kPageSize = {250, 62};

class PropertyPage final : public IVcPropertyPage {
 public:
  HRESULT QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kIidVcPropertyPage)) {
      *out = static_cast<IVcPropertyPage*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    const ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
  }
  HRESULT GetPageInfo(PropertyPageInfo* out) override {
    if (out == nullptr) return E_POINTER;
    *out = {kCaption, kPageSize, kStaticText};
    return S_OK;
  }
  HRESULT SetObjects(ULONG count, IUnknown** objects) override {
    return count > 0 && objects == nullptr ? E_POINTER : S_OK;
  }
  HRESULT Show(IUnknown* site) override {
    if (site == nullptr) return S_FALSE;
    vomcom::ComPtr<IVcUserInterface> ui;
    if (FAILED(site->QueryInterface(IID_IVcUserInterface, ui.PutVoid())) || !ui) return S_FALSE;
    return ui->ShowMessage(kCaption, kStaticText);
  }
  HRESULT Apply() override { return S_OK; }
  HRESULT IsPageDirty() override { return S_FALSE; }

 private:
  ~PropertyPage() = default;
  vomcom::ModuleLock lock_;
  std::atomic<ULONG> refs_{0};
};

}  // namespace

HRESULT CreatePropertyPage(REFCLSID clsid, REFIID riid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, kClsidMainPage) && !IsEqualCLSID(clsid, kClsidEventPage) &&
      !IsEqualCLSID(clsid, kClsidOutboundPage)) {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  auto* page = new (std::nothrow) PropertyPage();
  if (page == nullptr) return E_OUTOFMEMORY;
  page->AddRef();
  const HRESULT hr = page->QueryInterface(riid, out);
  page->Release();
  return hr;
}

}  // namespace vomtelx
