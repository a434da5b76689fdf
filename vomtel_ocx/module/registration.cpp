#include "vomtel_ocx/module/registration.h"

#include <dlfcn.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "vomtel_ocx/module/module_ids.h"

namespace vomtelx {
namespace {

std::string GuidText(const GUID& guid) {
  char text[39];
  VcGuidToText(guid, text);
  return text;
}

// One batch of registry changes: all are written, or none.
class RegistryBatch {
 public:
  void Set(std::string key, const char* name, std::string value) {
    writes_.push_back({std::move(key), name, std::move(value)});
  }
  void Delete(std::string key) { deletes_.push_back(std::move(key)); }
  // Deleted after the other deletions when it is left with no key below it and no default
  // value (the one value such a key holds).
  void DeleteIfEmpty(std::string key) { deletesIfEmpty_.push_back(std::move(key)); }

  bool Commit() const {
    if (FAILED(VcRegBegin())) return false;
    for (const std::string& key : deletes_) {
      if (FAILED(VcRegDeleteTree(key.c_str()))) return Abort();
    }
    for (const std::string& key : deletesIfEmpty_) {
      char below[2];
      const HRESULT subkey = VcRegEnumKey(key.c_str(), 0, below, sizeof below);
      const HRESULT value = VcRegGetValue(key.c_str(), nullptr, nullptr, 0);
      if (FAILED(subkey) && subkey != VC_E_MOREDATA) return Abort();
      if (subkey != S_FALSE || value != VC_E_NOTFOUND) continue;
      if (FAILED(VcRegDeleteTree(key.c_str()))) return Abort();
    }
    for (const Write& w : writes_) {
      if (FAILED(VcRegSetValue(w.key.c_str(), w.name, w.value.c_str()))) return Abort();
    }
    return SUCCEEDED(VcRegCommit());
  }

 private:
  static bool Abort() {
    VcRegAbort();
    return false;
  }
  struct Write {
    std::string key;
    const char* name;
    std::string value;
  };
  std::vector<Write> writes_;
  std::vector<std::string> deletes_;
  std::vector<std::string> deletesIfEmpty_;
};

std::string LibKey() { return std::string("TypeLib\\") + kLibIdText; }

std::string VersionKey() { return LibKey() + "\\1.0"; }

std::string ClassKey(const ModuleClass& c) { return "CLSID\\" + GuidText(c.clsid); }

std::string Directory(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

void AddTypeLibrary(RegistryBatch& batch, const std::string& modulePath) {
  batch.Set(VersionKey(), nullptr, kLibHelpString);
  batch.Set(VersionKey() + "\\0\\linux64", nullptr, modulePath);
  batch.Set(VersionKey() + "\\FLAGS", nullptr, "0");
  batch.Set(VersionKey() + "\\HELPDIR", nullptr, Directory(modulePath));
}

void AddClass(RegistryBatch& batch, const ModuleClass& c, const std::string& modulePath) {
  const std::string key = ClassKey(c);
  batch.Set(key, nullptr, c.typeName);
  batch.Set(key + "\\InprocServer32", nullptr, modulePath);
  batch.Set(key + "\\InprocServer32", "ThreadingModel", "Apartment");
  batch.Set(key + "\\ProgID", nullptr, c.progId);
  if (c.kind == ClassKind::kControl) {
    batch.Set(key + "\\Control", nullptr, "");
    batch.Set(key + "\\ToolboxBitmap32", nullptr, modulePath + ", " + std::to_string(c.bitmap));
    batch.Set(key + "\\MiscStatus", nullptr, "0");
    batch.Set(key + "\\MiscStatus\\1", nullptr, std::to_string(kMiscStatus));
    batch.Set(key + "\\TypeLib", nullptr, kLibIdText);
    batch.Set(key + "\\Version", nullptr, "1.0");
  }
  batch.Set(c.progId, nullptr, c.typeName);
  batch.Set(std::string(c.progId) + "\\CLSID", nullptr, GuidText(c.clsid));
}

}  // namespace

HRESULT RegisterModule(const std::string& modulePath) {
  RegistryBatch typeLibrary;
  AddTypeLibrary(typeLibrary, modulePath);
  if (!typeLibrary.Commit()) return SELFREG_E_TYPELIB;

  RegistryBatch classes;
  for (const ModuleClass& c : kModuleClasses) AddClass(classes, c, modulePath);
  return classes.Commit() ? S_OK : SELFREG_E_CLASS;
}

HRESULT UnregisterModule() {
  // The version registered; another version of the library keeps its entries.
  RegistryBatch typeLibrary;
  typeLibrary.Delete(VersionKey());
  typeLibrary.DeleteIfEmpty(LibKey());
  if (!typeLibrary.Commit()) return SELFREG_E_TYPELIB;

  RegistryBatch classes;
  for (const ModuleClass& c : kModuleClasses) {
    classes.Delete(ClassKey(c));
    classes.Delete(c.progId);
  }
  return classes.Commit() ? S_OK : SELFREG_E_CLASS;
}

std::string ThisModulePath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void*>(&ThisModulePath), &info) == 0 ||
      info.dli_fname == nullptr) {
    return {};
  }
  char resolved[PATH_MAX];
  if (realpath(info.dli_fname, resolved) == nullptr) return info.dli_fname;
  return resolved;
}

}  // namespace vomtelx
