// The dispatch table: DISPIDs by position, the members reachable but not declared to the
// type-info view, and names resolved as hosts resolve them.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "control_fixture.h"
#include "vomcom/testing/manual_site.h"
#include "vomtel_ocx/module/control_factories.h"

namespace vomtelx::test {
namespace {

TEST(MainControlMembers, DispidsArePositionsAndAboutBoxIsTheStockOne) {
  const auto& members = Cvomtel_ocxCtrl::kMembers;
  std::size_t properties = 0, methods = 0;
  std::set<std::string> names;
  for (std::size_t i = 0; i + 1 < Cvomtel_ocxCtrl::kMemberCount; ++i) {
    EXPECT_EQ(members[i].id, static_cast<DISPID>(i + 1)) << members[i].name;
    (members[i].kind == vomcom::MemberKind::Property ? properties : methods)++;
    EXPECT_TRUE(names.insert(vomcom::LowerAscii(members[i].name)).second) << members[i].name;
  }
  EXPECT_EQ(properties, 118u);
  EXPECT_EQ(methods, 89u);
  EXPECT_EQ(members[207].id, DISPID_ABOUTBOX);
  for (std::size_t i = 0; i < Cvomtel_ocxCtrl::kEventCount; ++i) {
    EXPECT_EQ(Cvomtel_ocxCtrl::kEvents[i].id, static_cast<DISPID>(i + 1));
  }
}

class MembersTest : public MainControlTest {};

TEST_F(MembersTest, NamesAndTheTypeInfoViewAgree) {
  ITypeInfo* raw = nullptr;
  ASSERT_EQ(control_->GetTypeInfo(0, 0, &raw), S_OK);
  vomcom::ComPtr<IUnknown> unknown;
  unknown.Attach(reinterpret_cast<IUnknown*>(raw));
  vomcom::ComPtr<IVcTypeInfo> info;
  ASSERT_EQ(unknown->QueryInterface(IID_IVcTypeInfo, info.PutVoid()), S_OK);
  UINT count = 0;
  ASSERT_EQ(info->GetMemberCount(&count), S_OK);
  std::set<DISPID> declared;
  std::map<std::string, DISPID> byName;
  for (UINT i = 0; i < count; ++i) {
    VcMemberInfo m{};
    ASSERT_EQ(info->GetMember(i, &m), S_OK);
    declared.insert(m.id);
    byName[m.name] = m.id;
  }
  // Undeclared: the customer properties, three methods and AboutBox.
  std::set<DISPID> hidden = {156, 176, 198, DISPID_ABOUTBOX};
  for (DISPID id = 10; id <= 36; ++id) hidden.insert(id);
  for (DISPID id = 1; id <= 207; ++id) {
    EXPECT_EQ(declared.count(id), hidden.count(id) ? 0u : 1u) << "DISPID " << id;
  }
  EXPECT_EQ(declared.count(DISPID_ABOUTBOX), 0u);

  struct Named {
    const char* name;
    DISPID id;
  } const cases[] = {{"AppName", 1},           {"ServerName1", 9},          {"strcustname", 10},
                     {"uiagentid", 36},        {"ucCampANI", 118},          {"vomtelGetMaxCPSQX", 119},
                     {"SetServerNameHA", 134}, {"VOMTELMAKECALL", 138},     {"vomtelopenserver", 154},
                     {"vomtelGetSkillMasterX", 156}, {"vomtelagentreadygetexu", 193},
                     {"vomtelgetagentex", 207}, {"AboutBox", DISPID_ABOUTBOX}};
  for (const Named& n : cases) {
    DISPID id = 0;
    EXPECT_EQ(vomcom::GetDispId(control_.Get(), n.name, &id), S_OK) << n.name;
    EXPECT_EQ(id, n.id) << n.name;
  }
  EXPECT_EQ(byName.at("vomtelagentreadygetexu"), 193);

  // The module's type library shows the same views.
  const ControlTypes types = MainControlTypes();
  UINT moduleCount = 0, events = 0;
  ASSERT_EQ(types.dispatch->GetMemberCount(&moduleCount), S_OK);
  EXPECT_EQ(moduleCount, count);
  ASSERT_EQ(types.events->GetMemberCount(&events), S_OK);
  EXPECT_EQ(events, 27u);
}

TEST_F(MembersTest, AboutBoxShowsItsMessageThroughTheSite) {
  vomcom::testing::ManualSite site;
  vomcom::ComPtr<IVcControl> control;
  ASSERT_EQ(control_->QueryInterface(IID_IVcControl, control.PutVoid()), S_OK);
  ASSERT_EQ(control->SetClientSite(site.Unknown()), S_OK);
  EXPECT_EQ(Call(DISPID_ABOUTBOX, {}), S_OK);
  ASSERT_EQ(site.Messages().size(), 1u);
  EXPECT_EQ(site.Messages()[0].caption, "About vomtel_ocx Control");
  EXPECT_EQ(site.Messages()[0].text, "vomtel_ocx Control, Version 1.0");
  control->SetClientSite(nullptr);
}

}  // namespace
}  // namespace vomtelx::test
