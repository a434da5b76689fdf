// Replies that do not hold what they announce, answers that never end, and list frames left
// over from an earlier query. Run under the sanitizer build too: no reading may leave its frame.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

#include "service_gate.h"
#include "vomtel/requests/service/agent_directory.h"
#include "vomtel/requests/service/agent_list_queries.h"
#include "vomtel/requests/service/callback_insert.h"
#include "vomtel/requests/service/campaign_lists.h"
#include "vomtel/requests/service/campaigns.h"
#include "vomtel/requests/service/data_queries.h"
#include "vomtel/requests/service/ivr_sql.h"
#include "vomtel/requests/service/masters.h"
#include "vomtel/requests/service/outbound_lists.h"
#include "vomtel/requests/service/preview.h"
#include "vomtel/requests/service/service_exchange.h"
#include "vomtel/requests/service/uploads.h"

namespace vomtel::test {
namespace {

using Clock = std::chrono::steady_clock;

// Every reading keeps the caller's outputs as they were; `run` returns the result and
// whether they are untouched.
struct HostileCase {
  const char* name;
  std::uint8_t cls;
  std::uint8_t code;
  ctisim::ReplyRule rule;
  std::function<std::pair<int, bool>(OrbaAdapter&, int)> run;
  int want;
};

std::pair<int, bool> Untouched(int result, bool same) { return {result, same}; }

const HostileCase kCases[] = {
    {"BusyCountPastTheFrame", 0x45, 0x97, Reply(1, Frame().PutU16(1000).PutStr8("a").PutU32(1).Take()),
     [](OrbaAdapter& a, int) { AgentList l(1); return Untouched(AgentBusyGetII(a, 1, 2, 3, l), l.size() == 1); },
     3002},
    {"BusyFailureWithoutData", 0x45, 0x97, Reply(70001),
     [](OrbaAdapter& a, int) { AgentList l; return Untouched(AgentBusyGetII(a, 1, 2, 3, l), l.empty()); }, 70001},
    {"ReadyCountFFFF", 0x45, 0x98, Reply(1, Frame().PutU16(0xFFFF).PutZeros(40).Take()),
     [](OrbaAdapter& a, int g) { AgentList l; return Untouched(AgentReadyGet(a, 1, 2, 3, l, g), l.empty()); }, 3002},
    {"MultiAgentTextPastTheEnd", 0x45, 0xE6, Reply(1, Frame().PutU16(1).PutU8(250).PutText("ab").PutU32(0).Take()),
     [](OrbaAdapter& a, int g) { AgentList l; return Untouched(MultiAgentGet(a, "d", "i", l, g), l.empty()); }, 3002},
    {"SkillAgentsCut", 0x45, 0x5D, Reply(1, Frame().PutU16(2).PutZeros(15).Take()),
     [](OrbaAdapter& a, int g) { AgentList l; return Untouched(AgentSkillGet(a, 1, 2, l, g), l.empty()); }, 3002},
    {"PeriodsCountFFFFFFFF", 0x45, 0x84, Reply(1, Frame().PutStr8("q").PutU32(0xFFFFFFFF).PutZeros(64).Take()),
     [](OrbaAdapter& a, int g) {
       std::vector<WaitingPeriodEntry> l;
       return Untouched(WaitingCallTimePeriod(a, 1, "q", l, g), l.empty());
     },
     3002},
    {"MonitorByteMissing", 0x42, 0x46, Reply(1),
     [](OrbaAdapter& a, int g) {
       std::uint8_t m = 9;
       return Untouched(GetMonitor(a, m, g), m == 9);
     },
     3002},
    {"AgentStateCut", 0x45, 0x6E, Reply(1, Frame().PutStr8("ag").PutU8(204).Take()),
     [](OrbaAdapter& a, int g) {
       AgentListEntry e;
       e.agentId = "mine";
       return Untouched(QueryAgentStatusEx(a, "ag", 1, e, g), e.agentId == "mine" && e.agentMode == 0);
     },
     3002},
    {"UeiLengthPastTheFrame", 0x45, 0xAB, Reply(1, Frame().PutU16(0xFFFF).PutText("abc").Take()),
     [](OrbaAdapter& a, int) {
       std::array<char, 4> uei{'x', 'x', 'x', 'x'}, ci{'x', 'x', 'x', 'x'};
       return Untouched(GetUEIData(a, 1, 2, uei, ci), uei[0] == 'x' && ci[0] == 'x');
     },
     3002},
    {"CallbackCampaignCountPastTheFrame", 0x45, 0xC8,
     OutboundReply(9, Frame().PutU32(1).PutU16(2).PutU32(1).PutU32(2).PutU32(3).Take()),
     [](OrbaAdapter& a, int g) {
       std::vector<CallbackCampaignEntry> l = {{9, 9, 9}};
       return Untouched(CallbackCampaign(a, 1, l, g), l.size() == 1 && l[0].campaignID == 9);
     },
     3002},
    {"CallbackCampaignWithoutStatus", 0x45, 0xC8, OutboundReply(9, {0x00}),
     [](OrbaAdapter& a, int g) {
       std::vector<CallbackCampaignEntry> l;
       return Untouched(CallbackCampaign(a, 1, l, g), l.empty());
     },
     3002},
    {"CallLoadCountPastTheFrame", 0x45, 0xD6, Reply(1, Frame().PutU32(1).PutStr8("e").PutU16(5).PutU32(1).Take()),
     [](OrbaAdapter& a, int g) {
       std::vector<MaxCallLoadEntry> l;
       return Untouched(MaxCallLoadAgent(a, "e", l, g), l.empty());
     },
     3002},
    {"CallbackInsertCut", 0x45, 0xC9, OutboundReply(9, Frame().PutU32(1).PutU32(2).Take()),
     [](OrbaAdapter& a, int g) {
       CallbackResult r{7, 7, 7, 7};
       return Untouched(CallbackListInsert(a, 1, {}, r, g), r == CallbackResult{7, 7, 7, 7});
     },
     3002},
    {"BlackListReplyOfFiveBytes", 0x45, 0xF7, OutboundReply(9, {}),
     [](OrbaAdapter& a, int g) { return Untouched(BlackListInsert(a, 1, {}, g), true); }, 3002},
    {"PreviewResultCut", 0x45, 0xF8, OutboundReply(9, {0, 0}),
     [](OrbaAdapter& a, int g) { return Untouched(PreviewMakeCall(a, 1, 2, 3, "e", 4, g), true); }, 3002},
    {"DirectoryCountsCut", 0x45, 0xC7, Reply(1, Frame().PutU16(40).PutText("12").Take()),
     [](OrbaAdapter& a, int g) {
       AgentList l(1);
       std::string read = "r";
       std::uint32_t total = 5;
       const int r = GetAgentEx(a, {}, l, read, total, g);
       return Untouched(r, l.size() == 1 && read == "r" && total == 5);
     },
     3002},
    {"DirectoryListFrameCut", 0x45, 0xC2,
     [] {
       ctisim::ReplyRule rule;
       rule.hook = [](const ctisim::Request& request) {
         return std::vector<Bytes>{ctisim::ListFrame(ListContent(Frame().PutStr8("t").PutU8(9).Take())),
                                   ctisim::ReplyFrame({request.cls, request.code, 0, 0}, 1, request.number)};
       };
       return rule;
     }(),
     [](OrbaAdapter& a, int g) {
       AgentList l(1);
       return Untouched(GetAgent(a, {}, l, g), l.size() == 1);
     },
     3002},
    {"StatusCountFFFFFFFF", 0x45, 0xBE, Reply(1, Frame().PutU8(1).PutU8(0).PutU8(1).PutU32(0xFFFFFFFF).PutZeros(13).Take()),
     [](OrbaAdapter& a, int g) {
       AgentStatusList l;
       return Untouched(AgentStatusGet(a, 1, 1, 1, 1, l, g), l.empty());
     },
     3002},
};

class ServiceHostileReply : public ServiceGate, public ::testing::WithParamInterface<HostileCase> {};
class ServiceHostileReplyQuiet : public ServiceGate {};

TEST_P(ServiceHostileReply, RefusedWithOutputsKept) {
  const HostileCase& c = GetParam();
  Sim().SetRule(c.cls, c.code, c.rule);
  const auto [result, untouched] = c.run(Adapter(), Gate());
  EXPECT_EQ(result, c.want);
  EXPECT_TRUE(untouched);
}

INSTANTIATE_TEST_SUITE_P(Replies, ServiceHostileReply, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The outbound replies, read from their first byte, carry data at bytes 12-13 where the
// other replies echo the request number. Such a reply is this request's reply even when
// those two bytes equal the number of a request that awaited no reply (a counsel upload).
struct OutboundCase {
  const char* name;
  std::uint8_t code;
  std::function<Bytes(std::uint16_t)> data;  // reply bytes from 6 on, given that number
  std::function<bool(OrbaAdapter&, int, std::uint16_t)> run;  // result 1 and outputs read
};

const OutboundCase kOutboundCases[] = {
    {"BlackListInsert", 0xF7, [](std::uint16_t n) { return Frame().PutU32(1).PutU16(0).PutU16(n).Take(); },
     [](OrbaAdapter& a, int g, std::uint16_t) { return BlackListInsert(a, 1, {}, g) == 1; }},
    {"PreviewMakeCall", 0xF8, [](std::uint16_t n) { return Frame().PutU32(1).PutU16(0).PutU16(n).Take(); },
     [](OrbaAdapter& a, int g, std::uint16_t) { return PreviewMakeCall(a, 1, 2, 3, "e", 4, g) == 1; }},
    {"CreateCampaign", 0xFA, [](std::uint16_t n) { return Frame().PutU32(1).PutU32(n).Take(); },
     [](OrbaAdapter& a, int g, std::uint16_t n) {
       std::uint32_t id = 0;
       return CreateCampaign(a, id, {}, g) == 1 && id == n;
     }},
    {"CallbackListInsert", 0xC9,
     [](std::uint16_t n) { return Frame().PutU32(3).PutU32(n).PutU32(5).PutU32(6).Take(); },
     [](OrbaAdapter& a, int g, std::uint16_t n) {
       CallbackResult r{};
       return CallbackListInsert(a, 1, {}, r, g) == 1 && r == CallbackResult{3, n, 5, 6};
     }},
    {"CallbackCampaign", 0xC8,
     [](std::uint16_t n) { return Frame().PutU32(1).PutU16(1).PutU32(std::uint32_t{n} << 16).PutU32(2).PutU32(3).Take(); },
     [](OrbaAdapter& a, int g, std::uint16_t n) {
       std::vector<CallbackCampaignEntry> l;
       return CallbackCampaign(a, 1, l, g) == 1 && l.size() == 1 && l[0].campaignID == std::uint32_t{n} << 16;
     }},
};

class OutboundReplyBytes : public ServiceGate, public ::testing::WithParamInterface<OutboundCase> {};

TEST_P(OutboundReplyBytes, DataAtTheEchoPlaceIsNoLateReply) {
  const OutboundCase& c = GetParam();
  ctisim::ReplyRule none;
  none.withhold = true;
  Sim().SetRule(0x45, 0xC1, none);
  ASSERT_EQ(PutCounsel(Adapter(), "cn", 1, "tag", "", Gate()), 1);
  const auto upload = Sim().WaitForRequest(0x45, 0xC1, milliseconds(1000));
  ASSERT_TRUE(upload);
  Sim().SetRule(0x45, c.code, OutboundReply(7, c.data(upload->number)));
  EXPECT_TRUE(c.run(Adapter(), Gate(), upload->number));
}

INSTANTIATE_TEST_SUITE_P(Replies, OutboundReplyBytes, ::testing::ValuesIn(kOutboundCases),
                         [](const auto& info) { return std::string(info.param.name); });

// No reply in time: the wait's code comes back, the outputs keep what the caller put there,
// and no outcome line is written.
TEST_F(ServiceHostileReplyQuiet, SilentServerLeavesOutputsAlone) {
  const std::size_t opened = LogText().size();
  Sim().SetSilent(true);
  std::uint32_t count = 7;
  std::string rows = "mine";
  EXPECT_EQ(SQLQuery(Adapter(), "d", 1, ',', count, "select", rows, Gate()), 3013);
  EXPECT_EQ(count, 7u);
  EXPECT_EQ(rows, "mine");
  std::vector<CallbackCampaignEntry> campaigns = {{1, 2, 3}};
  EXPECT_EQ(CallbackCampaign(Adapter(), 1, campaigns, Gate()), 3013);
  EXPECT_EQ(campaigns.size(), 1u);
  AgentList agents(1);
  std::string read = "r";
  std::uint32_t total = 5;
  EXPECT_EQ(GetAgentEx(Adapter(), {}, agents, read, total, Gate()), 3013);
  EXPECT_EQ(agents.size(), 1u);
  EXPECT_EQ(read, "r");
  EXPECT_EQ(total, 5u);
  const std::string log = LogText().substr(opened);
  EXPECT_NE(log.find("vomtelSQLQuery: gate[0]"), std::string::npos);
  EXPECT_EQ(log.find("[result][invoke]"), std::string::npos) << log;
}

Bytes StatusFrameData(std::uint8_t more, std::uint32_t agent) {
  return Frame().PutU8(more).PutU8(0).PutU8(2).PutU32(1).PutU16(1).PutU16(2).PutU32(agent).PutStr8("n").PutU32(1).Take();
}

class MultiFrameAnswers : public ServiceGate {};

// A server that keeps sending "more", each frame well within the frame wait: the answer's
// overall deadline (30 reply units, 3 s here) releases the caller; what came stays.
TEST_F(MultiFrameAnswers, EndlessMoreEndsAtTheOverallDeadline) {
  ctisim::ReplyRule rule = Reply(1, StatusFrameData(1, 0));
  for (std::uint32_t i = 1; i < 250; ++i) rule.more.push_back(StatusFrameData(1, i));
  rule.gap = milliseconds(20);  // far below the 300 ms frame wait; 5 s in all
  Sim().SetRule(0x45, 0xBE, rule);
  AgentStatusList list;
  const auto start = Clock::now();
  EXPECT_EQ(AgentStatusGet(Adapter(), 1, 1, 1, 1, list, Gate()), 3013);
  const auto took = Clock::now() - start;
  EXPECT_GE(took, milliseconds(2900));
  EXPECT_LT(took, milliseconds(4500));
  EXPECT_GE(list.size(), 20u);
  EXPECT_LT(list.size(), 250u);
  for (std::size_t i = 0; i < list.size(); ++i) EXPECT_EQ(list[i].agentNumber, i);
}

// Answers that count their entries or frames to ten thousand and more: a busy machine under a
// sanitizer may not hand over one of their frames (600 entries) within the 300 ms frame wait of
// the fixture above. A reply unit of 1 s gives each frame 3 s, so that what ends the answer is
// its count, never its time.
class LongAnswers : public ServiceGate {
 protected:
  Timings GateTimings() const override { return PatientServiceTimings(); }
};

// Entries past the cap end the answer with 3040; the entries up to the cap stay.
TEST_F(LongAnswers, EntryCapEndsAnAnswerThatNeverStops) {
  Bytes many = Frame().PutU8(1).PutU8(0).PutU8(2).PutU32(600).Take();
  for (int i = 0; i < 600; ++i) many = Frame(many).PutU16(0).PutU16(0).PutU32(i).PutStr8("").PutU32(0).Take();
  ctisim::ReplyRule rule = Reply(1, many);
  for (int i = 0; i < 30; ++i) rule.more.push_back(many);  // 31 x 600 entries, above 10000
  Sim().SetRule(0x45, 0xBE, rule);
  AgentStatusList list;
  EXPECT_EQ(AgentStatusGet(Adapter(), 1, 1, 1, 1, list, Gate()), 3040);
  EXPECT_EQ(list.size(), 600u * 16);

  // The frames of the abandoned answer still arriving are not the next request's reply.
  Sim().SetRule(0x42, 0x46, Reply(1, {5}));
  std::uint8_t monitor = 0;
  EXPECT_EQ(GetMonitor(Adapter(), monitor, Gate()), 1);
  EXPECT_EQ(monitor, 5);
}

// Frames that keep saying "more" without a single entry count against the cap as well.
TEST_F(LongAnswers, EmptyFramesCountAgainstTheCap) {
  ctisim::ReplyRule rule = Reply(1, Frame().PutU8(1).PutU8(0).PutU8(2).PutU32(0).Take());
  rule.more.assign(kMaxListEntries + 10, rule.data);
  Sim().SetRule(0x45, 0xBE, rule);
  AgentStatusList list;
  EXPECT_EQ(AgentStatusGet(Adapter(), 1, 1, 1, 1, list, Gate()), 3040);
  EXPECT_TRUE(list.empty());

  Sim().SetRule(0x42, 0x46, Reply(1, {5}));
  std::uint8_t monitor = 0;
  EXPECT_EQ(GetMonitor(Adapter(), monitor, Gate()), 1);
  EXPECT_EQ(monitor, 5);
}

// An answer abandoned after the gate failed over to its other session is still given up on
// the session that carries it: should that session serve again, the rest of the answer is
// not taken for a later request's reply.
TEST(AbandonedAnswer, IsGivenUpOnItsOwnSessionAfterAFailOver) {
  TempDir dir;
  ctisim::SimServer first;
  ctisim::SimServer second;
  Settings settings;
  settings.logPath = dir.Path();
  OrbaAdapter adapter(settings, ServiceTimings());
  for (ctisim::SimServer* sim : {&first, &second}) {
    adapter.AddServer(sim->Address(), sim->Port(), 0, 0, kAgentDn, "agent", kVersion, kHeaderWord);
  }
  int gate = -1;
  ASSERT_EQ(adapter.OpenServer(&gate), 1);
  const auto sessions = adapter.Proxy().Table().Sessions(gate);
  ASSERT_EQ(sessions.size(), 2u);
  const std::shared_ptr<CSession> serving = adapter.Proxy().FindActive(gate);
  ASSERT_TRUE(serving);
  const std::shared_ptr<CSession> other = serving == sessions[0] ? sessions[1] : sessions[0];
  other->SetState(kStateActive);

  RequestExchange exchange(adapter, gate);
  exchange.BeginBody();
  ASSERT_EQ(exchange.NumberRequest(), kOk);
  serving->SetState(kStateStandby);  // the fail-over: the gate now serves on the other session
  ASSERT_EQ(adapter.Proxy().FindActive(gate), other);

  AbandonAnswer(exchange);
  EXPECT_TRUE(serving->GivenUp().IsGivenUp(exchange.RequestNumber()));
  EXPECT_FALSE(other->GivenUp().IsGivenUp(exchange.RequestNumber()));
  adapter.Proxy().CloseAll();
}

// The third frame never comes: 3013 after the frame wait, the five entries read stay.
TEST_F(MultiFrameAnswers, MissingLastFrameTimesOutKeepingTheEntries) {
  ctisim::ReplyRule rule = Reply(1, Frame().PutU8(1).PutU8(0).PutU8(2).PutU32(2).PutZeros(26).Take());
  rule.more = {Frame().PutU8(1).PutU8(0).PutU8(3).PutU32(3).PutZeros(39).Take()};
  Sim().SetRule(0x45, 0xBE, rule);
  AgentStatusList list;
  EXPECT_EQ(AgentStatusGet(Adapter(), 1, 1, 1, 1, list, Gate()), 3013);
  ASSERT_EQ(list.size(), 5u);
  EXPECT_EQ(list[1].mode, 2);
  EXPECT_EQ(list[2].mode, 3);
}

Bytes DirectoryAgent(const std::string& id) {
  return Frame().PutStr8("t").PutStr8("g").PutStr8("p").PutStr8("d").PutStr8(id).PutStr8("n")
      .PutU8(3).PutU8(1).PutU8(0).PutU16(42).Take();
}

// A query whose reply failed leaves its list frames queued; the next query must not hand
// them back as its own agents.
TEST_F(MultiFrameAnswers, LeftoverListFramesAreDiscardedBeforeTheNextQuery) {
  ctisim::ReplyRule failed;
  failed.hook = [](const ctisim::Request& request) {
    return std::vector<Bytes>{ctisim::ListFrame(ListContent(DirectoryAgent("stale1"))),
                              ctisim::ListFrame(ListContent(DirectoryAgent("stale2"))),
                              ctisim::ReplyFrame({request.cls, request.code, 0, 0}, 5, request.number)};
  };
  Sim().AddOnceRule(0x45, 0xC2, failed);
  AgentList list;
  EXPECT_EQ(GetAgent(Adapter(), {}, list, Gate()), 5);
  EXPECT_TRUE(list.empty());

  Sim().AddOnceRule(0x45, 0xC2, ListsThenReplyRule({DirectoryAgent("fresh")}));
  list.resize(2);
  EXPECT_EQ(GetAgent(Adapter(), {}, list, Gate()), 1);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].agentId, "fresh");
}

}  // namespace
}  // namespace vomtel::test
