// vomcom-register [--unregister] MODULE.so   runs the module's self-registration
// vomcom-register --typelib MODULE.so [{LIBID}]   prints the module's type library as text
#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "vomcom/automation.h"
#include "vomcom/com_ptr.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: vomcom-register [--unregister] MODULE.so\n"
               "       vomcom-register --typelib MODULE.so [{LIBID}]\n");
  return 2;
}

std::string TypeName(VARTYPE vt) {
  const bool ref = (vt & VT_BYREF) != 0;
  std::string n;
  switch (vt & VT_TYPEMASK) {
    case VT_EMPTY: n = "void"; break;
    case VT_I2: n = "short"; break;
    case VT_I4: n = "long"; break;
    case VT_R4: n = "float"; break;
    case VT_R8: n = "double"; break;
    case VT_BSTR: n = "BSTR"; break;
    case VT_DISPATCH: n = "IDispatch*"; break;
    case VT_ERROR: n = "SCODE"; break;
    case VT_BOOL: n = "VARIANT_BOOL"; break;
    case VT_VARIANT: n = "VARIANT"; break;
    case VT_UNKNOWN: n = "IUnknown*"; break;
    case VT_UI1: n = "unsigned char"; break;
    case VT_I8: n = "int64"; break;
    default: n = "vt" + std::to_string(vt & VT_TYPEMASK); break;
  }
  return ref ? n + "*" : n;
}

std::string Guid(const GUID& g) {
  char t[39];
  VcGuidToText(g, t);
  return t;
}

const char* Text(const char* s) { return s ? s : ""; }

void PrintType(IVcTypeInfo* t) {
  VcInterfaceInfo info{};
  if (FAILED(t->GetInterfaceInfo(&info))) return;
  const char* kind = info.kind == VC_TYPE_COCLASS  ? "coclass"
                     : info.kind == VC_TYPE_EVENTS ? "dispinterface (events)"
                                                   : "dispinterface";
  std::printf("\n%s %s %s", kind, Text(info.name), Guid(info.guid).c_str());
  if (info.flags & VC_TYPEFLAG_HIDDEN) std::printf(" hidden");
  if (info.flags & VC_TYPEFLAG_CONTROL) std::printf(" control");
  if (info.flags & VC_TYPEFLAG_CREATABLE) std::printf(" creatable");
  std::printf("\n");
  if (info.docString && *info.docString) std::printf("  helpstring \"%s\"\n", info.docString);
  for (uint32_t i = 0; i < info.implCount && info.impl; ++i) {
    const VcImplType& it = info.impl[i];
    std::printf("  %s%s %s\n", (it.flags & VC_IMPLTYPE_DEFAULT) ? "[default] " : "",
                (it.flags & VC_IMPLTYPE_SOURCE) ? "source" : "interface", Guid(it.iid).c_str());
  }
  UINT n = 0;
  t->GetMemberCount(&n);
  for (UINT i = 0; i < n; ++i) {
    VcMemberInfo m{};
    if (FAILED(t->GetMember(i, &m))) continue;
    const char* kindText = m.kind == VC_MEMBER_PROPGET   ? "propget"
                           : m.kind == VC_MEMBER_PROPPUT ? "propput"
                                                         : "method";
    std::printf("  [id %d] %s %s %s(", m.id, kindText, TypeName(m.resultType).c_str(),
                Text(m.name));
    for (uint32_t p = 0; p < m.paramCount && m.params; ++p)
      std::printf("%s%s", p ? ", " : "", TypeName(m.params[p]).c_str());
    std::printf(")%s\n", (m.flags & VC_MEMBERFLAG_HIDDEN) ? " hidden" : "");
  }
}

// The LIBID whose registered module is path, from TypeLib\{libid}\<version>\0\linux64.
bool FindLibid(const std::string& path, GUID* libid) {
  char name[128], version[64], file[PATH_MAX];
  for (UINT i = 0; VcRegEnumKey("TypeLib", i, name, sizeof name) == S_OK; ++i) {
    std::string lib = std::string("TypeLib\\") + name;
    for (UINT j = 0; VcRegEnumKey(lib.c_str(), j, version, sizeof version) == S_OK; ++j) {
      std::string key = lib + "\\" + version + "\\0\\linux64";
      if (VcRegGetValue(key.c_str(), nullptr, file, sizeof file) != S_OK) continue;
      char real[PATH_MAX];
      if (realpath(file, real) && path == real && VcGuidFromText(name, libid) == S_OK)
        return true;
    }
  }
  return false;
}

int PrintTypeLib(void* module, const std::string& path, const char* libidText) {
  GUID libid{};
  if (libidText ? VcGuidFromText(libidText, &libid) != S_OK : !FindLibid(path, &libid)) {
    std::fprintf(stderr, "vomcom-register: no LIBID for %s (register it first, or name it)\n",
                 path.c_str());
    return 1;
  }
  auto get = reinterpret_cast<VcDllGetClassObjectFn>(dlsym(module, "DllGetClassObject"));
  if (!get) {
    std::fprintf(stderr, "vomcom-register: %s has no DllGetClassObject\n", path.c_str());
    return 1;
  }
  vomcom::ComPtr<IVcTypeLib> lib;
  HRESULT hr = get(libid, IID_IVcTypeLib, lib.PutVoid());
  if (FAILED(hr) || !lib) {
    std::fprintf(stderr, "vomcom-register: no type library: 0x%08X\n", static_cast<unsigned>(hr));
    return 1;
  }
  VcTypeLibInfo info{};
  lib->GetLibInfo(&info);
  std::printf("library %s %s version %u.%u lcid 0x%04X\n", Text(info.name),
              Guid(info.libid).c_str(), info.majorVersion, info.minorVersion, info.lcid);
  if (info.helpString && *info.helpString) std::printf("  helpstring \"%s\"\n", info.helpString);
  if (info.helpFile && *info.helpFile) std::printf("  helpfile \"%s\"\n", info.helpFile);
  UINT n = 0;
  lib->GetTypeInfoCount(&n);
  for (UINT i = 0; i < n; ++i) {
    vomcom::ComPtr<IVcTypeInfo> t;
    if (SUCCEEDED(lib->GetTypeInfo(i, t.Put())) && t) PrintType(t.Get());
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool unregister = false, typelib = false;
  int i = 1;
  for (; i < argc && argv[i][0] == '-'; ++i) {
    if (std::strcmp(argv[i], "--unregister") == 0 || std::strcmp(argv[i], "-u") == 0)
      unregister = true;
    else if (std::strcmp(argv[i], "--typelib") == 0)
      typelib = true;
    else
      return Usage();
  }
  if (i >= argc || (unregister && typelib)) return Usage();
  char real[PATH_MAX];
  std::string path = realpath(argv[i], real) ? real : argv[i];
  const char* libid = i + 1 < argc ? argv[i + 1] : nullptr;
  if (!typelib && libid) return Usage();

  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module) {
    const char* e = dlerror();
    std::fprintf(stderr, "vomcom-register: cannot load %s: %s\n", path.c_str(), e ? e : "?");
    return 1;
  }
  if (typelib) return PrintTypeLib(module, path, libid);

  const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
  auto fn = reinterpret_cast<VcDllRegisterServerFn>(dlsym(module, entry));
  if (!fn) {
    std::fprintf(stderr, "vomcom-register: %s has no %s\n", path.c_str(), entry);
    return 1;
  }
  HRESULT hr = fn();
  std::printf("%s %s: 0x%08X\n", entry, path.c_str(), static_cast<unsigned>(hr));
  return SUCCEEDED(hr) ? 0 : 1;
}
