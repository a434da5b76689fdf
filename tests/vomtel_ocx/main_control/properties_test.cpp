// The main control's properties: defaults of a new control, the puts the agent program makes
// (and their effect on the trace log), and the property exchange through a property bag.
#include <gtest/gtest.h>

#include "control_fixture.h"
#include "vomcom/property_bag.h"

namespace vomtelx::test {
namespace {

using vomcom::ComPtr;
using vomcom::MemoryPropertyBag;

// DISPIDs of the properties used here.
constexpr DISPID kAppName = 1, kServerName = 2, kLinkMode = 3, kOpenDevice = 4, kOpenPort = 5,
                 kGateId = 6, kLogTrace = 7, kLogPath = 8, kServerName1 = 9, kStrCustName = 10,
                 kStrTkData = 26, kUiCmId = 34, kUiCampId = 37, kCampaignName = 109,
                 kProxyPort = 115, kCampAni = 118;

class PropertiesTest : public MainControlTest {
 protected:
  ComPtr<IPersistPropertyBag> Persist(IDispatch* control) {
    ComPtr<IPersistPropertyBag> persist;
    EXPECT_EQ(control->QueryInterface(IID_IPersistPropertyBag, persist.PutVoid()), S_OK);
    return persist;
  }
};

TEST_F(PropertiesTest, NewControlHasTheDefaultsAndLeavesTheLogAlone) {
  SetTraceLogEnabled(0);
  SetTraceLogDirectory("C:\\softphone");
  ComPtr<IDispatch> fresh;
  ASSERT_EQ(vomcom::ClassFactory<Cvomtel_ocxCtrl>::Instance().CreateInstance(
                nullptr, IID_IDispatch, fresh.PutVoid()),
            S_OK);
  struct Expected {
    DISPID id;
    const char* text;
  } const cases[] = {{kAppName, "TCPIP"}, {kServerName, ""},       {kLinkMode, "1"},
                     {kOpenDevice, ""},   {kOpenPort, "9500"},     {kGateId, "0"},
                     {kLogPath, "C:\\softphone"}, {kServerName1, ""}, {kStrCustName, ""},
                     {kUiCampId, "0"},    {kProxyPort, "0"},       {kCampAni, ""}};
  for (const Expected& c : cases) {
    Variant v;
    ASSERT_EQ(vomcom::Invoke(fresh.Get(), c.id, DISPATCH_PROPERTYGET, {}, v.Put()), S_OK);
    EXPECT_EQ(TextOf(v), c.text) << "DISPID " << c.id;
  }
  Variant trace;
  ASSERT_EQ(vomcom::Invoke(fresh.Get(), kLogTrace, DISPATCH_PROPERTYGET, {}, trace.Put()), S_OK);
  EXPECT_EQ(trace.Type(), VT_BOOL);
  EXPECT_EQ(trace.Get()->boolVal, VARIANT_TRUE);
  // LogTrace reads true, but the logger was not told.
  EXPECT_EQ(TraceLogEnabled(), 0);
  EXPECT_EQ(vomcom::Invoke(fresh.Get(), 136, DISPATCH_METHOD, {Variant(0), Variant(0)}, nullptr),
            S_OK);
  EXPECT_TRUE(lines_.empty());
}

TEST_F(PropertiesTest, PutsAsTheAgentProgramMakesThemReachTheMembersAndTheLogger) {
  SetTraceLogEnabled(0);
  ASSERT_EQ(Put(kGateId, Variant(std::int16_t{1})), S_OK);
  ASSERT_EQ(Put(kLogTrace, Variant("TRUE")), S_OK);
  ASSERT_EQ(Put(kLogPath, Variant("C:\\\\softphone")), S_OK);
  ASSERT_EQ(Put(kServerName, Variant("10.1.2.3")), S_OK);
  ASSERT_EQ(Put(kLinkMode, Variant(std::int16_t{4})), S_OK);
  ASSERT_EQ(Put(kOpenPort, Variant(9709.0)), S_OK);
  ASSERT_EQ(Put(kOpenDevice, Variant("4001")), S_OK);

  const MainControlProperties& p = Control().Properties();
  EXPECT_EQ(p.GateId, 1);
  EXPECT_EQ(p.LinkMode, 4);
  EXPECT_EQ(p.OpenPort, 9709);
  EXPECT_EQ(p.ServerName, u"10.1.2.3");
  EXPECT_EQ(p.OpenDevice, u"4001");
  EXPECT_EQ(p.LogPath, u"C:\\\\softphone");
  EXPECT_NE(TraceLogEnabled(), 0);
  ASSERT_NE(TraceLogDirectory(), nullptr);
  EXPECT_STREQ(TraceLogDirectory(), "C:\\\\softphone");
  EXPECT_EQ(Persist(control_.Get())->IsDirty(), S_OK);

  ASSERT_EQ(Put(kLogTrace, Variant("False")), S_OK);
  EXPECT_EQ(TraceLogEnabled(), 0);
  EXPECT_EQ(Get(kLogTrace).Get()->boolVal, VARIANT_FALSE);
}

TEST_F(PropertiesTest, AnEmptyLogPathRestoresTheDefaultFolder) {
  ASSERT_EQ(Put(kLogPath, Variant("D:\\logs")), S_OK);
  ASSERT_EQ(Put(kLogPath, Variant("")), S_OK);
  EXPECT_EQ(TextOf(Get(kLogPath)), "C:\\softphone");
  EXPECT_STREQ(TraceLogDirectory(), "C:\\softphone");
}

TEST_F(PropertiesTest, SaveAndLoadKeepConnectionAndCustomerButNotCampaign) {
  ASSERT_EQ(Put(kAppName, Variant("APP")), S_OK);
  ASSERT_EQ(Put(kServerName, Variant("10.0.0.1")), S_OK);
  ASSERT_EQ(Put(kStrCustName, Variant("홍길동")), S_OK);
  ASSERT_EQ(Put(kStrTkData, Variant("memo")), S_OK);
  ASSERT_EQ(Put(kUiCmId, Variant(77)), S_OK);
  ASSERT_EQ(Put(kUiCampId, Variant(5)), S_OK);
  ASSERT_EQ(Put(kCampaignName, Variant("camp")), S_OK);
  ASSERT_EQ(Put(kCampAni, Variant("0212345678")), S_OK);
  ASSERT_EQ(Put(kProxyPort, Variant(5)), S_OK);

  ComPtr<MemoryPropertyBag> bag = MemoryPropertyBag::Create();
  ASSERT_EQ(Persist(control_.Get())->Save(bag.Get(), TRUE, TRUE), S_OK);
  // Even a save puts the direct open back in force.
  EXPECT_EQ(TextOf(Get(kProxyPort)), "0");
  EXPECT_EQ(Persist(control_.Get())->IsDirty(), S_FALSE);
  EXPECT_EQ(bag->Find("uiCampId"), nullptr);
  EXPECT_EQ(bag->Find("proxyport"), nullptr);

  ComPtr<IDispatch> loaded;
  ASSERT_EQ(vomcom::ClassFactory<Cvomtel_ocxCtrl>::Instance().CreateInstance(
                nullptr, IID_IDispatch, loaded.PutVoid()),
            S_OK);
  ASSERT_EQ(vomcom::Invoke(loaded.Get(), kUiCampId, DISPATCH_PROPERTYPUT, {Variant(9)}, nullptr),
            S_OK);
  ASSERT_EQ(vomcom::Invoke(loaded.Get(), kProxyPort, DISPATCH_PROPERTYPUT, {Variant(3)}, nullptr),
            S_OK);
  ASSERT_EQ(Persist(loaded.Get())->Load(bag.Get(), nullptr), S_OK);
  const auto& p = static_cast<const Cvomtel_ocxCtrl*>(loaded.Get())->Properties();
  EXPECT_EQ(p.AppName, u"APP");
  EXPECT_EQ(p.ServerName, u"10.0.0.1");
  EXPECT_EQ(p.strcustname, u"홍길동");
  EXPECT_EQ(p.strtkdata, u"memo");
  EXPECT_EQ(p.uicmid, 77);
  EXPECT_EQ(p.ucCampANI, u"0212345678");
  EXPECT_EQ(p.OpenPort, 9500);
  // The campaign lives only in the instance: the load leaves it as the instance had it.
  EXPECT_EQ(p.uiCampId, 9);
  EXPECT_EQ(p.ucCampaignName, u"");
  EXPECT_EQ(p.proxyport, 0);
}

TEST_F(PropertiesTest, LoadTakesDefaultsForMissingPropertiesKeepsTheCallingNumberAndSkipsTheLogger) {
  ComPtr<MemoryPropertyBag> bag = MemoryPropertyBag::Create();
  bag->Set("ServerName", Variant("10.9.9.9"));
  bag->Set("LogTrace", Variant(false));
  bag->Set("LogPath", Variant("E:\\elsewhere"));
  ASSERT_EQ(Put(kAppName, Variant("OTHER")), S_OK);
  ASSERT_EQ(Put(kCampAni, Variant("0299998888")), S_OK);
  SetTraceLogDirectory("C:\\softphone");

  ASSERT_EQ(Persist(control_.Get())->Load(bag.Get(), nullptr), S_OK);
  const MainControlProperties& p = Control().Properties();
  EXPECT_EQ(p.ServerName, u"10.9.9.9");
  EXPECT_EQ(p.AppName, u"TCPIP");
  EXPECT_EQ(p.LogTrace, 0);
  EXPECT_EQ(p.LogPath, u"E:\\elsewhere");
  EXPECT_EQ(p.ucCampANI, u"0299998888");
  EXPECT_NE(TraceLogEnabled(), 0);
  EXPECT_STREQ(TraceLogDirectory(), "C:\\softphone");
}

}  // namespace
}  // namespace vomtelx::test
