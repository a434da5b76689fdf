// Agent, IVR, campaign and service methods: the records they build from their arguments and
// from the control's properties, and their results.
#include <gtest/gtest.h>

#include "request_case.h"
#include "vomtel_ocx/main_control/outbound_records.h"

namespace vomtelx::test {
namespace {

// DISPIDs of the properties used here.
constexpr DISPID kStrCustName = 10, kStrCustKey = 11, kStrTkData = 26, kIBlackFlag = 29,
                 kUiCallKind = 33, kUiCmId = 34, kUiCmSq = 35, kUiAgentId = 36, kUiCampId = 37,
                 kIStartFlag = 38, kCampPhoneOrder = 47, kMaxFreq1 = 48, kCampDddNum = 55,
                 kUserOption = 99, kScheduleCnt = 90, kStartTime1 = 91, kCampaignName = 109,
                 kCampaignMode = 112, kCampAni = 118;

const std::string kForty(40, 'k');

void Customer(MainControlTest& t) {
  t.Put(kStrCustName, Variant("홍길동"));
  t.Put(kStrCustKey, Variant(kForty));
  t.Put(kStrTkData, Variant(std::string(1100, 't')));
  t.Put(kIBlackFlag, Variant(1));
  t.Put(kUiCallKind, Variant(2));
  t.Put(kUiCmId, Variant(3));
  t.Put(kUiCmSq, Variant(4));
  t.Put(kUiAgentId, Variant(8));
}

void Campaign(MainControlTest& t) {
  t.Put(kUiCampId, Variant(41));
  t.Put(kCampaignName, Variant("camp"));
  t.Put(kIStartFlag, Variant(300));
  t.Put(kMaxFreq1, Variant(70000));
  t.Put(kCampaignMode, Variant(65537));
  t.Put(kCampDddNum, Variant("1234567"));
  t.Put(kCampPhoneOrder, Variant("12345678901"));
  t.Put(kUserOption, Variant(std::string(201, 'o')));
  t.Put(kScheduleCnt, Variant(1));
  t.Put(kStartTime1, Variant("0900"));
  t.Put(kCampAni, Variant("0212345678"));
}

TEST_F(MainControlTest, ServiceMethodsReachTheirExports) {
  fake::Script created;
  created.outs = {77};
  const std::vector<RequestCase> cases = {
      {"ListHandle", 171,
       {Variant(2), Variant(9), Variant(99), Variant(5), Variant(3), Variant("Append"), Variant(4),
        Variant(std::string(300, 'f')), Variant(10)},
       "vomtelSetCampaignListHandle",
       [](const fake::Call& c) {
         EXPECT_EQ(c.Int(0), 2);
         EXPECT_EQ(c.Int(1), 9);
         const std::string& b = c.Bytes(2);
         ASSERT_EQ(b.size(), 288u);
         EXPECT_EQ(b.substr(0, 8), std::string("\x02\0\0\0\x09\0\0\0", 8));
         const auto r = c.Record<CampaignListHandleRecord>(2);
         EXPECT_EQ(r.CiodId, 1);
         EXPECT_EQ(r.CampaignId, 5);
         EXPECT_EQ(r.ListKind, 3);
         EXPECT_EQ(r.ListMode, 'A');
         EXPECT_TRUE(AllZero(b.substr(21, 3)));
         EXPECT_EQ(r.AppKind, 4);
         EXPECT_EQ(FieldText(r.FileName), std::string(255, 'f'));
         EXPECT_EQ(r.ListCount, 10);
       },
       1, {"vomtelobSetCampaignListHandle ..........! "}},
      {"BlackListTextsFillTheirFields", 174,
       {Variant(2), Variant(9), Variant(6), Variant(41), Variant(kForty), Variant("name"),
        Variant("20261210"), Variant("0212345678"), Variant(kForty)},
       "vomtelBlackListInsert",
       [](const fake::Call& c) {
         EXPECT_EQ(c.Int(2), 6);
         const std::string& b = c.Bytes(3);
         EXPECT_TRUE(AllZero(b.substr(0, 8)));
         const auto r = c.Record<BlackListRecord>(3);
         EXPECT_EQ(r.Cpid, 41u);
         EXPECT_EQ(b.substr(12, 31), std::string(31, 'k'));
         EXPECT_EQ(FieldText(r.CustName), "name");
         EXPECT_EQ(FieldText(r.CustDate), "20261210");
         EXPECT_EQ(FieldText(r.CustTel), "0212345678");
         EXPECT_EQ(b.substr(116, 32), std::string(32, 'k'));
       },
       3013, {"vomtelobBlackListInsert ..........! "},
       [](MainControlTest& t) { t.Script("vomtelBlackListInsert", Result(3013)); }},
      {"IvrRegister", 176,
       {Variant(2), Variant(9), Variant(1), Variant(2), Variant("a"), Variant("b"), Variant("uei"),
        Variant(3)},
       "vomtelIVRRegisterCall",
       [](const fake::Call& c) {
         EXPECT_EQ(c.Text(4), "a");
         EXPECT_EQ(c.Text(5), "b");
         EXPECT_EQ(c.Record<UserDataBlock>(6).Length, 3);
         EXPECT_EQ(c.Int(7), 3);
       },
       1, {"vomtelIvrRegisterCall ..........! "}},
      {"IvrRelease", 177, {Variant(2), Variant(9), Variant(1), Variant(2), Variant("4001"), Variant("5000")},
       "vomtelIVRReleaseCall", [](const fake::Call& c) { EXPECT_EQ(c.Text(5), "5000"); }, 1,
       {"vomtelIvrReleaseCall ..........! "}},
      {"CreateCampaignNarrowsTheNumbers", 178, {Variant(2), Variant(9), Variant(123)},
       "vomtelCreateCampaignEx",
       [](const fake::Call& c) {
         const auto r = c.Record<CampaignRecord>(3);
         EXPECT_EQ(r.CampId, 41);
         EXPECT_EQ(FieldText(r.CampaignName), "camp");
         EXPECT_EQ(r.StartFlag, 44);
         EXPECT_EQ(r.CampMaxFreq[0], 4464);
         EXPECT_EQ(r.CampaignMode, 1);
         EXPECT_EQ(FieldText(r.CampDddNum), "12345");
         EXPECT_EQ(FieldText(r.CampPhoneOrder), "12345678901");
         EXPECT_EQ(FieldText(r.UserOption), std::string(201, 'o'));
         EXPECT_EQ(r.ScheduleCnt, 1);
         EXPECT_EQ(FieldText(r.StartTime[0]), "0900");
         EXPECT_EQ(FieldText(r.CampAni), "0212345678");
       },
       1, {"vomtelCreateCampaignExX ..........! "},
       [&](MainControlTest& t) {
         Campaign(t);
         t.Script("vomtelCreateCampaignEx", created);
       }},
      {"CreateCampaignRefusesAPhoneOrderOfTwelve", 178, {Variant(2), Variant(9), Variant(0)}, nullptr,
       nullptr, 3009, {"vomtelCreateCampaignExX ..........! "},
       [](MainControlTest& t) {
         Campaign(t);
         t.Put(kCampPhoneOrder, Variant("123456789012"));
       }},
      {"CreateCampaignRefusesAUserOptionOf202", 178, {Variant(2), Variant(9), Variant(0)}, nullptr,
       nullptr, 3009, {"vomtelCreateCampaignExX ..........! "},
       [](MainControlTest& t) {
         Campaign(t);
         t.Put(kUserOption, Variant(std::string(202, 'o')));
       }},
      {"DestroyCampaign", 179, {Variant(2), Variant(9), Variant(1), Variant(2), Variant(3)},
       "vomtelDestoryCampaign", [](const fake::Call& c) { EXPECT_EQ(c.Int(4), 3); }, 1,
       {"vomtelDestoryCampaignX ..........! "}},
      {"StartCampaign", 180, {Variant(2), Variant(9), Variant(1), Variant(2)}, "vomtelStartCampaign",
       [](const fake::Call& c) { EXPECT_EQ(c.Int(3), 2); }, 1, {"vomtelStartCampaignX ..........! "}},
      {"StopCampaign", 181, {Variant(2), Variant(9), Variant(1), Variant(2)}, "vomtelStopCampaign",
       nullptr, 1, {"vomtelStopCampaignX ..........! "}},
      {"StartPreview", 182, {Variant(2), Variant(9), Variant(1), Variant(2), Variant("agent7")},
       "vomtelStartSystemPreview", [](const fake::Call& c) { EXPECT_EQ(c.Text(4), "agent7"); }, 1,
       {"vomtelStartSystemPreviewX ..........! "}},
      {"StopPreview", 183, {Variant(2), Variant(9), Variant(1), Variant(2), Variant("agent7")},
       "vomtelStopSystemPreview", nullptr, 1, {"vomtelStopSystemPreviewX ..........! "}},
      {"CounselResult", 190,
       {Variant(2), Variant(9), Variant(1), Variant(2), Variant(3), Variant(4), Variant(5),
        Variant(kForty), Variant(6), Variant(7), Variant("rsv"), Variant("0212345678"),
        Variant(std::string(25, 'r')), Variant(8)},
       "vomtelSetCounselResult",
       [](const fake::Call& c) {
         const auto r = c.Record<CounselResultRecord>(2);
         EXPECT_EQ(r.Gate, 2);
         EXPECT_EQ(r.Invoke, 9);
         EXPECT_EQ(r.Cpid, 1);
         EXPECT_EQ(r.AgentId, 5);
         EXPECT_EQ(std::string(r.EmployeeId, 32), std::string(32, 'k'));
         EXPECT_EQ(r.BlackList, 6);
         EXPECT_EQ(r.CallKind, 7);
         EXPECT_EQ(FieldText(r.RsvData), "rsv");
         EXPECT_EQ(std::string(r.Result, 21), std::string(21, 'r'));
         EXPECT_EQ(r.reserved131, 0);
         EXPECT_EQ(r.Clock, 8);
       },
       2018, {"vomtelSetCounselResult ..........! "},
       [](MainControlTest& t) { t.Script("vomtelSetCounselResult", Result(2018)); }},
      {"AgentFlagCaughtException", 191, {Variant(2), Variant(9), Variant("agent7"), Variant(1)},
       "vomtelSetAgentFlag", nullptr, 0,
       {"vomtelSetAgentFlagX ..........! ", "vomtelSetAgentFlagX CException"},
       [](MainControlTest& t) { t.Script("vomtelSetAgentFlag", Throws("x")); }},
      {"SetIni", 201, {Variant(3), Variant("C:\\log")}, "vomtelSetIni",
       [](const fake::Call& c) {
         EXPECT_EQ(c.Int(0), 3);
         EXPECT_EQ(c.Text(1), "C:\\log");
       },
       1, {"vomtelSetIniX ..........! "}},
      {"CounselInfo", 204, {Variant(2), Variant(9), Variant("cn"), Variant(4), Variant("tag"), Variant("att")},
       "vomtelPutCounselInfo",
       [](const fake::Call& c) {
         EXPECT_EQ(c.Text(2), "cn");
         EXPECT_EQ(c.Int(3), 4);
         EXPECT_EQ(c.Text(4), "tag");
         EXPECT_EQ(FieldText(c.Record<UserDataBlock>(5).Text), "att");
       },
       1, {"vomtelPutCounselInfoX ..........! "}},
      {"CallingListService", 205,
       {Variant(2), Variant(9), Variant(1), Variant(2), Variant(3), Variant(4), Variant(5)},
       "vomtelCallingListService", [](const fake::Call& c) { EXPECT_EQ(c.Int(6), 5); }, 3002,
       {"vomtelCallingListService ..........! "},
       [](MainControlTest& t) { t.Script("vomtelCallingListService", Result(3002)); }},
      {"NotifyRecord", 206, {Variant(2), Variant(9), Variant(12), Variant("4001"), Variant(1), Variant("B")},
       "vomtelNotifyRecord", [](const fake::Call& c) { EXPECT_EQ(c.Text(5), "B"); }, 2018,
       {"vomtelnotifyrecord ..........! "},
       [](MainControlTest& t) { t.Script("vomtelNotifyRecord", Result(2018)); }},
  };
  RunRequestTable(*this, cases, lines_);
}

TEST_F(MainControlTest, CreateCampaignFiresTheNewCampaignId) {
  Campaign(*this);
  fake::Script created;
  created.outs = {77};
  Script("vomtelCreateCampaignEx", created);
  EXPECT_EQ(CallLong(178, {Variant(2), Variant(9), Variant(0)}), 1);
  ASSERT_EQ(events_.size(), 1u);
  EXPECT_EQ(events_[0].id, 22);
  EXPECT_EQ(events_[0].args[0].ToI4(-1), 77);
  EXPECT_TRUE(events_[0].duringCall);
}

TEST_F(MainControlTest, CallbackListInsertBuildsTheCustomerAndFiresItsResult) {
  Customer(*this);
  fake::Script inserted;
  inserted.outs = {10, 20, 30, 0x12345};
  Script("vomtelCallbackListInsert", inserted);
  EXPECT_EQ(CallLong(173, {Variant(2), Variant(9), Variant(6)}), 0);

  const fake::Call& c = Calls().at(0);
  EXPECT_EQ(c.name, "vomtelCallbackListInsert");
  EXPECT_EQ(c.Int(2), 6);
  const std::string& b = c.Bytes(3);
  const auto r = c.Record<CallbackRecord>(3);
  EXPECT_TRUE(AllZero(b.substr(0, 12)));
  EXPECT_EQ(r.CmId, 3u);
  EXPECT_EQ(r.CmSq, 4u);
  EXPECT_EQ(FieldText(r.CustKey), std::string(29, 'k'));
  EXPECT_EQ(vomcom::Bstr::FromNarrow(r.CustName, sizeof r.CustName).Utf8(), "홍길동");
  EXPECT_EQ(FieldText(r.TkData), std::string(1023, 't'));
  EXPECT_EQ(r.BlackFlag, 1);
  EXPECT_EQ(r.CallKind, 2u);
  EXPECT_TRUE(AllZero(b.substr(1592, 4)));
  EXPECT_EQ(r.AgentId, 8u);

  ASSERT_EQ(events_.size(), 1u);
  EXPECT_EQ(events_[0].id, 13);
  ASSERT_EQ(events_[0].args.size(), 4u);
  EXPECT_EQ(events_[0].args[0].ToI4(-1), 10);
  EXPECT_EQ(events_[0].args[1].ToI4(-1), 20);
  EXPECT_EQ(events_[0].args[2].ToI4(-1), 30);
  EXPECT_EQ(events_[0].args[3].Type(), VT_I2);
  EXPECT_EQ(events_[0].args[3].ToI4(-1), 0x2345);

  // A failed insert hands back the library's code and fires nothing.
  events_.clear();
  Script("vomtelCallbackListInsert", Result(3013));
  EXPECT_EQ(CallLong(173, {Variant(2), Variant(9), Variant(6)}), 3013);
  EXPECT_TRUE(events_.empty());
}

TEST_F(MainControlTest, WaitTimeAndWaitCountAreTheTwoValuesOfOneReply) {
  fake::Script reply;
  reply.outs = {11, 22};
  Script("vomtelWaitTimeGet", reply);
  EXPECT_EQ(CallLong(157, {Variant(2), Variant(9), Variant(1), Variant("7000")}), 11);
  EXPECT_EQ(CallLong(158, {Variant(2), Variant(9), Variant(1), Variant("7000")}), 22);
  EXPECT_EQ(Calls().at(1).Text(3), "7000");
  reply.result = 3013;
  Script("vomtelWaitTimeGet", reply);
  EXPECT_EQ(CallLong(157, {Variant(2), Variant(9), Variant(1), Variant("7000")}), 0);
  EXPECT_EQ(CallLong(158, {Variant(2), Variant(9), Variant(1), Variant("7000")}), 0);
}

TEST_F(MainControlTest, AnInvokeIdBeyondSixteenBitsIsRefusedByTheDispatchLayer) {
  EXPECT_EQ(Call(171, {Variant(2), Variant(70000), Variant(0), Variant(0), Variant(0), Variant("A"),
                       Variant(0), Variant("f"), Variant(0)}),
            DISP_E_OVERFLOW);
  EXPECT_TRUE(Calls().empty());
}

}  // namespace
}  // namespace vomtelx::test
