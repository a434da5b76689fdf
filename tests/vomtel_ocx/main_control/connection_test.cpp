// Server connection methods: the opens read the connection properties and let the library
// write the gate into GateId; close, the server names and device registration.
#include <gtest/gtest.h>

#include "request_case.h"

namespace vomtelx::test {
namespace {

constexpr DISPID kServerName = 2, kLinkMode = 3, kOpenDevice = 4, kOpenPort = 5, kGateId = 6,
                 kServerName1 = 9, kProxyIp = 114, kProxyPort = 115, kProxyId = 116,
                 kProxyPwd = 117;

// 30 characters; a DeviceRecord keeps 23 of them.
const std::string kLongDevice = "123456789012345678901234567890";

void Connection(MainControlTest& t) {
  t.Put(kServerName, Variant("10.0.0.7"));
  t.Put(kServerName1, Variant("10.0.0.8"));
  t.Put(kLinkMode, Variant(std::int16_t{4}));
  t.Put(kOpenPort, Variant(9709.0));
  t.Put(kOpenDevice, Variant(kLongDevice));
  t.Put(kGateId, Variant(std::int16_t{1}));
}

void ExpectDevice(const fake::Call& c, std::size_t i) {
  const DeviceRecord d = c.Record<DeviceRecord>(i);
  EXPECT_EQ(d.DeviceType, 0);
  EXPECT_EQ(d.HeaderByte, 48);
  EXPECT_EQ(d.LinkMode, 4);
  EXPECT_EQ(FieldText(d.Device), kLongDevice.substr(0, 23));
}

TEST_F(MainControlTest, ConnectionMethodsReachTheirExports) {
  fake::Script opened;
  opened.outs = {3};  // the gate the library writes back
  const std::vector<RequestCase> cases = {
      {"OpenDirect", 154, {}, "vomtelOpenServer",
       [](const fake::Call& c) {
         ExpectDevice(c, 2);
         EXPECT_EQ(c.Int(1), 0);
         EXPECT_EQ(c.Text(3), "10.0.0.7");
         EXPECT_EQ(c.Int(4), 9709);
         EXPECT_EQ(c.Text(5), "TCPIP");
         EXPECT_EQ(c.Text(6), "TCPIP");  // AppName's default
         EXPECT_EQ(c.Int(7), 1);
         EXPECT_EQ(c.Int(8), 0);
       },
       1,
       {"vomtelOpenServer ..........! ", "vomtelOpenServer m_lng_gateid [1]",
        "vomtelOpenServer deviceDn [" + kLongDevice.substr(0, 23) + "]"},
       [&](MainControlTest& t) {
         Connection(t);
         t.Script("vomtelOpenServer", opened);
       }},
      {"OpenWithProxyPortOneIsDirect", 154, {}, "vomtelOpenServer", nullptr, 3014,
       {"vomtelOpenServer ..........! ", "vomtelOpenServer m_lng_gateid [1]",
        "vomtelOpenServer deviceDn [" + kLongDevice.substr(0, 23) + "]"},
       [](MainControlTest& t) {
         Connection(t);
         t.Put(kProxyPort, Variant(1));
         t.Script("vomtelOpenServer", Result(3014));
       }},
      {"OpenThroughProxyGivesTheLibrarysAnswer", 154, {}, "vomtelOpenServerP",
       [](const fake::Call& c) {
         EXPECT_EQ(c.Text(2), "192.168.0.9");
         EXPECT_EQ(c.Int(3), 2);
         EXPECT_EQ(c.Text(4), "pid");
         EXPECT_EQ(c.Text(5), "secret");
         ExpectDevice(c, 6);
         EXPECT_EQ(c.Text(7), "10.0.0.7");
         EXPECT_EQ(c.Int(8), 9709);
       },
       2018,
       {"vomtelOpenServer ..........! ", "vomtelOpenServer m_lng_gateid [1]",
        "vomtelOpenServer deviceDn [" + kLongDevice.substr(0, 23) + "]"},
       [](MainControlTest& t) {
         Connection(t);
         t.Put(kProxyIp, Variant("192.168.0.9"));
         t.Put(kProxyPort, Variant(2));
         t.Put(kProxyId, Variant("pid"));
         t.Put(kProxyPwd, Variant("secret"));
         t.Script("vomtelOpenServerP", Result(2018));
       }},
      {"OpenX", 155, {}, "vomtelOpenServer", [](const fake::Call& c) { ExpectDevice(c, 2); }, 1,
       {"vomtelopenserver ..........! "}, Connection},
      {"OpenBothServers", 152, {}, "vomtelOpenServerHA",
       [](const fake::Call& c) {
         ExpectDevice(c, 2);
         EXPECT_EQ(c.Text(3), "10.0.0.7");
         EXPECT_EQ(c.Text(4), "10.0.0.8");
         EXPECT_EQ(c.Int(5), 9709);
         EXPECT_EQ(c.Text(6), "TCPIP");
       },
       3013,
       {"vomtelOpenserver HAX..........! ", "vomtelOpenserver HAX end result[3013]..........! "},
       [](MainControlTest& t) {
         Connection(t);
         t.Script("vomtelOpenServerHA", Result(3013));
       }},
      {"OpenBothServersCaughtException", 152, {}, "vomtelOpenServerHA", nullptr, 0,
       {"vomtelOpenserver HAX..........! ", "vomtelOpenserver HAX ex !!!!!!!!!!!!!!"},
       [](MainControlTest& t) {
         Connection(t);
         t.Script("vomtelOpenServerHA", Throws("no memory"));
       }},
      {"CloseBoth", 153, {Variant(2), Variant(std::int16_t{11})}, "vomtelCloseServerHA",
       [](const fake::Call& c) {
         EXPECT_EQ(c.Int(0), 2);
         EXPECT_EQ(c.Int(1), 11);
       },
       1, {"vomtelCloseServerHA ..........! ", "vomtelCloseServerHA end result[1]..........! "}},
      {"CloseBothCaughtException", 153, {Variant(2), Variant(11)}, "vomtelCloseServerHA", nullptr,
       0, {"vomtelCloseServerHA ..........! ", "vomtelCloseServer HAX ex !!!!!!!!!!!!!!"},
       [](MainControlTest& t) { t.Script("vomtelCloseServerHA", Throws("gone")); }},
      {"Close", 135, {Variant(2), Variant(12)}, "vomtelCloseServer",
       [](const fake::Call& c) { EXPECT_EQ(c.Int(0), 2); }, 1, {"vomtelCloseServer ..........! "}},
      {"AddDevice", 194, {Variant(2), Variant(13), Variant(kLongDevice)}, "vomtelAddDevice",
       [](const fake::Call& c) {
         EXPECT_EQ(c.Int(0), 2);
         ExpectDevice(c, 2);
       },
       3007, {"vomteladddevice ..........! "},
       [](MainControlTest& t) {
         t.Put(kLinkMode, Variant(4));
         t.Script("vomtelAddDevice", Result(3007));
       }},
      {"AddDeviceCaughtException", 194, {Variant(2), Variant(13), Variant("4001")},
       "vomtelAddDevice", nullptr, 0,
       {"vomteladddevice ..........! ", "vomteladddevice CException"},
       [](MainControlTest& t) { t.Script("vomtelAddDevice", Throws("bad")); }},
  };
  RunRequestTable(*this, cases, lines_);
}

TEST_F(MainControlTest, OpenLetsTheLibraryWriteTheGate) {
  Connection(*this);
  fake::Script opened;
  opened.outs = {5};
  Script("vomtelOpenServer", opened);
  EXPECT_EQ(CallLong(154, {}), 1);
  EXPECT_EQ(TextOf(Get(kGateId)), "5");
}

TEST_F(MainControlTest, CloseWithoutHandlerLetsAnExceptionReachTheHost) {
  Script("vomtelCloseServer", Throws("lost"));
  EXPECT_EQ(Call(135, {Variant(0), Variant(0)}), DISP_E_EXCEPTION);
  EXPECT_NE(lastException_.find("lost"), std::string::npos);
}

TEST_F(MainControlTest, SetServerNameHAPutsBothNames) {
  Variant result;
  ASSERT_EQ(Call(134, {Variant("10.1.1.1"), Variant("10.1.1.2")}, &result), S_OK);
  EXPECT_EQ(TextOf(Get(kServerName)), "10.1.1.1");
  EXPECT_EQ(TextOf(Get(kServerName1)), "10.1.1.2");
  EXPECT_TRUE(Calls().empty());
}

}  // namespace
}  // namespace vomtelx::test
