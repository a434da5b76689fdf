// Request numbers and the limits checked before a request is numbered: the queries that use
// two numbers once answered, and refusals that leave the counter, the log and the wire alone.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "service_gate.h"
#include "vomtel/requests/service/agent_directory.h"
#include "vomtel/requests/service/campaign_lists.h"
#include "vomtel/requests/service/campaigns.h"
#include "vomtel/requests/service/data_queries.h"
#include "vomtel/requests/service/ivr_sql.h"
#include "vomtel/requests/service/outbound_lists.h"
#include "vomtel/requests/service/uploads.h"

namespace vomtel::test {
namespace {

// A query whose texts are empty but one.
AgentDirectoryQuery With(std::string_view AgentDirectoryQuery::*field, std::string_view text) {
  AgentDirectoryQuery query;
  query.*field = text;
  return query;
}

class ServiceNumbers : public ServiceGate {
 protected:
  // The number that the next request carries, by sending one (GetMonitor).
  std::uint16_t NextNumber() {
    Sim().SetRule(0x42, 0x46, Reply(1, {0}));
    std::uint8_t monitor = 0;
    EXPECT_EQ(GetMonitor(Adapter(), monitor, Gate()), 1);
    const auto sent = Sim().WaitForRequest(0x42, 0x46, milliseconds(1000), ++monitors_);
    return sent ? sent->number : 0;
  }

 private:
  std::size_t monitors_ = 0;
};

TEST_F(ServiceNumbers, AnsweredQueriesUseTwoNumbers) {
  const std::vector<std::pair<const char*, std::function<int()>>> queries = {
      {"GetAgent", [&] { AgentList l; return GetAgent(Adapter(), {}, l, Gate()); }},
      {"GetAgentEx",
       [&] {
         AgentList l;
         std::string read;
         std::uint32_t total = 0;
         return GetAgentEx(Adapter(), {}, l, read, total, Gate());
       }},
      {"CallbackCampaign", [&] { std::vector<CallbackCampaignEntry> l; return CallbackCampaign(Adapter(), 1, l, Gate()); }},
  };
  Sim().SetRule(0x45, 0xC2, Reply(1));
  Sim().SetRule(0x45, 0xC7, Reply(1, Frame().PutStr16("").PutU32(0).Take()));
  Sim().SetRule(0x45, 0xC8, OutboundReply(1, Frame().PutU32(1).PutU16(0).Take()));
  std::uint16_t number = 2;  // a fresh adapter's first request
  for (const auto& [name, run] : queries) {
    EXPECT_EQ(run(), 1) << name;
    number = static_cast<std::uint16_t>(number + 2);
    EXPECT_EQ(NextNumber(), number) << name;
    ++number;
  }
}

TEST_F(ServiceNumbers, UnansweredQueryUsesOneNumber) {
  ctisim::ReplyRule none;
  none.withhold = true;
  Sim().SetRule(0x45, 0xC2, none);
  AgentList list;
  EXPECT_EQ(GetAgent(Adapter(), {}, list, Gate()), 3013);
  EXPECT_EQ(NextNumber(), 3);
}

// Refused before anything is logged, numbered or sent; the limit itself passes.
TEST_F(ServiceNumbers, LimitsRefuseUpFront) {
  const std::string k1024(1024, 'u');
  const std::string k1025(1025, 'u');
  const std::string k256(256, 's');
  const std::vector<std::uint32_t> devices(2001, 7);
  const std::vector<CallbackCampaignEntry> campaigns(681);
  AgentList list;
  std::string read;
  std::uint32_t total = 0;
  CampaignRecord schedules;
  schedules.unScheduleCnt = 5;
  CampaignRecord skills;
  skills.unSkillCnt = 6;
  std::uint32_t id = 0;

  struct Refusal {
    const char* name;
    std::function<int()> run;
    int want;
  };
  const Refusal refusals[] = {
      {"PwdConfirm 1025", [&] { return PwdConfirm(Adapter(), 1, 1, k1025, Gate()); }, 3025},
      {"GetAgentCount 1025", [&] { std::uint32_t c; return GetAgentCount(Adapter(), k1025, 1, 1, c, Gate()); }, 3025},
      {"RegisterCall 1025", [&] { return RegisterCall(Adapter(), 1, 2, "d", "a", k1025, 0, Gate()); }, 3025},
      {"PutCounsel 1025", [&] { return PutCounsel(Adapter(), "c", 1, "t", k1025, Gate()); }, 3025},
      {"str8 of 256", [&] { return SQLExecute(Adapter(), k256, "q", Gate()); }, 3025},
      {"frame over 8192", [&] { return SQLExecute(Adapter(), "d", std::string(8180, 'q'), Gate()); }, 3025},
      {"MultiAddDevice 2001", [&] { return MultiAddDevice(Adapter(), 1, 0, 2001, devices, Gate()); }, 3040},
      {"MultiAddDevice list short", [&] { return MultiAddDevice(Adapter(), 1, 0, 3, std::span(devices).first(2), Gate()); }, 3009},
      {"CallbackCampaignResult 681", [&] { return CallbackCampaignResult(Adapter(), 1, 2, campaigns, Gate()); }, 3040},
      {"CreateCampaign 5 schedules", [&] { return CreateCampaign(Adapter(), id, schedules, Gate()); }, 3040},
      {"CreateCampaign 6 skills", [&] { return CreateCampaign(Adapter(), id, skills, Gate()); }, 3040},
      {"GetAgentEx part 21", [&] { return GetAgentEx(Adapter(), With(&AgentDirectoryQuery::part, std::string_view(k1025).substr(0, 21)), list, read, total, Gate()); }, -3025},
      {"GetAgentEx group 1025", [&] { return GetAgentEx(Adapter(), With(&AgentDirectoryQuery::group, k1025), list, read, total, Gate()); }, -3025},
      {"GetAgentEx group 1025 without a session", [&] { return GetAgentEx(Adapter(), With(&AgentDirectoryQuery::group, k1025), list, read, total, 7); }, -3025},
      {"GetAgentEx maxcnt 256", [&] { return GetAgentEx(Adapter(), With(&AgentDirectoryQuery::maxcnt, k256), list, read, total, Gate()); }, -3025},
  };
  const std::string logBefore = LogText();
  for (const Refusal& r : refusals) EXPECT_EQ(r.run(), r.want) << r.name;
  EXPECT_EQ(Sim().RequestCount(), 0u);
  EXPECT_EQ(LogText(), logBefore);
  EXPECT_EQ(NextNumber(), 2);

  // At the limits the requests go out.
  Sim().SetRule(0x45, 0xC7, Reply(1, Frame().PutStr16("").PutU32(0).Take()));
  EXPECT_EQ(PwdConfirm(Adapter(), 1, 1, k1024, Gate()), 1);
  AgentDirectoryQuery widest = With(&AgentDirectoryQuery::group, k1024);
  const std::string part(20, 'p');
  widest.part = part;
  EXPECT_EQ(GetAgentEx(Adapter(), widest, list, read, total, Gate()), 1);
  const std::vector<std::uint32_t> most(2000, 7);
  EXPECT_EQ(MultiAddDevice(Adapter(), 1, 0, 2000, most, Gate()), 1);
  const auto sent = Sim().WaitForRequest(0x45, 0x64, milliseconds(1000));
  ASSERT_TRUE(sent);
  EXPECT_EQ(sent->body.size(), 6u + 4 + 2000 * 4);
  const std::vector<CallbackCampaignEntry> fitting(680);
  EXPECT_EQ(CallbackCampaignResult(Adapter(), 1, 2, fitting, Gate()), 1);
}

// A device number 0 stops the request before it is sent; the lines for the devices ahead of
// it stay in the log.
TEST_F(ServiceNumbers, ZeroDeviceStopsMultiAddDevice) {
  const std::uint32_t devices[] = {5, 0, 7};
  EXPECT_EQ(MultiAddDevice(Adapter(), 1, 0, 3, devices, Gate()), 3009);
  EXPECT_EQ(Sim().RequestCount(), 0u);
  const std::string log = LogText();
  EXPECT_NE(log.find("vomtelMultiAddDevice: gate[0] Inv[2]"), std::string::npos) << log;
  EXPECT_NE(log.find("] MultiAddDevice0[5]\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("MultiAddDevice2["), std::string::npos) << log;
}

TEST_F(ServiceNumbers, NoSessionGives3007BeforeTextLimits) {
  EXPECT_EQ(PwdConfirm(Adapter(), 1, 1, std::string(1025, 'u'), 5), 3007);
  AgentList list;
  EXPECT_EQ(GetAgent(Adapter(), {}, list, 5), 3007);
  EXPECT_EQ(NextNumber(), 2);
}

}  // namespace
}  // namespace vomtel::test
