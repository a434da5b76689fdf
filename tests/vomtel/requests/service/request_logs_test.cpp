// The log texts of one operation per shape: request logs with their field lines, masked
// numbers and the masked password, outcome lines of each form, and the per-entry lines.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "service_gate.h"
#include "vomtel/requests/service/agent_directory.h"
#include "vomtel/requests/service/agent_list_queries.h"
#include "vomtel/requests/service/agent_settings.h"
#include "vomtel/requests/service/callback_insert.h"
#include "vomtel/requests/service/campaign_lists.h"
#include "vomtel/requests/service/data_queries.h"
#include "vomtel/requests/service/ivr_sql.h"
#include "vomtel/requests/service/masters.h"
#include "vomtel/requests/service/outbound_lists.h"

namespace vomtel::test {
namespace {

struct LogCase {
  const char* name;
  std::uint8_t cls;
  std::uint8_t code;
  ctisim::ReplyRule rule;
  std::function<int(OrbaAdapter&, int)> run;
  std::vector<std::string> lines;  // each must be in the log
  std::string absent;              // must not be in the log
};

const LogCase kCases[] = {
    {"PasswordMasked", 0x45, 0xFC, Reply(1), [](OrbaAdapter& a, int g) { return PwdConfirm(a, 1001, 1, "secret", g); },
     {"vomtelPwdConfirm: gate[0] Inv[2]\n\t\tdeviceDn\t\t[1001]\n\t\tconfirm\t\t[1]\n\t\tuei\t\t\t\t[********]\n",
      "vomtelPwdConfirm [result][invoke] : [1][2]\n"},
     "secret"},
    {"NumbersMasked", 0x57, 0x3C, Reply(1),
     [](OrbaAdapter& a, int g) { return RegisterCall(a, 1, 7, "1234567", "7654321", "cd", 0, g); },
     {"vomtelRegisterCall: gate[0] Inv[2]\n\t\tcallid\t\t[7]\n\t\tdn\t\t[123****]\n\t\tani\t\t\t\t[765****]\n",
      "vomtelRegisterCall [result][invoke] : [1][2]\n"},
     "1234567"},
    {"QualifiedOutcome", 0x42, 0x46, Reply(1, {0}), [](OrbaAdapter& a, int g) { std::uint8_t m; return GetMonitor(a, m, g); },
     {"vomtelGetMonitor: gate[0] Inv[2]\n\n", "<OrbaAdapter::GetMonitor>result-invoke[1][2]\n"}, ""},
    {"BusyEntryLines", 0x45, 0x97, Reply(1, Frame().PutU16(1).PutStr8("a1").PutU32(2001).PutU8(1).PutU16(5).Take()),
     [](OrbaAdapter& a, int) { AgentList l; return AgentBusyGetII(a, 1, 2, 3, l); },
     {"orbaAgentBusyGetII: gate[0] Inv[2]\n\t\taGroup\t\t[1]\n\t\taPart\t\t[2]\n\t\tmaxcount\t\t[3]\n",
      "orbaAgentBusyGetII list[0]: employeeID[a1] DN[2001] blendMode[1] Time[5]\n"},
     ""},
    {"MultiAgentReadCount", 0x45, 0xE6, Reply(1, {0, 0}),
     [](OrbaAdapter& a, int g) { AgentList l; return MultiAgentGet(a, "d", "i", l, g); },
     {"vomtelMultiAgentGet [result][invoke] : [1][2] readCount[0]\n"}, ""},
    {"BlockingNumbers", 0x45, 0xCB, Reply(1, {0, 0, 0, 0x3C, 0, 0, 0, 7}),
     [](OrbaAdapter& a, int) { std::uint32_t v, s; return AgentBlockingEx(a, "ag", 1, 2, "c", 3, v, s); },
     {"vomtelAgentBlockingEx [result][invoke] : [1][2]\n\t\tvalid_sec\t\t[60]\n\t\tsetter\t\t[7]\n"}, ""},
    {"QueueTotal", 0x45, 0x84, Reply(1, Frame().PutStr8("7001").PutU32(0).Take()),
     [](OrbaAdapter& a, int g) { std::vector<WaitingPeriodEntry> l; return WaitingCallTimePeriod(a, 30, "7002", l, g); },
     {"vomtelWaitingCallTimePeriod [result][invoke] : [1][2]\n\t\tQueue : [7001], Total[0]\n"}, ""},
    {"DirectoryLines", 0x45, 0xC2,
     ListsThenReplyRule({Frame().PutStr8("ten").PutStr8("grp").PutStr8("prt").PutStr8("dev").PutStr8("a").PutStr8("n")
                             .PutU8(0).PutU8(0).PutU8(0).PutU16(0).Take()}),
     [](OrbaAdapter& a, int g) { AgentList l; return GetAgent(a, {"d", "a", "s", "t", "g", "p", "m", "", "9"}, l, g); },
     {"vomtelGetAgent: gate[0] Inv[2]\n\t\tdeviceNumber\t\t[d]\n\t\tagentid\t\t[a]\n\t\tskill\t\t[s]\n\t\ttenant\t\t[t]"
      "\n\t\tgroup\t\t[g]\n\t\tpart\t\t[p]\n\t\tmode\t\t[m]\n\t\tmaxcnt\t\t[9]\n",
      "agent tenant[ten]\n", "agent group[grp]\n", "agent part[prt]\n", "device [dev]\n",
      " vomtelGetAgent [result][invoke] : [1][2]\n"},
     ""},
    {"DirectoryCounts", 0x45, 0xC7, Reply(1, Frame().PutStr16("3").PutU32(0xFFFFFFFF).Take()),
     [](OrbaAdapter& a, int g) {
       AgentList l;
       std::string read;
       std::uint32_t total;
       return GetAgentEx(a, {}, l, read, total, g);
     },
     {"vomtelGetAgentEx: gate[0] Inv[2]\n\t\tdeviceNumber\t[]\n\t\tagentid\t\t[]\n", "vomtelGetAgentEx [readCount][totalCount] : [3][-1]\n",
      " vomtelGetAgentEx [result][invoke] : [1][2]\n"},
     ""},
    {"CallbackCampaignEntries", 0x45, 0xC8, OutboundReply(9, Frame().PutU32(1).PutU16(1).PutU32(1).PutU32(2).PutU32(3).Take()),
     [](OrbaAdapter& a, int g) { std::vector<CallbackCampaignEntry> l; return CallbackCampaign(a, 1, l, g); },
     {"campaignID : [1]svcCode : [2]cbCount : [3]\n", "vomtelCallbackCampaign [result][invoke] : [1][2]\n"}, ""},
    {"AnswerOutcomeShowsTheVerdict", 0x45, 0xF6, Reply(1),
     [](OrbaAdapter& a, int g) { return GetMaxCPSQResult(a, 0x102, 5, 6, 30, 4000000000u, g); },
     {"vomtelGetMaxCPSQResult: gate[0] Inv[2]\n", "vomtelGetMaxCPSQResult [result][invoke] : [4000000000][2]\n"}, ""},
    {"CallLoadLines", 0x45, 0xD6, Reply(1, Frame().PutU32(1).PutStr8("emp").PutU16(1).PutU32(1).PutU32(2).PutU32(3).Take()),
     [](OrbaAdapter& a, int g) { std::vector<MaxCallLoadEntry> l; return MaxCallLoadAgent(a, "emp", l, g); },
     {" MaxCallLoadAgent: gate[0] Inv[2]\n\t\temployeeid\t\t[emp]\n\n", "vomtelMaxCallLoadAgent [result][invoke] : [1][2]\n",
      "vomtelMaxCallLoadAgent employeeid: emp count : 1\n",
      "vomtelMaxCallLoadAgent list : campaignid : 1maxcallcnt : 2 answercnt : 3\n"},
     ""},
};

class ServiceRequestLogs : public ServiceGate, public ::testing::WithParamInterface<LogCase> {};

TEST_P(ServiceRequestLogs, WrittenAsQuoted) {
  const LogCase& c = GetParam();
  Sim().SetRule(c.cls, c.code, c.rule);
  EXPECT_EQ(c.run(Adapter(), Gate()), 1) << c.name;
  Sim().WaitForRequest(c.cls, c.code, milliseconds(1000));
  const std::string log = LogText();
  for (const std::string& line : c.lines) EXPECT_NE(log.find("] " + line), std::string::npos) << line << "\n" << log;
  if (!c.absent.empty()) {
    EXPECT_EQ(log.find(c.absent), std::string::npos) << log;
  }
}

INSTANTIATE_TEST_SUITE_P(Shapes, ServiceRequestLogs, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The password goes out as it is, but the packet dumps of the session's log show "** " for
// each of its bytes.
class PasswordDumps : public ServiceGate {};

TEST_F(PasswordDumps, ShowNoByteOfThePassword) {
  ASSERT_EQ(PwdConfirm(Adapter(), 1001, 1, "secret", Gate()), 1);
  const auto sent = Sim().WaitForRequest(0x45, 0xFC, milliseconds(5000));
  ASSERT_TRUE(sent);
  const std::string body(sent->body.begin(), sent->body.end());
  EXPECT_NE(body.find("secret"), std::string::npos);
  const std::string log = LogText();
  const std::string masked = "00 06 ** ** ** ** ** ** \n";
  for (const char* line : {"WriteQueue[S] : ", " send data : <"}) {
    const std::size_t at = log.rfind(line);  // the last frame sent is the request's
    ASSERT_NE(at, std::string::npos) << line;
    const std::size_t end = log.find('\n', at);
    EXPECT_EQ(log.substr(end + 1 - masked.size(), masked.size()), masked) << line;
  }
  EXPECT_EQ(log.find("73 65 63 72 65 74"), std::string::npos);
}

}  // namespace
}  // namespace vomtel::test
