// Self-registration of the module through the register tool: the type library and the six
// classes as the registry holds them, creation by ProgID, removal, a registry that cannot be
// written, and the type library as the tool prints it.
#include <sys/stat.h>

#include <string>

#include "module_host.h"

namespace vomtelx::module_test {
namespace {

using vomcom::ComPtr;

constexpr auto npos = std::string::npos;

std::string ClassKey(const ClassRow& c) { return std::string("CLSID\\") + c.clsid; }
std::string LibKey() { return std::string("TypeLib\\") + kLibId; }

TEST(Registration, WritesTheTypeLibraryAndEveryClassAndRemovesThemAgain) {
  ScratchRegistry registry;
  CommandResult r = RegisterTool("");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("DllRegisterServer " + ModulePath() + ": 0x00000000"), npos) << r.out;

  const std::string path = ModulePath();
  EXPECT_EQ(RegValue(LibKey() + "\\1.0"), "vomtel_ocx ActiveX Control module");
  EXPECT_EQ(RegValue(LibKey() + "\\1.0\\0\\linux64"), path);
  EXPECT_EQ(RegValue(LibKey() + "\\1.0\\FLAGS"), "0");
  for (const ClassRow& c : kClassRows) {
    SCOPED_TRACE(c.name);
    const std::string key = ClassKey(c);
    EXPECT_EQ(RegValue(key), c.typeName);
    EXPECT_EQ(RegValue(key + "\\InprocServer32"), path);
    EXPECT_EQ(RegValue(key + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(RegValue(key + "\\ProgID"), c.progId);
    EXPECT_EQ(RegValue(std::string(c.progId) + "\\CLSID"), c.clsid);
    if (c.bitmap != 0) {
      EXPECT_EQ(VcRegKeyExists((key + "\\Control").c_str()), S_OK);
      EXPECT_EQ(RegValue(key + "\\ToolboxBitmap32"), path + ", " + std::to_string(c.bitmap));
      EXPECT_EQ(RegValue(key + "\\MiscStatus\\1"), "131473");  // 0x20191
      EXPECT_EQ(RegValue(key + "\\TypeLib"), kLibId);
      EXPECT_EQ(RegValue(key + "\\Version"), "1.0");
    } else {
      EXPECT_EQ(VcRegKeyExists((key + "\\Control").c_str()), S_FALSE);
    }
    CLSID clsid{};
    ASSERT_EQ(VcCLSIDFromProgIDA(c.progId, &clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, Guid(c.clsid)));
    ComPtr<IUnknown> object;
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               object.PutVoid()),
              S_OK);
  }

  r = RegisterTool("--unregister");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(VcRegKeyExists(LibKey().c_str()), S_FALSE);
  for (const ClassRow& c : kClassRows) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(VcRegKeyExists(ClassKey(c).c_str()), S_FALSE);
    EXPECT_EQ(VcRegKeyExists(c.progId), S_FALSE);
    ComPtr<IUnknown> object;
    EXPECT_EQ(CoCreateInstance(Guid(c.clsid), nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               object.PutVoid()),
              REGDB_E_CLASSNOTREG);
  }
}

// Unregistration takes away version 1.0 of the type library, the version it registers, and
// the library's key only when nothing else is left in it.
TEST(Registration, UnregisteringLeavesAnotherVersionOfTheTypeLibrary) {
  struct Case {
    const char* name;
    const char* otherKey;  // below the library's key; null: nothing else
    const char* otherValue;
  } const cases[] = {
      {"alone", nullptr, nullptr},
      {"another version", "\\2.0", "a later module"},
      {"another version's file", "\\1.1\\0\\linux64", "/opt/other.so"},
      {"a value of the library's own key", "", "kept"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchRegistry registry;
    ASSERT_EQ(RegisterTool("").status, 0);
    if (c.otherKey != nullptr) {
      ASSERT_EQ(VcRegSetValue((LibKey() + c.otherKey).c_str(), nullptr, c.otherValue), S_OK);
    }
    const CommandResult r = RegisterTool("--unregister");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(VcRegKeyExists((LibKey() + "\\1.0").c_str()), S_FALSE);
    if (c.otherKey == nullptr) {
      EXPECT_EQ(VcRegKeyExists(LibKey().c_str()), S_FALSE);
    } else {
      EXPECT_EQ(RegValue(LibKey() + c.otherKey), c.otherValue);
    }
  }
}

TEST(Registration, ARegistryThatCannotBeWrittenRefusesTheTypeLibraryAndGetsNoClass) {
  ScratchRegistry registry;
  ASSERT_EQ(VcRegSetValue("Keep", nullptr, "1"), S_OK);
  ASSERT_EQ(chmod(registry.Path().c_str(), 0444), 0);
  CommandResult r = RegisterTool("");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.out.find("DllRegisterServer " + ModulePath() + ": 0x80040200"), npos) << r.out;
  EXPECT_EQ(VcRegKeyExists(LibKey().c_str()), S_FALSE);
  for (const ClassRow& c : kClassRows) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(VcRegKeyExists(ClassKey(c).c_str()), S_FALSE);
    EXPECT_EQ(VcRegKeyExists(c.progId), S_FALSE);
  }
  EXPECT_EQ(RegValue("Keep"), "1");

  // Registered, then the registry made read-only: unregistration fails the same way and
  // leaves every class in place.
  ASSERT_EQ(chmod(registry.Path().c_str(), 0644), 0);
  ASSERT_EQ(RegisterTool("").status, 0);
  ASSERT_EQ(chmod(registry.Path().c_str(), 0444), 0);
  r = RegisterTool("--unregister");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.out.find(": 0x80040200"), npos) << r.out;
  for (const ClassRow& c : kClassRows) EXPECT_EQ(VcRegKeyExists(ClassKey(c).c_str()), S_OK);
  chmod(registry.Path().c_str(), 0644);
}

using TypeLibraryText = RegisteredModuleTest;

// The nine type descriptions in order, with their kinds, flags and doc strings, and members
// under the DISPIDs the dispatch tables give them.
TEST_F(TypeLibraryText, ListsTheLibraryAndItsNineTypesInOrder) {
  const CommandResult r = RegisterTool("--typelib");
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string& t = r.out;
  const char* const expected[] = {
      "library vomtel_ocxLib {B43A79D9-43CB-4B04-86B7-38E0C14FA09E} version 1.0 lcid 0x0409",
      "helpstring \"vomtel_ocx ActiveX Control module\"",
      "helpfile \"vomtel_ocx.hlp\"",
      "dispinterface _Dvomtel_ocx {0AA50762-2051-4EC4-90C4-9AC3A6AD72E8} hidden",
      "helpstring \"Dispatch interface for vomtel_ocx Control\"",
      // Record addresses are pointer-sized; the campaign id and the popup's event are numbers.
      "[id 127] method long vomtelCallbackListInsertX(long, short, long, int64, int64)",
      "[id 130] method long vomtelCreateCampaignX(long, short, long, int64)",
      "[id 132] method long vomtelSendPopupX(long, short, BSTR, long)",
      "[id 193] method long vomtelagentreadygetexu(",
      "dispinterface (events) _Dvomtel_ocxEvents {3F53B292-706C-4661-9DBB-C4C6C4CAF88B}",
      "coclass vomtel_ocx {46BE120F-FA60-4FEC-8327-5690F3E31C31} control creatable",
      "[default] interface {0AA50762-2051-4EC4-90C4-9AC3A6AD72E8}",
      "[default] source {3F53B292-706C-4661-9DBB-C4C6C4CAF88B}",
      "dispinterface _Dvomtel_ocxEvt {5E8402DC-AEEB-41C0-B5A8-B1784799EEF7} hidden",
      "[id 83] propget long TokenId()",
      "dispinterface (events) _Dvomtel_ocxEvtEvents {EC6B518F-66E2-4379-A34A-EA24FB42E486}",
      "[id 1] method void vomteleventget(long)",
      "coclass vomtel_ocxEvt {2E830C8F-BC52-403A-8B18-B8A89127AFC8} control creatable",
      "dispinterface _Dvomtel_ocxOB {45A19336-AE40-45F4-B213-A8E449731685} hidden",
      "[id 1] method long vomtelobsetcampaignlisthandleX(",
      "[id -552] method void AboutBox()",
      "dispinterface (events) _Dvomtel_ocxOBEvents {E34464D7-9503-4D82-B830-17287D3DFCD8}",
      "coclass vomtel_ocxOB {069F236C-F6CC-40BA-B215-2075A8E06F8F} control creatable",
      "helpstring \"vomtel_ocxOB Control\"",
  };
  size_t at = 0;
  for (const char* line : expected) {
    const size_t found = t.find(line, at);
    ASSERT_NE(found, npos) << "missing, or out of order: " << line << "\n" << t;
    at = found + 1;
  }
  // The main and event controls' AboutBox and the main control's hidden members are in no
  // dispatch interface of the library.
  EXPECT_EQ(t.find("AboutBox"), t.rfind("AboutBox")) << "only the outbound control's";
  // (The main control's event interface has an event named like one of them.)
  const size_t from = t.find("dispinterface _Dvomtel_ocx ");
  const std::string mainDispatch = t.substr(from, t.find("dispinterface (events)", from) - from);
  for (const char* undeclared : {"vomtelGetSkillMasterX", "vomtelIvrRegisterCall",
                                 "vomtelAgentReadyGetIIX", "strcustname", "uiagentid"}) {
    EXPECT_EQ(mainDispatch.find(std::string(" ") + undeclared + "("), npos) << undeclared;
  }
  EXPECT_NE(mainDispatch.find(" vomtelagentreadygetexu("), npos);
}

}  // namespace
}  // namespace vomtelx::module_test
