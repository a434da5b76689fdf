// Creation through the registry and a module loaded on demand; the register tool.
#include <gtest/gtest.h>
#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "vomcom/com_ptr.h"
#include "vomcom/dispatch_sink.h"

namespace {

using vomcom::ComPtr;

const CLSID kSample = {0x9767D0AF, 0x7F61, 0x4AA7, {0x99, 0xF6, 0x34, 0x8A, 0x55, 0xDA, 0xD1, 0xB5}};

std::string RunCommand(const std::string& cmd, int* status) {
  std::string out;
  FILE* p = popen(cmd.c_str(), "r");
  std::array<char, 512> buf;
  while (p && fgets(buf.data(), buf.size(), p)) out += buf.data();
  *status = p ? pclose(p) : -1;
  return out;
}

class Creation : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = ::testing::TempDir() + "/vomcom_create_" + std::to_string(getpid()) + ".reg";
    setenv("VOMTEL_REGISTRY", path_.c_str(), 1);
  }
  void TearDown() override {
    std::remove(path_.c_str());
    std::remove((path_ + ".lock").c_str());
    unsetenv("VOMTEL_REGISTRY");
  }
  std::string path_;
};

TEST_F(Creation, RegistersCreatesByClsidAndProgIdAndUnloads) {
  IDispatch* none = nullptr;
  EXPECT_EQ(CoCreateInstance(kSample, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                             reinterpret_cast<void**>(&none)),
            REGDB_E_CLASSNOTREG);
  int status = 0;
  std::string out = RunCommand(std::string(REGISTER_TOOL) + " " + SAMPLE_MODULE, &status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_NE(out.find("DllRegisterServer"), std::string::npos);
  EXPECT_NE(out.find("0x00000000"), std::string::npos);

  CLSID byName{};
  ASSERT_EQ(VcCLSIDFromProgIDA("Vomcom.Sample.1", &byName), S_OK);
  EXPECT_TRUE(IsEqualCLSID(byName, kSample));
  EXPECT_EQ(CLSIDFromProgID(u"No.Such.1", &byName), CO_E_CLASSSTRING);

  ComPtr<IDispatch> d;
  ASSERT_EQ(CoCreateInstance(kSample, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, d.PutVoid()),
            S_OK);
  vomcom::Variant r;
  ASSERT_EQ(vomcom::InvokeByName(d.Get(), "subtract", DISPATCH_METHOD,
                                 {vomcom::Variant(int32_t{9}), vomcom::Variant(int32_t{2})},
                                 r.Put()),
            S_OK);
  EXPECT_EQ(r.Get()->lVal, 7);
  void* agg = nullptr;
  EXPECT_EQ(CoCreateInstance(kSample, d.Get(), CLSCTX_INPROC_SERVER, IID_IUnknown, &agg),
            CLASS_E_NOAGGREGATION);

  // The module says S_FALSE while an object lives and S_OK after; CoFreeUnusedLibraries lets
  // it go then, and the next creation loads it again.
  void* h = dlopen(SAMPLE_MODULE, RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(h, nullptr);
  auto canUnload = reinterpret_cast<VcDllCanUnloadNowFn>(dlsym(h, "DllCanUnloadNow"));
  ASSERT_NE(canUnload, nullptr);
  CoFreeUnusedLibraries();
  EXPECT_EQ(canUnload(), S_FALSE);
  EXPECT_EQ(vomcom::InvokeByName(d.Get(), "Version", DISPATCH_PROPERTYGET, {}, r.Put()), S_OK);
  EXPECT_EQ(r.Get()->lVal, 3);
  d = nullptr;
  EXPECT_EQ(canUnload(), S_OK);
  dlclose(h);
  CoFreeUnusedLibraries();
  ASSERT_EQ(VcCLSIDFromProgIDA("Vomcom.Sample.1", &byName), S_OK);
  ASSERT_EQ(CoCreateInstance(byName, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, d.PutVoid()),
            S_OK);
  d = nullptr;

  out = RunCommand(std::string(REGISTER_TOOL) + " --typelib " + SAMPLE_MODULE, &status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_NE(out.find("library SampleLib"), std::string::npos) << out;
  EXPECT_NE(out.find("dispinterface _DSample {84D1100B-72A6-4363-B8AD-C926F0697F3E} hidden"),
            std::string::npos) << out;
  EXPECT_NE(out.find("[id 4] method long Subtract(long, long)"), std::string::npos) << out;
  EXPECT_NE(out.find("[id 5] method void Fill(long*, BSTR*)"), std::string::npos) << out;
  EXPECT_EQ(out.find("Count"), std::string::npos) << out;  // not declared
  EXPECT_NE(out.find("coclass Sample"), std::string::npos) << out;

  out = RunCommand(std::string(REGISTER_TOOL) + " --unregister " + SAMPLE_MODULE, &status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_EQ(VcRegKeyExists("Vomcom.Sample.1"), S_FALSE);
  EXPECT_EQ(CoCreateInstance(kSample, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, d.PutVoid()),
            REGDB_E_CLASSNOTREG);
}

TEST_F(Creation, ReportsAModuleThatCannotBeLoaded) {
  ASSERT_EQ(VcRegSetValue("CLSID\\{9767D0AF-7F61-4AA7-99F6-348A55DAD1B5}\\InprocServer32",
                          nullptr, "/nonexistent/module.so"),
            S_OK);
  std::string logged;
  VcSetLogHook([](void* s, const char* line) { *static_cast<std::string*>(s) += line; }, &logged);
  void* out = nullptr;
  EXPECT_EQ(CoCreateInstance(kSample, nullptr, CLSCTX_ALL, IID_IUnknown, &out), CO_E_DLLNOTFOUND);
  EXPECT_EQ(out, nullptr);
  EXPECT_NE(logged.find("/nonexistent/module.so"), std::string::npos);
  VcSetLogHook(nullptr, nullptr);
}

}  // namespace
