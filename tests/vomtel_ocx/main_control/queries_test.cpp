// Query methods: one event per returned entry, in entry order, fired inside the call, read by a
// host's sink; the result rules; the local arrays never overrun.
#include <gtest/gtest.h>

#include <cstring>

#include "request_case.h"
#include "vomtel_ocx/main_control/narrow_text.h"

namespace vomtelx::test {
namespace {

template <std::size_t N>
void SetText(char (&field)[N], const char* text) {
  std::strncpy(field, text, N - 1);
}

// The event's parameters as texts joined by '|'.
std::string Params(const FiredEvent& e) {
  std::string out;
  for (std::size_t i = 0; i < e.args.size(); ++i) {
    if (i) out += '|';
    out += TextOf(e.args[i]);
  }
  return out;
}

AgentReadyEntry Ready(const char* id, std::int32_t dn) {
  AgentReadyEntry e{};
  SetText(e.EmployeeId, id);
  e.Dn = dn;
  e.BlendMode = 1;
  e.Time = 30;
  return e;
}

AgentReadyExEntry ReadyEx() {
  AgentReadyExEntry e{};
  SetText(e.AgentId, "a1");
  SetText(e.AgentName, NarrowText(u"김상담").c_str());  // the desk's code page, as the library writes it
  e.AgentGroup = 100;
  SetText(e.GroupName, "g");
  e.AgentPart = 2;
  SetText(e.PartName, "p");
  e.Dn = 4001;
  e.BlendMode = 1;
  e.Time = 9;
  return e;
}

AgentStatusEntry Status() {
  AgentStatusEntry e{};
  e.Group = 100;
  e.Part = 2;
  e.AgentNumber = 7001;
  e.Mode = 3;
  SetText(e.Name, "name");
  e.Dn = 4001;
  return e;
}

const Variant kGate = Variant(2);
const Variant kInvoke = Variant(9);

TEST_F(MainControlTest, ReadyAgentsArriveAsEventsInEntryOrderInsideTheCall) {
  Script("vomtelAgentReadyGet",
         fake::ListAnswer(std::vector<AgentReadyEntry>{Ready("e1", 4001), Ready("e2", 4002),
                                                       Ready("e3", 4003)}));
  EXPECT_EQ(CallLong(150, {kGate, kInvoke, Variant(100), Variant(0), Variant(100)}), 3);
  const fake::Call& c = Calls().at(0);
  EXPECT_EQ(c.Int(2), 100);
  EXPECT_EQ(c.Int(4), 100);
  ASSERT_EQ(events_.size(), 3u);
  const char* want[] = {"e1|4001|1|30", "e2|4002|1|30", "e3|4003|1|30"};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(events_[i].id, 1);
    EXPECT_EQ(Params(events_[i]), want[i]);
    EXPECT_TRUE(events_[i].duringCall);
  }
  EXPECT_EQ(lines_, std::vector<std::string>{"vomtelagentreadyget ..........! "});

  events_.clear();
  Script("vomtelAgentReadyGet", Result(3013));
  EXPECT_EQ(CallLong(150, {kGate, kInvoke, Variant(100), Variant(0), Variant(100)}), -3013);
  EXPECT_TRUE(events_.empty());
}

struct EntryCase {
  const char* name;
  DISPID id;
  std::vector<Variant> args;
  const char* exportName;
  fake::Script answer;
  DISPID event;
  std::vector<std::string> params;  // one line per event
  std::int32_t result;
};

TEST_F(MainControlTest, EachQueryMakesItsEventsFromTheEntries) {
  SkillMasterEntry skill{};
  skill.SkillId = 12;
  SetText(skill.SkillName, "billing");
  SkillCountEntry bySkill{};
  bySkill.Number = 4001;
  SetText(bySkill.Text1, "a1");
  SetText(bySkill.Text2, "kim");
  WaitingPeriodEntry period{3, 40};
  WaitingCallEntry waiting{};
  waiting.CallId = 77;
  waiting.WaitTime = 15;
  SetText(waiting.CallingNumber, "0212345678");
  CallbackCampaignEntry callback{};
  callback.CampaignId = 5;
  callback.ServiceCode = 6;
  callback.CallbackCount = 7;
  MultiAgentEntry multi{};
  multi.Number = 4001;
  SetText(multi.AgentId, "a1");
  SkillAgentEntry skillAgent{100, 2, 7001, 3, 55};
  fake::Script uei;
  uei.texts = {"uei-text", "ci-text"};
  fake::Script status;
  status.texts = {"kim"};
  status.outs = {3, 4001, 1, 0, 60};
  fake::Script maxCpsq;
  maxCpsq.outs = {25};

  const std::vector<EntryCase> cases = {
      {"ReadyEx", 151, {kGate, kInvoke, Variant(100), Variant(0), Variant(10), Variant(99)},
       "vomtelAgentReadyGetEx", fake::ListAnswer(std::vector<AgentReadyExEntry>{ReadyEx()}), 2,
       {"a1|김상담|100|g|2|p|4001|1|9"}, 1},
      {"ReadyII", 198, {kGate, kInvoke, Variant(100), Variant(0), Variant(10)},
       "vomtelAgentReadyGetII", fake::ListAnswer(std::vector<AgentReadyExEntry>{ReadyEx()}), 2,
       {"a1|김상담|100|g|2|p|4001|1|9"}, 1},
      {"ReadyExu", 193, {kGate, kInvoke, Variant(100), Variant(0), Variant(10), Variant(99)},
       "vomtelAgentReadyGetExu", Result(2018), 2, {}, -2018},
      {"SkillMaster", 156, {kGate, Variant(std::int16_t{9}), Variant(1)}, "vomtelGetSkillMaster",
       fake::ListAnswer(std::vector<SkillMasterEntry>{skill}), 4, {"12|billing|1"}, 1},
      {"AgentsBySkill", 159,
       {kGate, kInvoke, Variant(1), Variant(12), Variant(3), Variant(std::int16_t{10})},
       "vomtelAgentGetBySkill", fake::ListAnswer(std::vector<SkillCountEntry>{bySkill}), 5,
       {"a1|kim|4001|1"}, 1},
      {"WaitingPeriod", 168, {kGate, kInvoke, Variant(60), Variant("Q1")},
       "vomtelWaitingCallTimePeriod", fake::ListAnswer(std::vector<WaitingPeriodEntry>{period}), 8,
       {"Q1|3|40"}, 1},
      {"WaitingCalls", 169, {kGate, kInvoke, Variant("Q1")}, "vomtelWaitingCallListOfQue",
       fake::ListAnswer(std::vector<WaitingCallEntry>{waiting}), 9, {"Q1|77|15|0212345678"}, 1},
      {"AgentStates", 170, {kGate, kInvoke, Variant(3), Variant(10), Variant(100), Variant(2)},
       "vomtelAgentStatusGet", fake::ListAnswer(std::vector<AgentStatusEntry>{Status()}), 23,
       {"100|2|7001|3|name|4001"}, 1},
      {"AgentStatesX", 197,
       {kGate, Variant(std::int16_t{9}), Variant(std::int16_t{3}), Variant(std::int16_t{10}),
        Variant(100), Variant(2)},
       "vomtelAgentStatusGetII", fake::ListAnswer(std::vector<AgentStatusEntry>{Status()}), 23,
       {"100|2|7001|3|name|4001"}, 1},
      {"AgentStatesIIXGivesTheLibrarysDoNothing", 202,
       {kGate, kInvoke, Variant(std::int16_t{3}), Variant(std::int16_t{10}), Variant(100), Variant(2)},
       "vomtelAgentStatusGetII", Result(2018), 23, {}, -2018},
      {"CallbackCampaigns", 172, {kGate, Variant(std::int16_t{9}), Variant(4)},
       "vomtelCallbackCampaign", fake::ListAnswer(std::vector<CallbackCampaignEntry>{callback}), 12,
       {"5|6|7"}, 1},
      {"MultiAgent", 175, {kGate, kInvoke, Variant("4001"), Variant("a1")}, "vomtelMultiAgentGet",
       fake::ListAnswer(std::vector<MultiAgentEntry>{multi}), 14, {"4001|a1"}, 1},
      {"AgentSkill", 187, {kGate, Variant(std::int16_t{9}), Variant(std::int16_t{10}), Variant(12)},
       "vomtelAgentSkillGet", fake::ListAnswer(std::vector<SkillAgentEntry>{skillAgent}), 16,
       {"100|2|7001|3|55"}, 0},
      {"BusyAgents", 200, {kGate, kInvoke, Variant(100), Variant(0), Variant(10)},
       "vomtelAgentBusyGetII", fake::ListAnswer(std::vector<AgentReadyEntry>{Ready("e1", 4001)}), 25,
       {"e1|0|4001|1|30"}, 1},
      {"UeiData", 203, {kGate, kInvoke, Variant(1), Variant(77)}, "vomtelGetUEIData", uei, 24,
       {"77|uei-text|ci-text"}, 1},
      {"AgentStatus", 160, {kGate, kInvoke, Variant("a1"), Variant(4001)},
       "vomtelQueryAgentStatusEx", status, 26, {"kim|3|4001|1|0|60|1"}, 1},
      {"MaxCpsq", 119, {kGate, kInvoke, Variant(1), Variant(2)}, "vomtelGetMaxCPSQ", maxCpsq, 7,
       {"25"}, 1},
      {"PreviewState", 184, {kGate, kInvoke, Variant(1), Variant(2), Variant("a1")},
       "vomtelSysPreviewState", Result(1), 15, {"0"}, 1},
  };
  for (const EntryCase& c : cases) {
    SCOPED_TRACE(c.name);
    fake::Exports::Get().Reset();
    Script(c.exportName, c.answer);
    events_.clear();
    EXPECT_EQ(CallLong(c.id, c.args), c.result);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].name, c.exportName);
    ASSERT_EQ(events_.size(), c.params.size());
    for (std::size_t i = 0; i < events_.size(); ++i) {
      EXPECT_EQ(events_[i].id, c.event);
      EXPECT_EQ(Params(events_[i]), c.params[i]);
      EXPECT_TRUE(events_[i].duringCall);
    }
  }
}

TEST_F(MainControlTest, ResultRules) {
  struct RuleCase {
    const char* name;
    DISPID id;
    std::vector<Variant> args;
    const char* exportName;
    std::int32_t whenEmpty;   // the library answered 1 with no entry
    std::int32_t when3013;    // the library answered 3013
  };
  const Variant i2 = Variant(std::int16_t{9});
  const std::vector<RuleCase> cases = {
      {"Ready", 150, {kGate, kInvoke, Variant(1), Variant(0), Variant(10)}, "vomtelAgentReadyGet", 0, -3013},
      {"ReadyEx", 151, {kGate, kInvoke, Variant(1), Variant(0), Variant(10), Variant(0)},
       "vomtelAgentReadyGetEx", 0, -3013},
      {"SkillMaster", 156, {kGate, i2, Variant(1)}, "vomtelGetSkillMaster", 0, -3013},
      {"BySkill", 159, {kGate, i2, Variant(1), Variant(1), Variant(1), i2}, "vomtelAgentGetBySkill", 0, -3013},
      {"AgentStatus", 160, {kGate, kInvoke, Variant("a"), Variant(1)}, "vomtelQueryAgentStatusEx", 1, 3013},
      {"CallToCnid", 162, {kGate, kInvoke, Variant(1), Variant("1")}, "vomtelCallToCNID", 1, 3013},
      {"WaitingPeriod", 168, {kGate, kInvoke, Variant(1), Variant("q")}, "vomtelWaitingCallTimePeriod", 1, 3013},
      {"WaitingCalls", 169, {kGate, kInvoke, Variant("q")}, "vomtelWaitingCallListOfQue", 1, 3013},
      {"States", 170, {kGate, kInvoke, Variant(1), Variant(1), Variant(1), Variant(1)}, "vomtelAgentStatusGet", 1, 3013},
      {"StatesX", 197, {kGate, i2, i2, i2, Variant(1), Variant(1)}, "vomtelAgentStatusGetII", 0, -3013},
      {"CallbackCampaign", 172, {kGate, i2, Variant(1)}, "vomtelCallbackCampaign", 0, -3013},
      {"Multi", 175, {kGate, kInvoke, Variant("d"), Variant("a")}, "vomtelMultiAgentGet", 0, -3013},
      {"Preview", 184, {kGate, kInvoke, Variant(1), Variant(1), Variant("a")}, "vomtelSysPreviewState", 1, 3013},
      {"Skill", 187, {kGate, i2, i2, Variant(1)}, "vomtelAgentSkillGet", 0, -3013},
      {"Busy", 200, {kGate, kInvoke, Variant(1), Variant(0), Variant(10)}, "vomtelAgentBusyGetII", 0, -3013},
      {"Uei", 203, {kGate, kInvoke, Variant(1), Variant(1)}, "vomtelGetUEIData", 1, -3013},
      {"MaxCpsq", 119, {kGate, kInvoke, Variant(1), Variant(1)}, "vomtelGetMaxCPSQ", 1, 3013},
      {"AgentEx", 207,
       {kGate, kInvoke, Variant(""), Variant(""), Variant(""), Variant(""), Variant(""), Variant(""),
        Variant(""), Variant(""), Variant("10")},
       "vomtelGetAgentEx", 1, -3013},
  };
  for (const RuleCase& c : cases) {
    SCOPED_TRACE(c.name);
    fake::Exports::Get().Reset();
    EXPECT_EQ(CallLong(c.id, c.args), c.whenEmpty);
    Script(c.exportName, Result(3013));
    EXPECT_EQ(CallLong(c.id, c.args), c.when3013);
  }
  // vomtelgetagentex hands back a result of 0 or below as it is.
  const std::vector<Variant> agentEx = {kGate, kInvoke, Variant(""), Variant(""), Variant(""),
                                        Variant(""), Variant(""), Variant(""), Variant(""),
                                        Variant(""), Variant("10")};
  Script("vomtelGetAgentEx", Result(-3025));
  EXPECT_EQ(CallLong(207, agentEx), -3025);
  Script("vomtelGetAgentEx", Result(0));
  EXPECT_EQ(CallLong(207, agentEx), 0);
}

TEST_F(MainControlTest, SkillMasterCountsDownTheEntriesNotYetFired) {
  std::vector<SkillMasterEntry> skills(4);
  for (std::size_t i = 0; i < skills.size(); ++i) skills[i].SkillId = static_cast<int>(i + 1);
  Script("vomtelGetSkillMaster", fake::ListAnswer(skills));
  EXPECT_EQ(CallLong(156, {kGate, Variant(std::int16_t{9}), Variant(1)}), 4);
  ASSERT_EQ(events_.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(events_[i].args[0].ToI4(-1), static_cast<int>(i + 1));
    EXPECT_EQ(events_[i].args[2].ToI4(-1), static_cast<int>(4 - i));
  }
}

TEST_F(MainControlTest, AgentSkillReturnsZeroWhetherItFiredOrNot) {
  Script("vomtelAgentSkillGet", fake::ListAnswer(std::vector<SkillAgentEntry>(5)));
  EXPECT_EQ(CallLong(187, {kGate, Variant(std::int16_t{9}), Variant(std::int16_t{10}), Variant(1)}), 0);
  EXPECT_EQ(events_.size(), 5u);
  events_.clear();
  Script("vomtelAgentSkillGet", fake::ListAnswer(std::vector<SkillAgentEntry>()));
  EXPECT_EQ(CallLong(187, {kGate, Variant(std::int16_t{9}), Variant(std::int16_t{10}), Variant(1)}), 0);
  EXPECT_TRUE(events_.empty());
}

// A host asking for more than the array holds: the library is asked for the array's capacity
// and answers capacity + 1 entries; the array is never overrun (ASan checks the writes) and
// as many events are fired as the array holds.
TEST_F(MainControlTest, AMaximumCountBeyondTheArrayIsClamped) {
  struct ClampCase {
    const char* name;
    DISPID id;
    std::vector<Variant> args;
    const char* exportName;
    std::size_t maxCountArg;
    fake::Script answer;
    std::size_t capacity;
  };
  const std::vector<ClampCase> cases = {
      {"Ready", 150, {kGate, kInvoke, Variant(1), Variant(0), Variant(5000)}, "vomtelAgentReadyGet", 4,
       fake::ListAnswer(std::vector<AgentReadyEntry>(1001)), 1000},
      {"ReadyEx", 151, {kGate, kInvoke, Variant(1), Variant(0), Variant(5000), Variant(0)},
       "vomtelAgentReadyGetEx", 4, fake::ListAnswer(std::vector<AgentReadyExEntry>(1001)), 1000},
      {"States", 170, {kGate, kInvoke, Variant(1), Variant(9000), Variant(1), Variant(1)},
       "vomtelAgentStatusGet", 3, fake::ListAnswer(std::vector<AgentStatusEntry>(2001)), 2000},
      {"StatesX", 197,
       {kGate, Variant(std::int16_t{9}), Variant(std::int16_t{1}), Variant(std::int16_t{500}),
        Variant(1), Variant(1)},
       "vomtelAgentStatusGetII", 4, fake::ListAnswer(std::vector<AgentStatusEntry>(101)), 100},
      {"BySkill", 159,
       {kGate, Variant(std::int16_t{9}), Variant(1), Variant(1), Variant(1), Variant(std::int16_t{500})},
       "vomtelAgentGetBySkill", 5, fake::ListAnswer(std::vector<SkillCountEntry>(101)), 100},
      {"Skill", 187, {kGate, Variant(std::int16_t{9}), Variant(std::int16_t{3000}), Variant(1)},
       "vomtelAgentSkillGet", 2, fake::ListAnswer(std::vector<SkillAgentEntry>(1001)), 1000},
      {"Busy", 200, {kGate, kInvoke, Variant(1), Variant(0), Variant(5000)}, "vomtelAgentBusyGetII", 5,
       fake::ListAnswer(std::vector<AgentReadyEntry>(1001)), 1000},
  };
  for (const ClampCase& c : cases) {
    SCOPED_TRACE(c.name);
    fake::Exports::Get().Reset();
    events_.clear();
    Script(c.exportName, c.answer);
    Call(c.id, c.args);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].Int(c.maxCountArg), static_cast<std::int64_t>(c.capacity));
    EXPECT_EQ(events_.size(), c.capacity);
  }
}

TEST_F(MainControlTest, ACountBeyondTheArrayReadsOnlyTheArray) {
  fake::Script answer = fake::ListAnswer(std::vector<MultiAgentEntry>(3));
  answer.reportedCount = 5000;
  Script("vomtelMultiAgentGet", answer);
  EXPECT_EQ(CallLong(175, {kGate, kInvoke, Variant("d"), Variant("a")}), 1000);
  EXPECT_EQ(events_.size(), 1000u);
}

TEST_F(MainControlTest, GetAgentExFiresItsAgentsOrOneSummaryForAnEmptyMaximum) {
  AgentExEntry a{};
  SetText(a.Tenant, "t");
  SetText(a.Group, "g");
  SetText(a.Dn, "4001");
  SetText(a.Part, "p");
  SetText(a.AgentId, "a1");
  SetText(a.Name, "kim");
  a.Mode = 3;
  a.BlendMode = 1;
  a.BlockMode = 0;
  a.Time = 500;
  SetText(a.Skills, "s1,s2");
  fake::Script answer = fake::ListAnswer(std::vector<AgentExEntry>{a, a});
  answer.texts = {"2/10"};
  Script("vomtelGetAgentEx", answer);
  auto args = [](const char* maxCount) {
    return std::vector<Variant>{kGate, kInvoke, Variant("dn"), Variant("id"), Variant("sk"),
                                Variant("te"), Variant("gr"), Variant("pa"), Variant("mo"),
                                Variant("bl"), Variant(maxCount)};
  };
  EXPECT_EQ(CallLong(207, args("5000")), 1);
  const fake::Call& c = Calls().at(0);
  EXPECT_EQ(c.Text(2), "dn");
  EXPECT_EQ(c.Text(9), "bl");
  EXPECT_EQ(c.Text(13), "1000");
  ASSERT_EQ(events_.size(), 2u);
  EXPECT_EQ(events_[1].id, 27);
  EXPECT_EQ(Params(events_[1]), "t|g|4001|p|a1|kim|3|1|0|500|s1,s2|2/10|2");
  EXPECT_TRUE(lines_.empty());

  events_.clear();
  EXPECT_EQ(CallLong(207, args("")), 1);
  ASSERT_EQ(events_.size(), 1u);
  EXPECT_EQ(Params(events_[0]), "||||||0|0|0|0||2/10|2");
}

TEST_F(MainControlTest, CallToCnidReadsTheDeviceAsANumberAndAlwaysFires) {
  struct CnidCase {
    const char* device;
    std::int64_t number;
  } const cases[] = {{"4001", 4001}, {" 42", 42}, {"12ab", 12}, {"abc", 0}, {"", 0},
                     {"99999999999", 0}, {"-5", -5}};
  for (const CnidCase& c : cases) {
    SCOPED_TRACE(c.device);
    fake::Exports::Get().Reset();
    CallLong(162, {kGate, kInvoke, Variant(7), Variant(c.device)});
    EXPECT_EQ(Calls().at(0).Int(3), c.number);
  }
  fake::Script high;
  high.outs = {-2};
  Script("vomtelCallToCNID", high);
  events_.clear();
  EXPECT_EQ(CallLong(162, {kGate, kInvoke, Variant(7), Variant("1")}), 1);
  ASSERT_EQ(events_.size(), 1u);
  EXPECT_EQ(Params(events_[0]), "7|4294967294");
  // A failed call still fires, with the number as it was before the call.
  Script("vomtelCallToCNID", Result(3013));
  events_.clear();
  EXPECT_EQ(CallLong(162, {kGate, kInvoke, Variant(7), Variant("1")}), 3013);
  ASSERT_EQ(events_.size(), 1u);
  EXPECT_EQ(Params(events_[0]), "7|0");
  EXPECT_TRUE(lines_.empty());
}

TEST_F(MainControlTest, QueryExceptionsAreCaughtExceptInCallToCnid) {
  Script("vomtelGetMaxCPSQ", Throws("x"));
  lines_.clear();
  EXPECT_EQ(CallLong(119, {kGate, kInvoke, Variant(1), Variant(1)}), 0);
  EXPECT_EQ(lines_, (std::vector<std::string>{"vomtelGetMaxCPSQX ..........! ",
                                              "vomtelGetMaxCPSQX CException"}));
  Script("vomtelCallToCNID", Throws("x"));
  EXPECT_EQ(Call(162, {kGate, kInvoke, Variant(1), Variant("1")}), DISP_E_EXCEPTION);
}

}  // namespace
}  // namespace vomtelx::test
