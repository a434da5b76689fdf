// A module of one class for the creation tests: "Vomcom.Sample.1".
#include <dlfcn.h>

#include <cstdio>
#include <string>

#include "sample_control.h"

namespace {

// {7B663575-0000-4E04-8622-0393B581C569}
constexpr GUID kLibid = {0x7B663575, 0x0000, 0x4E04,
                         {0x86, 0x22, 0x03, 0x93, 0xB5, 0x81, 0xC5, 0x69}};

std::string ModulePath() {
  Dl_info info{};
  return dladdr(reinterpret_cast<void*>(&ModulePath), &info) && info.dli_fname ? info.dli_fname
                                                                                : "";
}

std::string Text(const GUID& g) {
  char t[39];
  VcGuidToText(g, t);
  return t;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID clsid,
                                                                           REFIID iid,
                                                                           void** out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  if (IsEqualCLSID(clsid, sample::kClsid))
    return vomcom::ClassFactory<sample::Control>::GetClassObject(iid, out);
  if (IsEqualGUID(clsid, kLibid) && IsEqualIID(iid, IID_IVcTypeLib)) {
    static const VcImplType impl[] = {{sample::kDispIid, VC_IMPLTYPE_DEFAULT},
                                      {sample::kEventsIid,
                                       VC_IMPLTYPE_DEFAULT | VC_IMPLTYPE_SOURCE}};
    static const vomcom::EventMember events[] = {{1, "Fired", {VT_I4, VT_I4}}};
    static const VcInterfaceInfo eventInfo = {"_DSampleEvents", "Events", sample::kEventsIid,
                                              VC_TYPE_EVENTS, 0, 0, nullptr};
    static const VcInterfaceInfo classInfo = {"Sample", "Sample control", sample::kClsid,
                                              VC_TYPE_COCLASS,
                                              VC_TYPEFLAG_CONTROL | VC_TYPEFLAG_CREATABLE, 2,
                                              impl};
    auto lib = vomcom::TypeLib::Create(
        {kLibid, 1, 0, 0x0409, "SampleLib", "Sample module", "sample.hlp"},
        {sample::Control::Table().MakeTypeInfo(sample::Control::kClass.dispatchType),
         vomcom::MakeEventTypeInfo(eventInfo, events), vomcom::TypeInfo::Create(classInfo)});
    *out = lib.Detach();
    return *out ? S_OK : E_OUTOFMEMORY;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
  return vomcom::Module::CanUnloadNow();
}

extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer() {
  const std::string clsid = "CLSID\\" + Text(sample::kClsid);
  const std::string lib = "TypeLib\\" + Text(kLibid) + "\\1.0";
  if (FAILED(VcRegBegin())) return SELFREG_E_TYPELIB;
  bool ok = SUCCEEDED(VcRegSetValue(lib.c_str(), nullptr, "Sample module")) &&
            SUCCEEDED(VcRegSetValue((lib + "\\0\\linux64").c_str(), nullptr, ModulePath().c_str())) &&
            SUCCEEDED(VcRegSetValue(clsid.c_str(), nullptr, "Sample control")) &&
            SUCCEEDED(VcRegSetValue((clsid + "\\InprocServer32").c_str(), nullptr,
                                    ModulePath().c_str())) &&
            SUCCEEDED(VcRegSetValue((clsid + "\\InprocServer32").c_str(), "ThreadingModel",
                                    "Apartment")) &&
            SUCCEEDED(VcRegSetValue((clsid + "\\ProgID").c_str(), nullptr, "Vomcom.Sample.1")) &&
            SUCCEEDED(VcRegSetValue("Vomcom.Sample.1\\CLSID", nullptr, Text(sample::kClsid).c_str()));
  if (!ok) {
    VcRegAbort();
    return SELFREG_E_CLASS;
  }
  return SUCCEEDED(VcRegCommit()) ? S_OK : SELFREG_E_TYPELIB;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
  if (FAILED(VcRegBegin())) return SELFREG_E_TYPELIB;
  VcRegDeleteTree(("TypeLib\\" + Text(kLibid)).c_str());
  VcRegDeleteTree(("CLSID\\" + Text(sample::kClsid)).c_str());
  VcRegDeleteTree("Vomcom.Sample.1");
  return SUCCEEDED(VcRegCommit()) ? S_OK : SELFREG_E_CLASS;
}
