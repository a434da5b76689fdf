// Object creation through the registry: CLSID -> module path -> dlopen -> DllGetClassObject.
#include <dlfcn.h>

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "vomcom/automation.h"
#include "vomcom/bstr.h"

namespace {

struct LoadedModule {
  std::string path;
  void* handle = nullptr;
  VcDllGetClassObjectFn getClassObject = nullptr;
  VcDllCanUnloadNowFn canUnloadNow = nullptr;
  int busy = 0;  // calls into the module under way; it is not unloaded meanwhile
};

std::mutex g_mu;
std::vector<std::unique_ptr<LoadedModule>> g_modules;

void Log(const std::string& line) { VcLogWrite(line.c_str()); }

// The module (loaded once per path), marked busy; null with hr set when it cannot be used.
LoadedModule* Acquire(const std::string& path, HRESULT* hr) {
  std::lock_guard<std::mutex> lock(g_mu);
  for (auto& m : g_modules) {
    if (m->path == path) {
      ++m->busy;
      return m.get();
    }
  }
  void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!h) {
    const char* e = dlerror();
    Log("cannot load " + path + ": " + (e ? e : "?"));
    *hr = CO_E_DLLNOTFOUND;
    return nullptr;
  }
  auto m = std::make_unique<LoadedModule>();
  m->path = path;
  m->handle = h;
  m->getClassObject = reinterpret_cast<VcDllGetClassObjectFn>(dlsym(h, "DllGetClassObject"));
  m->canUnloadNow = reinterpret_cast<VcDllCanUnloadNowFn>(dlsym(h, "DllCanUnloadNow"));
  if (!m->getClassObject) {
    Log(path + " has no DllGetClassObject");
    dlclose(h);
    *hr = CO_E_ERRORINDLL;
    return nullptr;
  }
  m->busy = 1;
  g_modules.push_back(std::move(m));
  return g_modules.back().get();
}

void ReleaseBusy(LoadedModule* m) {
  std::lock_guard<std::mutex> lock(g_mu);
  --m->busy;
}

HRESULT ModulePathOf(REFCLSID clsid, std::string* path) {
  char text[39];
  VcGuidToText(clsid, text);
  std::string key = std::string("CLSID\\") + text + "\\InprocServer32";
  char buf[4096];
  HRESULT hr = VcRegGetValue(key.c_str(), nullptr, buf, sizeof buf);
  if (FAILED(hr) || buf[0] == '\0') return REGDB_E_CLASSNOTREG;
  *path = buf;
  return S_OK;
}

}  // namespace

extern "C" HRESULT CoGetClassObject(REFCLSID clsid, DWORD clsctx, void*, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!(clsctx & (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER))) return REGDB_E_CLASSNOTREG;
  std::string path;
  HRESULT hr = ModulePathOf(clsid, &path);
  if (FAILED(hr)) return hr;
  LoadedModule* m = Acquire(path, &hr);
  if (!m) return hr;
  hr = m->getClassObject(clsid, iid, out);
  ReleaseBusy(m);
  if (FAILED(hr)) *out = nullptr;
  return hr;
}

extern "C" HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD clsctx, REFIID iid,
                                    void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  IClassFactory* factory = nullptr;
  HRESULT hr = CoGetClassObject(clsid, clsctx, nullptr, IID_IClassFactory,
                                reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return hr;
  hr = factory->CreateInstance(nullptr, iid, out);
  factory->Release();
  if (FAILED(hr)) *out = nullptr;
  return hr;
}

extern "C" HRESULT VcCLSIDFromProgIDA(const char* progId, CLSID* out) {
  if (!progId || !out) return E_INVALIDARG;
  if (!*progId) return CO_E_CLASSSTRING;
  std::string key = std::string(progId) + "\\CLSID";
  char buf[64];
  if (FAILED(VcRegGetValue(key.c_str(), nullptr, buf, sizeof buf))) return CO_E_CLASSSTRING;
  return VcGuidFromText(buf, out) == S_OK ? S_OK : CO_E_CLASSSTRING;
}

extern "C" HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* out) {
  if (!progId || !out) return E_INVALIDARG;
  return VcCLSIDFromProgIDA(vomcom::Utf16ToUtf8(progId).c_str(), out);
}

extern "C" void CoFreeUnusedLibraries(void) {
  std::vector<void*> unload;
  {
    std::lock_guard<std::mutex> lock(g_mu);
    for (auto it = g_modules.begin(); it != g_modules.end();) {
      LoadedModule& m = **it;
      if (m.busy == 0 && m.canUnloadNow && m.canUnloadNow() == S_OK) {
        unload.push_back(m.handle);
        it = g_modules.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (void* h : unload) dlclose(h);
}
