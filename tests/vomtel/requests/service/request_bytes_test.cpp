// Every service request against the simulator: the body it receives (written out here from
// the request tables), class and code, the request number, and the result handed back.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

#include "service_gate.h"
#include "vomtel/requests/service/agent_directory.h"
#include "vomtel/requests/service/agent_list_queries.h"
#include "vomtel/requests/service/agent_settings.h"
#include "vomtel/requests/service/callback_insert.h"
#include "vomtel/requests/service/campaign_lists.h"
#include "vomtel/requests/service/campaign_status.h"
#include "vomtel/requests/service/campaigns.h"
#include "vomtel/requests/service/data_queries.h"
#include "vomtel/requests/service/ivr_sql.h"
#include "vomtel/requests/service/masters.h"
#include "vomtel/requests/service/outbound_lists.h"
#include "vomtel/requests/service/preview.h"
#include "vomtel/requests/service/uploads.h"

namespace vomtel::test {
namespace {

constexpr std::uint32_t kWord = 70001;  // not 1: the server's word must come back as it is
constexpr std::uint32_t kGateTo = 0x00000102;

// The body after the session id: the request number of a fresh adapter's first request (2),
// then the fields; an answer carries the server's request id in front of the number.
Bytes Req(Frame fields) { return Frame().PutU16(2).PutBytes(fields.Take()).Take(); }
Bytes Ans(Frame fields) { return Frame().PutU32(kGateTo).PutU16(2).PutBytes(fields.Take()).Take(); }

ctisim::ReplyRule NoReply() {
  ctisim::ReplyRule rule;
  rule.withhold = true;
  return rule;
}

struct BytesCase {
  const char* name;
  std::uint8_t cls;
  std::uint8_t code;
  std::function<int(OrbaAdapter&, int)> run;
  Bytes body;  // from body byte 4 on
  ctisim::ReplyRule reply = Reply(kWord);
  int result = static_cast<int>(kWord);
};

CallbackInsertRecord InsertRecord() {
  CallbackInsertRecord r;
  r.uiCmId = 1;
  r.uiCmSq = 2;
  r.strCustKey = "k";
  r.strCustName = "n";
  r.strCustKey2 = "k2";
  r.strCustKey3 = "k3";
  for (std::size_t i = 0; i < r.strCustChar.size(); ++i) r.strCustChar[i] = std::string("c") + std::to_string(i + 1);
  for (std::size_t i = 0; i < r.strTelNo.size(); ++i) r.strTelNo[i] = "t" + std::to_string(i + 1);
  r.strtkdata = SizedString("tk");
  r.strMailAdd = "m";
  r.strSMSPhone = "s";
  r.iBlackFlag = 0;
  r.strReCallTime = "rt";
  r.strRecallTelNo = "rn";
  r.employee_id = "e";
  r.uiCallKind = 3;
  return r;
}

const BytesCase kCases[] = {
    // Agent lists.
    {"AgentGetBySkill", 0x45, 0x61, [](OrbaAdapter& a, int g) { return AgentGetBySkill(a, 5, 6, 7, 8, g); },
     Req(Frame().PutU32(5).PutU32(6).PutU8(7).PutU16(8))},
    {"AgentBusyGetII", 0x45, 0x97,
     [](OrbaAdapter& a, int) { AgentList l; return AgentBusyGetII(a, 70000, -1, 9, l); },
     Req(Frame().PutU32(70000).PutU32(0xFFFFFFFF).PutU16(9))},
    {"AgentReadyGet", 0x45, 0x98,
     [](OrbaAdapter& a, int g) { AgentList l; return AgentReadyGet(a, 1, 2, 3, l, g); },
     Req(Frame().PutU32(1).PutU32(2).PutU16(3))},
    {"AgentReadyGetEx", 0x45, 0x60,
     [](OrbaAdapter& a, int g) { AgentList l; return AgentReadyGetEx(a, 0x1234, 2, 3, l, g); },
     Req(Frame().PutU16(0x1234).PutU16(2).PutU16(3))},
    {"AgentStatusGet", 0x45, 0xBE,
     [](OrbaAdapter& a, int g) { AgentStatusList l; return AgentStatusGet(a, 2, 100, 3, 4, l, g); },
     Req(Frame().PutU8(2).PutU32(100).PutU32(3).PutU32(4)), Reply(kWord, {0})},
    // Data queries.
    {"GetMonitor", 0x42, 0x46, [](OrbaAdapter& a, int g) { std::uint8_t m; return GetMonitor(a, m, g); },
     Req(Frame())},
    {"CallToCNID", 0x45, 0x5F, [](OrbaAdapter& a, int g) { std::uint32_t c; return CallToCNID(a, 7, 1001, c, g); },
     Req(Frame().PutU32(7).PutU32(1001))},
    {"UserExInfo", 0x45, 0x78, [](OrbaAdapter& a, int g) { return UserExInfo(a, 7, "UE", g); },
     Req(Frame().PutU32(7).PutStr16("UE"))},
    {"MultiAddDevice", 0x45, 0x64,
     [](OrbaAdapter& a, int g) {
       const std::uint32_t devices[] = {5, 6, 7};
       return MultiAddDevice(a, 1, 2, 3, devices, g);
     },
     Req(Frame().PutU8(1).PutU8(2).PutU16(3).PutU32(5).PutU32(6).PutU32(7))},
    {"MultiAgentGet", 0x45, 0xE6,
     [](OrbaAdapter& a, int g) { AgentList l; return MultiAgentGet(a, "1001", "ag", l, g); },
     Req(Frame().PutStr8("1001").PutStr8("ag"))},
    {"AgentSkillGet", 0x45, 0x5D,
     [](OrbaAdapter& a, int g) { AgentList l; return AgentSkillGet(a, 10, 11, l, g); },
     Req(Frame().PutU32(10).PutU32(11))},
    {"AgentReadyRateGet", 0x45, 0xFB, [](OrbaAdapter& a, int g) { float r; return AgentReadyRateGet(a, 3, r, g); },
     Req(Frame().PutU32(3))},
    {"QueryAgentStatusEx", 0x45, 0x6E,
     [](OrbaAdapter& a, int g) { AgentListEntry e; return QueryAgentStatusEx(a, "ag", 1001, e, g); },
     Req(Frame().PutStr8("ag").PutU32(1001))},
    {"WaitTimeGet", 0x45, 0x82,
     [](OrbaAdapter& a, int g) { std::uint32_t f, s; return WaitTimeGet(a, "7001", 9, f, s, g); },
     Req(Frame().PutU32(9).PutStr8("7001"))},
    {"NumberOfWait", 0x57, 0x3F,
     [](OrbaAdapter& a, int g) { std::uint32_t n; return NumberOfWait(a, 1, 2, "3001", n, g); },
     Req(Frame().PutU32(1).PutU32(2).PutStr8("3001"))},
    {"PwdConfirm", 0x45, 0xFC, [](OrbaAdapter& a, int g) { return PwdConfirm(a, 1001, 1, "pw", g); },
     Req(Frame().PutU32(1001).PutU32(1).PutStr16("pw"))},
    {"GetUEIData", 0x45, 0xAB,
     [](OrbaAdapter& a, int) {
       std::array<char, 8> uei{}, ci{};
       return GetUEIData(a, 3, 7, uei, ci);
     },
     Req(Frame().PutU8(3).PutU32(7))},
    // Agent settings, masters, uploads.
    {"PutCounsel", 0x45, 0xC1, [](OrbaAdapter& a, int g) { return PutCounsel(a, "cn", 65537, "tg", "att", g); },
     Req(Frame().PutStr8("cn").PutU16(1).PutStr8("tg").PutStr16("att")), NoReply(), 1},
    {"AgentBlocking", 0x45, 0xCB, [](OrbaAdapter& a, int g) { return AgentBlocking(a, "ag", 60, g); },
     Req(Frame().PutStr8("ag").PutU32(60))},
    {"AgentBlockingEx", 0x45, 0xCB,
     [](OrbaAdapter& a, int) { std::uint32_t v, s; return AgentBlockingEx(a, "ag", 60, 5, "camp", 9, v, s); },
     Req(Frame().PutStr8("ag").PutU32(60).PutStr8("camp").PutU32(5).PutU32(9))},
    {"AgentFlag", 0x45, 0x5A, [](OrbaAdapter& a, int g) { return AgentFlag(a, "ag", 258, g); },
     Req(Frame().PutStr8("ag").PutU8(2))},
    {"WaitingCallTimePeriod", 0x45, 0x84,
     [](OrbaAdapter& a, int g) { std::vector<WaitingPeriodEntry> l; return WaitingCallTimePeriod(a, 30, "7001", l, g); },
     Req(Frame().PutU32(30).PutStr8("7001"))},
    {"WaitingCallListOfQueue", 0x45, 0x84,
     [](OrbaAdapter& a, int g) { std::vector<QueueEntry> l; return WaitingCallListOfQueue(a, "7001", l, g); },
     Req(Frame().PutStr8("7001"))},
    {"GetSkillMaster", 0x45, 0xD2,
     [](OrbaAdapter& a, int g) { std::vector<SkillMasterItem> l; return GetSkillMaster(a, 4, l, g); },
     Req(Frame().PutU32(4))},
    {"SetUEIData", 0x45, 0xAA, [](OrbaAdapter& a, int g) { return SetUEIData(a, 2, 7, "UE", g); },
     Req(Frame().PutU8(2).PutU32(7).PutStr16("UE"))},
    // IVR routing and SQL.
    {"RegisterCall", 0x57, 0x3C,
     [](OrbaAdapter& a, int g) { return RegisterCall(a, 1, 7, "1234567", "7654321", "cd", 9, g); },
     Req(Frame().PutU32(1).PutU32(7).PutStr8("1234567").PutStr8("7654321").PutStr16("cd").PutU32(9))},
    {"ReleaseCall", 0x57, 0x3D, [](OrbaAdapter& a, int g) { return ReleaseCall(a, 1, 7, "1001", "2002", g); },
     Req(Frame().PutU32(1).PutU32(7).PutStr8("1001").PutStr8("2002"))},
    {"AllowRouting", 0x57, 0x3E, [](OrbaAdapter& a, int g) { return AllowRouting(a, 1, "200", 2, 1, g); },
     Req(Frame().PutU32(1).PutU32(2).PutStr8("200").PutU32(1))},
    {"SQLQuery", 0x45, 0x5E,
     [](OrbaAdapter& a, int g) {
       std::uint32_t count;
       std::string rows;
       return SQLQuery(a, "dev", 3, ',', count, "select 1", rows, g);
     },
     Req(Frame().PutStr8("dev").PutU16(3).PutU8(',').PutStr16("select 1"))},
    {"SQLExecute", 0x45, 0xA0,
     [](OrbaAdapter& a, int g) { return SQLExecute(a, "dev", "update t set a='x%'", g); },
     Req(Frame().PutStr8("dev").PutStr16("update t set a='x%'"))},
    {"PutTraceInfo", 0x45, 0xC0,
     [](OrbaAdapter& a, int g) {
       TraceTexts t{{"1", "2", "3", "4", "5", "6"}, 5, "7", "data"};
       return PutTraceInfo(a, 1, 2, t, g);
     },
     Req(Frame().PutU32(1).PutU32(2).PutStr8("1").PutStr8("2").PutStr8("3").PutStr8("4").PutStr8("5")
             .PutStr8("6").PutU8(5).PutStr8("7").PutStr16("data")),
     NoReply(), 1},
    // Agent count, CPSQ, black list, calling list.
    {"GetAgentCount", 0x45, 0x5D,
     [](OrbaAdapter& a, int g) { std::uint32_t c; return GetAgentCount(a, "r1,r2", 3, 1, c, g); },
     Req(Frame().PutStr16("r1,r2").PutU8(3).PutU8(1))},
    {"GetMaxCPSQ", 0x45, 0xF6, [](OrbaAdapter& a, int g) { std::uint32_t m; return GetMaxCPSQ(a, 5, 6, m, g); },
     Req(Frame().PutU32(5).PutU32(6))},
    {"GetMaxCPSQResult", 0x45, 0xF6,
     [](OrbaAdapter& a, int g) { return GetMaxCPSQResult(a, kGateTo, 5, 6, 30, 1, g); },
     Ans(Frame().PutU32(1).PutU32(5).PutU32(6).PutU32(30)), NoReply(), 1},
    {"BlackListInsert", 0x45, 0xF7,
     [](OrbaAdapter& a, int g) { return BlackListInsert(a, 3, {4, "k", "n", "d", "tel", "ag"}, g); },
     Req(Frame().PutStr8("k").PutStr8("n").PutStr8("d").PutStr8("tel").PutStr8("ag")),
     OutboundReply(9, Frame().PutU32(kWord).Take())},
    {"BlackListInsertResult", 0x45, 0xF7,
     [](OrbaAdapter& a, int g) { return BlackListInsertResult(a, kGateTo, 1, g); }, Ans(Frame().PutU32(1)),
     NoReply(), 1},
    {"CallingListService", 0x45, 0xD5,
     [](OrbaAdapter& a, int g) { return CallingListService(a, 1, 2, 3, 4, 5, g); },
     Req(Frame().PutU16(1).PutU32(2).PutU32(3).PutU32(4).PutU8(5)),
     OutboundReply(9, Frame().PutU16(1).PutU32(kWord).Take())},
    // Campaign status and preview.
    {"StartCampaign", 0x45, 0xF0, [](OrbaAdapter& a, int g) { return CampaignStatus(a, 3, 9, kStartMode, g); },
     Req(Frame().PutU32(3).PutU32(9).PutU8(1))},
    {"StopSystemPreview", 0x45, 0xF1,
     [](OrbaAdapter& a, int g) { return SystemPreview(a, 3, 9, "ag", kStopMode, g); },
     Req(Frame().PutU32(3).PutU32(9).PutStr8("ag").PutU8(0))},
    {"CampaignInfo", 0x45, 0x8C, [](OrbaAdapter& a, int g) { return CampaignInfo(a, 7, "", g); },
     Req(Frame().PutU32(7).PutU16(0))},
    {"SystemPreviewState", 0x45, 0xF2, [](OrbaAdapter& a, int g) { return SystemPreviewState(a, 3, 9, "ag", g); },
     Req(Frame().PutU32(3).PutU32(9).PutStr8("ag"))},
    // Campaign lists and call-back campaigns.
    {"SetCampaignListHandle", 0x45, 0xF5,
     [](OrbaAdapter& a, int g) { return SetCampaignListHandle(a, {258, 4, 1, 2, 3, 6, "f.txt"}, g); },
     Req(Frame().PutU32(1).PutU32(2).PutU32(3).PutU8(2).PutU32(4).PutStr8("f.txt").PutU32(6))},
    {"CampaignListHandleResult", 0x45, 0xF5,
     [](OrbaAdapter& a, int g) { return CampaignListHandleResult(a, kGateTo, 1, g); }, Ans(Frame().PutU32(1))},
    {"CallbackCampaign", 0x45, 0xC8,
     [](OrbaAdapter& a, int g) { std::vector<CallbackCampaignEntry> l; return CallbackCampaign(a, 5, l, g); },
     Req(Frame().PutU32(5)), OutboundReply(9, Frame().PutU32(kWord).PutU16(0).Take())},
    {"CallbackCampaignResult", 0x45, 0xC8,
     [](OrbaAdapter& a, int g) {
       const CallbackCampaignEntry list[] = {{1, 2, 3}};
       return CallbackCampaignResult(a, kGateTo, 5, list, g);
     },
     Ans(Frame().PutU32(5).PutU16(1).PutU32(1).PutU32(2).PutU32(3))},
    // Agent directory.
    {"GetAgent", 0x45, 0xC2,
     [](OrbaAdapter& a, int g) {
       AgentList l;
       return GetAgent(a, {"d", "a", "s", "t", "g", "p", "m", "unused", "9"}, l, g);
     },
     Req(Frame().PutStr8("d").PutStr8("a").PutStr8("s").PutStr8("t").PutStr8("g").PutStr8("p")
             .PutStr8("m").PutStr8("9"))},
    {"GetAgentEx", 0x45, 0xC7,
     [](OrbaAdapter& a, int g) {
       AgentList l;
       std::string read;
       std::uint32_t total;
       return GetAgentEx(a, {"d", "a", "s", "t", "g", "p", "m", "b", "9"}, l, read, total, g);
     },
     Req(Frame().PutStr16("d").PutStr16("a").PutStr16("s").PutStr16("t").PutStr16("g").PutStr16("p")
             .PutStr8("m").PutStr8("b").PutStr8("9"))},
    // Call-back insert, call load, campaigns, preview call.
    {"CallbackListInsert", 0x45, 0xC9,
     [](OrbaAdapter& a, int g) { CallbackResult r; return CallbackListInsert(a, 5, InsertRecord(), r, g); },
     Req(Frame().PutU32(5).PutU32(1).PutU32(2).PutStr8("k").PutStr8("n").PutStr8("k2").PutStr8("k3")
             .PutStr8("c1").PutStr8("c2").PutStr8("c3").PutStr8("c4").PutStr8("c5").PutStr8("c6").PutStr8("c7")
             .PutStr8("t1").PutStr8("t2").PutStr8("t3").PutStr8("t4").PutStr8("t5").PutStr16("tk")
             .PutStr8("m").PutStr8("s").PutU32(0).PutStr8("rt").PutStr8("rn").PutStr8("e").PutU32(3)),
     OutboundReply(9, Frame().PutU32(1).PutU32(2).PutU32(3).PutU32(kWord).Take()), 1},
    {"MaxCallLoadAgent", 0x45, 0xD6,
     [](OrbaAdapter& a, int g) { std::vector<MaxCallLoadEntry> l; return MaxCallLoadAgent(a, "emp", l, g); },
     Req(Frame().PutStr8("emp")), Reply(1, Frame().PutU32(kWord).Take())},
    {"DestoryCampaign", 0x45, 0xFB, [](OrbaAdapter& a, int g) { return DestoryCampaign(a, 3, 9, 0x1FF, g); },
     Req(Frame().PutU32(3).PutU32(9).PutU8(0xFF))},
    {"PreviewMakeCall", 0x45, 0xF8, [](OrbaAdapter& a, int g) { return PreviewMakeCall(a, 1, 2, 3, "emp", 4, g); },
     Req(Frame().PutU32(1).PutU32(2).PutU32(3).PutStr8("emp").PutU32(4)),
     OutboundReply(9, Frame().PutU32(kWord).Take())},
};

// Every case is answered or sent without waiting, so none waits its reply wait out: a reply
// unit of 1 s (a wait of 3 s) lets a busy machine under a sanitizer hand each reply over in time.
class ServiceRequestBytes : public ServiceGate, public ::testing::WithParamInterface<BytesCase> {
 protected:
  Timings GateTimings() const override { return PatientServiceTimings(); }
};

TEST_P(ServiceRequestBytes, SentAsTabledAndAnswered) {
  const BytesCase& c = GetParam();
  Sim().SetRule(c.cls, c.code, c.reply);

  EXPECT_EQ(c.run(Adapter(), Gate()), c.result);

  // Requests sent without waiting may still be on their way.
  const auto received = Sim().WaitForRequest(c.cls, c.code, milliseconds(1000));
  ASSERT_TRUE(received);
  EXPECT_EQ(Requests().size(), 1u);
  const ctisim::Request& sent = *received;
  EXPECT_EQ(sent.cls, c.cls);
  EXPECT_EQ(sent.code, c.code);
  EXPECT_EQ(sent.session_id, kSessionId);
  ASSERT_GE(sent.body.size(), 4u);
  EXPECT_EQ(ctisim::Hex(Bytes(sent.body.begin() + 4, sent.body.end())), ctisim::Hex(c.body));
}

INSTANTIATE_TEST_SUITE_P(Operations, ServiceRequestBytes, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vomtel::test

namespace vomtel::test {
namespace {

// The campaign definition in wire order: one count for both time arrays (all start times,
// then all end times), the skill ids behind their count, the signed byte widened with its sign.
TEST_F(ServiceGate, CreateCampaignSendsTheDefinitionInWireOrder) {
  CampaignRecord c;
  c.uiCampId = 1;
  c.ucCampaignName = "nm";
  c.ucCampaignDesc = "ds";
  c.uiCampaignSiteCode = 2;
  c.uiCampaignSVCODE = 3;
  c.ucStartFlag = 4;
  c.ucCampENFL = 5;
  c.unCampaignMode = 6;
  c.ucCampCallBack = 7;
  c.ucCampDLFL = 8;
  c.uiCampListCnt = 9;
  c.ucCampListQuery = "q";
  c.ucCampListFile = "f";
  c.uiCampNextCamp = 10;
  c.uiCampTokenId = 11;
  c.ucCampPhoneOrder = "po";
  c.unCampMaxFreq = {12, 13, 14, 15, 16};
  c.uiCampInterval = 17;
  c.ucCampTACode = "ta";
  c.ucCampDDDNum = "dd";
  c.uiCampQueue = 18;
  c.unCampMaxRing = 19;
  c.ucCampMachine = 20;
  c.unCampAutoDialTM = 21;
  c.uiCampCRID = 22;
  c.ucCampCRTM = "ct";
  c.ucCampCRIP = "ci";
  c.uiCampUPID = 23;
  c.ucCampUPTM = "ut";
  c.ucCampUPIP = "ui";
  c.unCampCustId = 24;
  c.unCampPhoneId = 25;
  c.uiCampScriptId = 26;
  c.uiCampMentId = 27;
  c.uiCampCIODID = 28;
  c.uiCampAnswerCnt = 29;
  c.uiCampDialSpeed = 30;
  c.uiCampParentId = 31;
  c.unCampLevel = 32;
  c.unCampOVTime = 33;
  c.uiCampALCnt = 34;
  c.ucCampSPTel = "sp";
  c.unCampRDCnt = 35;
  c.ucCampOBSE = "ob";
  c.uiCampGroupId = 36;
  c.unUsfl = 37;
  c.ucRedialStrategy = {"r1", "r2", "r3", "r4", "r5"};
  c.ucDialModeOption = 38;
  c.ucStartData = "sd";
  c.ucEndData = "ed";
  c.unScheduleCnt = 2;
  c.ucStartTime = {"s1", "s2", "s3", "s4"};
  c.ucEndTime = {"e1", "e2", "e3", "e4"};
  c.ucUserOption = "uo";
  c.unSkillCnt = 3;
  c.uiSkillId = {41, 42, 43, 44, 45};
  c.uiRVCallTimeOut = 46;
  c.uiCallMax = 47;
  c.cRVCallStandard = -1;
  c.ucCampANI = "an";
  Sim().SetRule(0x45, 0xFA, OutboundReply(3, Frame().PutU32(1).PutU32(99).Take()));

  std::uint32_t id = 0;
  EXPECT_EQ(CreateCampaign(Adapter(), id, c, Gate()), 1);
  EXPECT_EQ(id, 99u);

  const Bytes want =
      Frame().PutU32(1).PutStr8("nm").PutStr8("ds").PutU32(2).PutU32(3).PutU8(4).PutU8(5).PutU16(6).PutU8(7)
          .PutU8(8).PutU32(9).PutStr8("q").PutStr8("f").PutU32(10).PutU32(11).PutStr8("po").PutU16(12)
          .PutU16(13).PutU16(14).PutU16(15).PutU16(16).PutU32(17).PutStr8("ta").PutStr8("dd").PutU32(18)
          .PutU16(19).PutU8(20).PutU16(21).PutU32(22).PutStr8("ct").PutStr8("ci").PutU32(23).PutStr8("ut")
          .PutStr8("ui").PutU16(24).PutU16(25).PutU32(26).PutU32(27).PutU32(28).PutU32(29).PutU32(30)
          .PutU32(31).PutU16(32).PutU16(33).PutU32(34).PutStr8("sp").PutU16(35).PutStr8("ob").PutU32(36)
          .PutU16(37).PutStr8("r1").PutStr8("r2").PutStr8("r3").PutStr8("r4").PutStr8("r5").PutU8(38)
          .PutStr8("sd").PutStr8("ed").PutU16(2).PutStr8("s1").PutStr8("s2").PutStr8("e1").PutStr8("e2")
          .PutStr8("uo").PutU16(3).PutU32(41).PutU32(42).PutU32(43).PutU32(46).PutU32(47).PutU32(0xFFFFFFFF)
          .PutStr8("an").Take();
  const auto sent = Sim().WaitForRequest(0x45, 0xFA, milliseconds(1000));
  ASSERT_TRUE(sent);
  EXPECT_EQ(ctisim::Hex(Bytes(sent->body.begin() + 6, sent->body.end())), ctisim::Hex(want));
}

}  // namespace
}  // namespace vomtel::test
