// The module's four exports, and its start: the log directory is set before any control exists.
#include "vomcom/module.h"
#include "vomcom/com_ptr.h"
#include "vomtel_ocx/log/trace_log.h"
#include "vomtel_ocx/module/module_factory.h"
#include "vomtel_ocx/module/module_ids.h"
#include "vomtel_ocx/module/registration.h"
#include "vomtel_ocx/typelib/type_library.h"

#define VOMTELX_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct ModuleStart {
  ModuleStart() { SetTraceLogDirectory(vomtelx::kDefaultLogDirectory); }
} g_moduleStart;

// The version resource, readable in the file as "name=value" texts.
__attribute__((used, section(".vomtelx_version"))) const char kVersionResource[] =
    "FileVersion=5.1.16.4\0ProductVersion=5.1.16.4\0"
    "FileDescription=vomtel_ocx ActiveX Control Module\0"
    "ProductName=vomtel_ocx ActiveX Control Module\0InternalName=vomtel_ocx\0"
    "OriginalFilename=vomtel_ocx.OCX\0OLESelfRegister=\0";

}  // namespace

VOMTELX_EXPORT HRESULT DllRegisterServer() {
  return vomtelx::RegisterModule(vomtelx::ThisModulePath());
}

VOMTELX_EXPORT HRESULT DllUnregisterServer() { return vomtelx::UnregisterModule(); }

VOMTELX_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (IsEqualGUID(clsid, vomtelx::kLibId)) {
    vomcom::ComPtr<IVcTypeLib> lib = vomtelx::CreateTypeLibrary();
    if (!lib) return E_OUTOFMEMORY;
    return lib->QueryInterface(iid, out);
  }
  return vomtelx::GetModuleClassObject(clsid, iid, out);
}

VOMTELX_EXPORT HRESULT DllCanUnloadNow() { return vomcom::Module::CanUnloadNow(); }
