// Replies laid out as each request reads them, and what the operation hands back: one row per
// reply shape, the outputs written out as text ("result | outputs").
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <sstream>
#include <string>

#include "service_gate.h"
#include "vomtel/requests/service/agent_directory.h"
#include "vomtel/requests/service/agent_list_queries.h"
#include "vomtel/requests/service/agent_settings.h"
#include "vomtel/requests/service/callback_insert.h"
#include "vomtel/requests/service/campaign_lists.h"
#include "vomtel/requests/service/campaigns.h"
#include "vomtel/requests/service/data_queries.h"
#include "vomtel/requests/service/ivr_sql.h"
#include "vomtel/requests/service/masters.h"
#include "vomtel/requests/service/outbound_lists.h"

namespace vomtel::test {
namespace {

std::string Join(int result, const std::string& outputs) { return std::to_string(result) + " | " + outputs; }

std::string Agents(const AgentList& list) {
  std::string text;
  for (const AgentListEntry& e : list) {
    text += "[" + e.tenant + "," + e.agentId + "," + e.agentName + "," + e.groupName + "," + e.partName + "," +
            e.device + "," + std::to_string(e.agentNumber) + "," + std::to_string(e.agentMode) + "," +
            std::to_string(e.agentGroup) + "," + std::to_string(e.agentPart) + "," + std::to_string(e.dn) + "," +
            std::to_string(e.blendMode) + "," + std::to_string(e.blockMode) + "," + std::to_string(e.time) + "]";
  }
  return text;
}

AgentList Held() {
  AgentListEntry e;
  e.agentId = "held";
  return {e};
}

Bytes DirectoryAgent(const std::string& id) {
  return Frame().PutStr8("ten").PutStr8("grp").PutStr8("prt").PutStr8("dev").PutStr8(id).PutStr8("nm")
      .PutU8(3).PutU8(1).PutU8(0).PutU16(42).Take();
}

struct DecodeCase {
  const char* name;
  std::uint8_t cls;
  std::uint8_t code;
  ctisim::ReplyRule rule;
  std::function<std::string(OrbaAdapter&, int)> run;
  std::string want;
};

const DecodeCase kCases[] = {
    {"BusyListAppendedWhateverTheResult", 0x45, 0x97,
     Reply(3002, Frame().PutU16(2).PutStr8("a1").PutU32(2001).PutU8(1).PutU16(5).PutStr8("a2").PutU32(2002)
                     .PutU8(0).PutU16(6).Take()),
     [](OrbaAdapter& a, int) {
       AgentList l = Held();
       const int r = AgentBusyGetII(a, 1, 2, 3, l);
       return Join(r, Agents(l));
     },
     "3002 | [,held,,,,,0,0,0,0,0,0,0,0][,a1,,,,,0,0,0,0,2001,1,0,5][,a2,,,,,0,0,0,0,2002,0,0,6]"},
    {"ReadyListOnlyOnSuccess", 0x45, 0x98,
     Reply(3002, Frame().PutU16(1).PutStr8("id").PutStr8("nm").PutU32(1).PutStr8("g").PutU32(2).PutStr8("p")
                     .PutU32(3001).PutU8(1).PutU16(9).Take()),
     [](OrbaAdapter& a, int g) {
       AgentList l = Held();
       const int r = AgentReadyGet(a, 1, 2, 3, l, g);
       return Join(r, Agents(l));
     },
     "3002 | [,held,,,,,0,0,0,0,0,0,0,0]"},
    {"ReadyList", 0x45, 0x60,
     Reply(1, Frame().PutU16(1).PutStr8("id").PutStr8("nm").PutU32(1).PutStr8("g").PutU32(2).PutStr8("p")
                  .PutU32(3001).PutU8(1).PutU16(9).Take()),
     [](OrbaAdapter& a, int g) {
       AgentList l;
       const int r = AgentReadyGetEx(a, 1, 2, 3, l, g);
       return Join(r, Agents(l));
     },
     "1 | [,id,nm,g,p,,0,0,1,2,3001,1,0,9]"},
    {"StatusFramesUntilMoreIsZero", 0x45, 0xBE,
     [] {
       ctisim::ReplyRule rule = Reply(7, Frame().PutU8(1).PutU8(0).PutU8(3).PutU32(2)
                                             .PutU16(1).PutU16(2).PutU32(11).PutStr8("a").PutU32(101)
                                             .PutU16(1).PutU16(2).PutU32(12).PutStr8("b").PutU32(102).Take());
       rule.more = {Frame().PutU8(1).PutU8(0).PutU8(4).PutU32(1).PutU16(5).PutU16(6).PutU32(13).PutStr8("c")
                        .PutU32(103).Take(),
                    Frame().PutU8(0).Take()};
       rule.gap = milliseconds(5);
       return rule;
     }(),
     [](OrbaAdapter& a, int g) {
       AgentStatusList l;
       const int r = AgentStatusGet(a, 1, 10, 1, 2, l, g);
       std::string text;
       for (const auto& e : l) text += std::to_string(e.mode) + ":" + e.name + ":" + std::to_string(e.dn) + " ";
       return Join(r, text);
     },
     "7 | 3:a:101 3:b:102 4:c:103 "},
    {"MonitorByteStoredWhateverTheResult", 0x42, 0x46, Reply(3002, {7}),
     [](OrbaAdapter& a, int g) {
       std::uint8_t m = 0;
       const int r = GetMonitor(a, m, g);
       return Join(r, std::to_string(m));
     },
     "3002 | 7"},
    {"Cnid", 0x45, 0x5F, Reply(1, Frame().PutU32(0xFFFFFFFE).Take()),
     [](OrbaAdapter& a, int g) {
       std::uint32_t c = 0;
       const int r = CallToCNID(a, 1, 2, c, g);
       return Join(r, std::to_string(c));
     },
     "1 | 4294967294"},
    {"MultiAgents", 0x45, 0xE6, Reply(1, Frame().PutU16(2).PutStr8("x").PutU32(1).PutStr8("y").PutU32(2).Take()),
     [](OrbaAdapter& a, int g) {
       AgentList l;
       const int r = MultiAgentGet(a, "d", "i", l, g);
       return Join(r, Agents(l));
     },
     "1 | [,x,,,,,0,0,0,0,1,0,0,0][,y,,,,,0,0,0,0,2,0,0,0]"},
    {"SkillAgents", 0x45, 0x5D, Reply(1, Frame().PutU16(1).PutU32(4).PutU32(5).PutU32(6).PutU8(2).PutU16(8).Take()),
     [](OrbaAdapter& a, int g) {
       AgentList l;
       const int r = AgentSkillGet(a, 1, 2, l, g);
       return Join(r, Agents(l));
     },
     "1 | [,,,,,,6,2,4,5,0,0,0,8]"},
    {"ReadyRateInHundredths", 0x45, 0xFB, Reply(3002, {0x00, 0x00, 0x04, 0xD2}),
     [](OrbaAdapter& a, int g) {
       float rate = 0;
       const int r = AgentReadyRateGet(a, 1, rate, g);
       return Join(r, rate == 12.34f ? "12.34" : std::to_string(rate));
     },
     "3002 | 12.34"},
    {"AgentStateMapped", 0x45, 0x6E,
     Reply(1, Frame().PutStr8("ag").PutU8(204).PutU32(1001).PutU8(1).PutU8(2).PutU16(30).PutU8(4).Take()),
     [](OrbaAdapter& a, int g) {
       AgentListEntry e;
       e.agentName = "kept";
       const int r = QueryAgentStatusEx(a, "ag", 1001, e, g);
       return Join(r, Agents({e}) + " type " + std::to_string(e.type));
     },
     "1 | [,ag,kept,,,,0,3,0,0,1001,1,2,30] type 4"},
    {"WaitTimes", 0x45, 0x82, Reply(1, Frame().PutU32(10).PutU32(20).Take()),
     [](OrbaAdapter& a, int g) {
       std::uint32_t f = 0, s = 0;
       const int r = WaitTimeGet(a, "q", 1, f, s, g);
       return Join(r, std::to_string(f) + "," + std::to_string(s));
     },
     "1 | 10,20"},
    {"UeiAndCiCutAndTerminated", 0x45, 0xAB, Reply(1, Frame().PutStr16("abcdefgh").PutStr16("").Take()),
     [](OrbaAdapter& a, int) {
       std::array<char, 5> uei;
       std::array<char, 4> ci;
       uei.fill('x');
       ci.fill('x');
       const int r = GetUEIData(a, 1, 2, uei, ci);
       return Join(r, std::string(uei.data(), uei.size()) + "|" + std::string(ci.data(), ci.size()));
     },
     std::string("1 | abcd\0|\0xxx", 14)},
    {"BlockingNumbersWhateverTheResult", 0x45, 0xCB, Reply(3002, {0, 0, 0, 0x3C, 0, 0, 0, 7}),
     [](OrbaAdapter& a, int) {
       std::uint32_t v = 0, s = 0;
       const int r = AgentBlockingEx(a, "ag", 1, 2, "c", 3, v, s);
       return Join(r, std::to_string(v) + "," + std::to_string(s));
     },
     "3002 | 60,7"},
    {"QueueCalls", 0x45, 0x84,
     Reply(1, Frame().PutStr8("7001").PutU32(2).PutU32(1).PutU32(5).PutStr8("010").PutU32(2).PutU32(6)
                  .PutStr8("").Take()),
     [](OrbaAdapter& a, int g) {
       std::vector<QueueEntry> l;
       const int r = WaitingCallListOfQueue(a, "7001", l, g);
       std::string text;
       for (const auto& e : l) text += std::to_string(e.callid) + "/" + std::to_string(e.waittime) + "/" + e.ani + " ";
       return Join(r, text);
     },
     "1 | 1/5/010 2/6/ "},
    {"SkillMasterNotReadOnFailure", 0x45, 0xD2, Reply(5, Frame().PutU16(1).PutU16(3).PutStr8("s").Take()),
     [](OrbaAdapter& a, int g) {
       std::vector<SkillMasterItem> l;
       const int r = GetSkillMaster(a, 1, l, g);
       return Join(r, std::to_string(l.size()));
     },
     "5 | 0"},
    {"SkillMaster", 0x45, 0xD2, Reply(1, Frame().PutU16(2).PutU16(3).PutStr8("s").PutU16(4).PutStr8("t").Take()),
     [](OrbaAdapter& a, int g) {
       std::vector<SkillMasterItem> l;
       const int r = GetSkillMaster(a, 1, l, g);
       std::string text;
       for (const auto& e : l) text += std::to_string(e.skillID) + e.skillName;
       return Join(r, text);
     },
     "1 | 3s4t"},
    {"SqlRows", 0x45, 0x5E, Reply(1, Frame().PutU32(3).PutStr16("a,b,c").Take()),
     [](OrbaAdapter& a, int g) {
       std::uint32_t count = 0;
       std::string rows = "old";
       const int r = SQLQuery(a, "d", 1, ',', count, "select", rows, g);
       return Join(r, std::to_string(count) + " " + rows);
     },
     "1 | 3 a,b,c"},
    {"AgentCount", 0x45, 0x5D, Reply(1, Frame().PutU32(12).Take()),
     [](OrbaAdapter& a, int g) {
       std::uint32_t c = 0;
       const int r = GetAgentCount(a, "r", 1, 1, c, g);
       return Join(r, std::to_string(c));
     },
     "1 | 12"},
    {"MaxCpsqIsTheThirdNumber", 0x45, 0xF6, Reply(1, Frame().PutU32(1).PutU32(2).PutU32(40).Take()),
     [](OrbaAdapter& a, int g) {
       std::uint32_t m = 0;
       const int r = GetMaxCPSQ(a, 1, 2, m, g);
       return Join(r, std::to_string(m));
     },
     "1 | 40"},
    {"CallingListOtherServiceType", 0x45, 0xD5, OutboundReply(9, Frame().PutU16(2).PutU32(1).Take()),
     [](OrbaAdapter& a, int g) { return Join(CallingListService(a, 1, 2, 3, 4, 5, g), ""); }, "3002 | "},
    {"CallbackCampaignsReplaceTheList", 0x45, 0xC8,
     OutboundReply(9, Frame().PutU32(1).PutU16(2).PutU32(1).PutU32(2).PutU32(3).PutU32(4).PutU32(5).PutU32(6).Take()),
     [](OrbaAdapter& a, int g) {
       std::vector<CallbackCampaignEntry> l = {{9, 9, 9}, {9, 9, 9}, {9, 9, 9}};
       const int r = CallbackCampaign(a, 1, l, g);
       std::string text;
       for (const auto& e : l) text += std::to_string(e.campaignID) + std::to_string(e.svcCode) + std::to_string(e.cbCount) + " ";
       return Join(r, text);
     },
     "1 | 123 456 "},
    {"CallbackCampaignFailedStatusFillsNothing", 0x45, 0xC8,
     OutboundReply(9, Frame().PutU32(5).PutU16(1).PutU32(1).PutU32(2).PutU32(3).Take()),
     [](OrbaAdapter& a, int g) {
       std::vector<CallbackCampaignEntry> l = {{9, 9, 9}};
       const int r = CallbackCampaign(a, 1, l, g);
       return Join(r, std::to_string(l.size()) + " " + std::to_string(l[0].campaignID));
     },
     "5 | 1 9"},
    {"DirectoryAgentsReplaceTheList", 0x45, 0xC2,
     ListsThenReplyRule({DirectoryAgent("a1"), DirectoryAgent("a2"), DirectoryAgent("a3")}),
     [](OrbaAdapter& a, int g) {
       AgentList l = Held();
       const int r = GetAgent(a, {}, l, g);
       return Join(r, Agents(l));
     },
     "1 | [ten,a1,nm,grp,prt,dev,0,3,0,0,0,1,0,42][ten,a2,nm,grp,prt,dev,0,3,0,0,0,1,0,42]"
     "[ten,a3,nm,grp,prt,dev,0,3,0,0,0,1,0,42]"},
    {"DirectoryCountsStoredOnFailure", 0x45, 0xC7,
     ListsThenReplyRule({DirectoryAgent("a1")}, 5, Frame().PutStr16("3").PutU32(0xFFFFFFFF).Take()),
     [](OrbaAdapter& a, int g) {
       AgentList l = Held();
       std::string read;
       std::uint32_t total = 0;
       const int r = GetAgentEx(a, {}, l, read, total, g);
       return Join(r, read + " " + std::to_string(total) + " " + Agents(l));
     },
     "5 | 3 4294967295 [,held,,,,,0,0,0,0,0,0,0,0]"},
    {"CallbackInsertResult", 0x45, 0xC9, OutboundReply(9, Frame().PutU32(1).PutU32(2).PutU32(3).PutU32(4).Take()),
     [](OrbaAdapter& a, int g) {
       CallbackResult c;
       const int r = CallbackListInsert(a, 1, {}, c, g);
       return Join(r, std::to_string(c.ciodID) + std::to_string(c.campaignID) + std::to_string(c.campaignSeq) +
                          std::to_string(c.rtnvalue));
     },
     "1 | 1234"},
    {"CallLoad", 0x45, 0xD6,
     Reply(1, Frame().PutU32(1).PutStr8("emp").PutU16(2).PutU32(1).PutU32(2).PutU32(3).PutU32(4).PutU32(5).PutU32(6).Take()),
     [](OrbaAdapter& a, int g) {
       std::vector<MaxCallLoadEntry> l;
       const int r = MaxCallLoadAgent(a, "emp", l, g);
       std::string text;
       for (const auto& e : l) text += std::to_string(e.campaignid) + std::to_string(e.maxcallcnt) + std::to_string(e.answercnt) + " ";
       return Join(r, text);
     },
     "1 | 123 456 "},
    {"CallLoadStatusOnly", 0x45, 0xD6, Reply(1, Frame().PutU32(4).Take()),
     [](OrbaAdapter& a, int g) {
       std::vector<MaxCallLoadEntry> l;
       const int r = MaxCallLoadAgent(a, "emp", l, g);
       return Join(r, std::to_string(l.size()));
     },
     "4 | 0"},
    {"CampaignIdStoredWhateverTheResult", 0x45, 0xFA, OutboundReply(9, Frame().PutU32(6).PutU32(77).Take()),
     [](OrbaAdapter& a, int g) {
       std::uint32_t id = 0;
       const int r = CreateCampaign(a, id, {}, g);
       return Join(r, std::to_string(id));
     },
     "6 | 77"},
};

class ServiceReplyDecode : public ServiceGate, public ::testing::WithParamInterface<DecodeCase> {};

TEST_P(ServiceReplyDecode, HandsBackWhatTheReplyHolds) {
  const DecodeCase& c = GetParam();
  Sim().SetRule(c.cls, c.code, c.rule);
  EXPECT_EQ(c.run(Adapter(), Gate()), c.want);
}

INSTANTIATE_TEST_SUITE_P(Replies, ServiceReplyDecode, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vomtel::test
