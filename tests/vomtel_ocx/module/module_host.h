// A host of the control module as an installed program meets it: a scratch registry named by
// $VOMTEL_REGISTRY, the module registered and unregistered with the runtime's register tool,
// every object made through the runtime. Nothing of the module's own code is linked in; the
// identities below are spelled out here so that a wrong constant in the module shows.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "vomcom/automation.h"
#include "vomcom/com_ptr.h"

namespace vomtelx::module_test {

inline GUID Guid(const char* text) {
  GUID g{};
  EXPECT_EQ(VcGuidFromText(text, &g), S_OK) << text;
  return g;
}

// One of the module's six classes as it is registered.
struct ClassRow {
  const char* name;
  const char* clsid;
  const char* progId;
  const char* typeName;
  int bitmap;  // 0: a property page
};

inline const std::array<ClassRow, 6> kClassRows = {{
    {"main control", "{46BE120F-FA60-4FEC-8327-5690F3E31C31}", "vomtel_ocx.vomtel_ocxCtrl.1",
     "vomtel_ocx Control", 1},
    {"event control", "{2E830C8F-BC52-403A-8B18-B8A89127AFC8}",
     "vomtel_ocx.vomtel_ocxEvtCtrl.1", "vomtel_ocxEvt Control", 2},
    {"outbound control", "{069F236C-F6CC-40BA-B215-2075A8E06F8F}",
     "vomtel_ocx.vomtel_ocxOBCtrl.1", "vomtel_ocxOB Control", 3},
    {"main page", "{EA8FB376-50EE-43B5-9DE5-611AE56E4380}", "vomtel_ocx.vomtel_ocxPropPage.1",
     "vomtel_ocx Property Page", 0},
    {"event page", "{50EACBD6-8050-4868-BD6B-F92655C0E8B9}",
     "vomtel_ocx.vomtel_ocxEvtPropPage.1", "vomtel_ocxEvt Property Page", 0},
    {"outbound page", "{B9E3561D-3EDC-4809-8122-500DF9E4A72B}",
     "vomtel_ocx.vomtel_ocxOBPropPage.1", "vomtel_ocxOB Property Page", 0},
}};

inline constexpr char kLibId[] = "{B43A79D9-43CB-4B04-86B7-38E0C14FA09E}";

// The output and exit status of a command (standard error joined to standard output).
struct CommandResult {
  std::string out;
  int status = -1;
};

inline CommandResult Run(const std::string& command) {
  CommandResult r;
  FILE* p = popen((command + " 2>&1").c_str(), "r");
  if (p == nullptr) return r;
  std::array<char, 512> buf;
  while (fgets(buf.data(), static_cast<int>(buf.size()), p) != nullptr) r.out += buf.data();
  r.status = pclose(p);
  return r;
}

inline CommandResult RegisterTool(const std::string& options) {
  return Run(std::string(REGISTER_TOOL) + " " + options + " " + VOMTELX_MODULE_PATH);
}

// The module's real path, as its registration records it.
inline std::string ModulePath() {
  return std::filesystem::canonical(VOMTELX_MODULE_PATH).string();
}

inline std::string RegValue(const std::string& key, const char* name = nullptr) {
  char out[4096];
  return VcRegGetValue(key.c_str(), name, out, sizeof out) == S_OK ? std::string(out)
                                                                   : std::string("<missing>");
}

// $VOMTEL_REGISTRY (and the drive root) pointed into a scratch folder of its own for the
// object's lifetime; the previous setting is restored after.
class ScratchRegistry {
 public:
  ScratchRegistry() : previous_(Env("VOMTEL_REGISTRY")), previousRoot_(Env("VOMTEL_DRIVE_ROOT")) {
    setenv("VOMTEL_REGISTRY", Path().c_str(), 1);
    setenv("VOMTEL_DRIVE_ROOT", (dir_ / "drives").c_str(), 1);
  }
  ~ScratchRegistry() {
    Restore("VOMTEL_REGISTRY", previous_);
    Restore("VOMTEL_DRIVE_ROOT", previousRoot_);
  }
  ScratchRegistry(const ScratchRegistry&) = delete;
  ScratchRegistry& operator=(const ScratchRegistry&) = delete;

  std::string Path() const { return dir_ / "registry.reg"; }

 private:
  static std::string Env(const char* name) {
    const char* v = getenv(name);
    return v != nullptr ? v : "";
  }
  static void Restore(const char* name, const std::string& value) {
    if (value.empty()) {
      unsetenv(name);
    } else {
      setenv(name, value.c_str(), 1);
    }
  }
  vomtel::test::TempDir dir_;
  std::string previous_;
  std::string previousRoot_;
};

// Tests of a registered module: registered with the tool into a scratch registry before the
// suite's first test, unregistered after its last.
class RegisteredModuleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    registry_ = new ScratchRegistry();
    const CommandResult r = RegisterTool("");
    ASSERT_EQ(r.status, 0) << r.out;
  }
  static void TearDownTestSuite() {
    RegisterTool("--unregister");
    delete registry_;
    registry_ = nullptr;
  }

 private:
  static inline ScratchRegistry* registry_ = nullptr;
};

// The module's DllCanUnloadNow, asked of the copy the runtime loaded (null when it is not
// loaded). The handle is closed with the object.
class LoadedModule {
 public:
  LoadedModule() : handle_(dlopen(ModulePath().c_str(), RTLD_NOW | RTLD_NOLOAD)) {}
  ~LoadedModule() {
    if (handle_ != nullptr) dlclose(handle_);
  }
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;

  bool Loaded() const { return handle_ != nullptr; }
  HRESULT CanUnloadNow() const {
    auto fn = reinterpret_cast<VcDllCanUnloadNowFn>(dlsym(handle_, "DllCanUnloadNow"));
    return fn != nullptr ? fn() : E_FAIL;
  }

 private:
  void* handle_;
};

}  // namespace vomtelx::module_test
