// The registry file: values, trees, batches, read-only files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "vomcom/automation.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = ::testing::TempDir() + "/vomcom_reg_" + std::to_string(getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    path_ = dir_ + "/sub/registry.reg";  // the folder is made on the first write
    setenv("VOMTEL_REGISTRY", path_.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("VOMTEL_REGISTRY");
    std::string cmd = "rm -rf '" + dir_ + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
  }
  std::string Get(const char* key, const char* name = nullptr) {
    char buf[256];
    return VcRegGetValue(key, name, buf, sizeof buf) == S_OK ? buf : "<missing>";
  }
  std::string dir_, path_;
};

TEST_F(Registry, WritesTheExportFormAndReadsItBack) {
  ASSERT_EQ(VcRegSetValue("CLSID\\{1}\\InprocServer32", nullptr, "/opt/m.so"), S_OK);
  ASSERT_EQ(VcRegSetValue("clsid\\{1}\\inprocserver32", "ThreadingModel", "Apartment"), S_OK);
  ASSERT_EQ(VcRegSetValue("CLSID\\{1}\\ToolboxBitmap32", "", "C:\\x\\m.so, 1"), S_OK);
  EXPECT_EQ(Get("CLSID\\{1}\\InprocServer32"), "/opt/m.so");
  EXPECT_EQ(Get("CLSID\\{1}\\INPROCSERVER32", "threadingmodel"), "Apartment");
  EXPECT_EQ(Get("HKEY_CLASSES_ROOT\\CLSID\\{1}\\ToolboxBitmap32"), "C:\\x\\m.so, 1");
  EXPECT_EQ(VcRegKeyExists("CLSID\\{1}"), S_OK);  // the keys above exist too
  EXPECT_EQ(Get("CLSID\\{2}"), "<missing>");
  char small[4];
  EXPECT_EQ(VcRegGetValue("CLSID\\{1}\\InprocServer32", nullptr, small, sizeof small),
            VC_E_MOREDATA);
  EXPECT_STREQ(small, "/op");
  const std::string text = ReadFile(path_);
  EXPECT_EQ(text.rfind("REGEDIT4\r\n\r\n", 0), 0u);
  EXPECT_NE(text.find("[HKEY_CLASSES_ROOT\\CLSID\\{1}\\InprocServer32]\r\n@=\"/opt/m.so\"\r\n"
                      "\"ThreadingModel\"=\"Apartment\"\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("@=\"C:\\\\x\\\\m.so, 1\""), std::string::npos);
  char sub[64];
  EXPECT_EQ(VcRegEnumKey("CLSID\\{1}", 1, sub, sizeof sub), S_OK);
  EXPECT_STREQ(sub, "ToolboxBitmap32");
  EXPECT_EQ(VcRegEnumKey("CLSID\\{1}", 2, sub, sizeof sub), S_FALSE);

  EXPECT_EQ(VcRegDeleteTree("CLSID\\{1}"), S_OK);
  EXPECT_EQ(VcRegKeyExists("CLSID\\{1}\\InprocServer32"), S_FALSE);
  EXPECT_EQ(VcRegKeyExists("CLSID"), S_OK);
  EXPECT_EQ(VcRegDeleteTree("CLSID\\{1}"), S_FALSE);
}

TEST_F(Registry, ABatchIsWrittenWholeOrNotAtAll) {
  ASSERT_EQ(VcRegSetValue("Keep", nullptr, "1"), S_OK);
  ASSERT_EQ(VcRegBegin(), S_OK);
  EXPECT_EQ(VcRegBegin(), E_UNEXPECTED);
  ASSERT_EQ(VcRegSetValue("A", nullptr, "a"), S_OK);
  EXPECT_EQ(Get("A"), "a");  // the batch sees its own changes
  EXPECT_EQ(ReadFile(path_).find("[HKEY_CLASSES_ROOT\\A]"), std::string::npos);
  ASSERT_EQ(VcRegAbort(), S_OK);
  EXPECT_EQ(Get("A"), "<missing>");

  ASSERT_EQ(VcRegBegin(), S_OK);
  VcRegSetValue("A", nullptr, "a");
  VcRegSetValue("B", nullptr, "b");
  ASSERT_EQ(VcRegCommit(), S_OK);
  EXPECT_EQ(Get("A") + Get("B") + Get("Keep"), "ab1");
  EXPECT_EQ(VcRegCommit(), E_UNEXPECTED);
}

TEST_F(Registry, AReadOnlyFileRefusesChanges) {
  ASSERT_EQ(VcRegSetValue("Keep", nullptr, "1"), S_OK);
  ASSERT_EQ(chmod(path_.c_str(), 0444), 0);
  EXPECT_EQ(VcRegSetValue("New", nullptr, "x"), E_ACCESSDENIED);
  EXPECT_EQ(VcRegBegin(), E_ACCESSDENIED);
  EXPECT_EQ(Get("Keep"), "1");
  EXPECT_EQ(Get("New"), "<missing>");
  chmod(path_.c_str(), 0644);

  // A registry under a file where a folder should be cannot be written at all.
  setenv("VOMTEL_REGISTRY", (path_ + "/below-a-file.reg").c_str(), 1);
  EXPECT_TRUE(FAILED(VcRegSetValue("X", nullptr, "1")));
}

TEST_F(Registry, ReadsHandWrittenFiles) {
  ASSERT_EQ(VcRegSetValue("Seed", nullptr, "1"), S_OK);  // makes the folder
  std::ofstream(path_, std::ios::binary)
      << "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\Prog.Id\\CLSID]\n@=\"{X}\"\n\"Q\"=\"a \\\"b\\\" \\\\c\"\n"
         "\"N\"=dword:0000000a\n; comment\n[-HKEY_CLASSES_ROOT\\Gone]\n";
  EXPECT_EQ(Get("Prog.Id\\CLSID"), "{X}");
  EXPECT_EQ(Get("Prog.Id\\CLSID", "Q"), "a \"b\" \\c");
  EXPECT_EQ(Get("Prog.Id\\CLSID", "N"), "dword:0000000a");
  ASSERT_EQ(VcRegSetValue("Prog.Id\\CLSID", "Q", "z"), S_OK);
  EXPECT_NE(ReadFile(path_).find("\"N\"=dword:0000000a\r\n"), std::string::npos);
}

}  // namespace
