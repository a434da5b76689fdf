// The three operations that always work on gate 0, whatever gate their caller holds: with
// two gates on two servers they reach gate 0's server, and with gate 0 closed they fail with
// 3007 although gate 1 is open.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>

#include "service_gate.h"
#include "vomtel/requests/service/agent_list_queries.h"
#include "vomtel/requests/service/agent_settings.h"
#include "vomtel/requests/service/data_queries.h"

namespace vomtel::test {
namespace {

class TwoGates : public ::testing::Test {
 protected:
  void SetUp() override {
    adapter_ = OpenGates(dir_, {&first_, &second_});
    for (ctisim::SimServer* sim : {&first_, &second_}) {
      // Empty lists and zero numbers: replies that hold what these requests read.
      sim->SetRule(0x45, 0x97, Reply(1, {0, 0}));
      sim->SetRule(0x45, 0x98, Reply(1, {0, 0}));
      sim->SetRule(0x45, 0xAB, Reply(1, {0, 0, 0, 0}));
      sim->SetRule(0x45, 0xCB, Reply(1, Bytes(8, 0)));
    }
  }
  void TearDown() override { adapter_->Proxy().CloseAll(); }
  std::string LogText() const { return LogsIn(dir_); }

  TempDir dir_;
  ctisim::SimServer first_;   // gate 0
  ctisim::SimServer second_;  // gate 1
  std::unique_ptr<OrbaAdapter> adapter_;
};

struct FixedGateCase {
  const char* name;
  std::uint8_t code;
  std::function<int(OrbaAdapter&)> run;
  const char* label;
};

const FixedGateCase kFixed[] = {
    {"AgentBusyGetII", 0x97, [](OrbaAdapter& a) { AgentList l; return AgentBusyGetII(a, 1, 2, 3, l); },
     "orbaAgentBusyGetII: gate[0]"},
    {"GetUEIData", 0xAB,
     [](OrbaAdapter& a) {
       std::array<char, 4> uei{}, ci{};
       return GetUEIData(a, 1, 2, uei, ci);
     },
     "vomtelGetUEIData: gate[0]"},
    {"AgentBlockingEx", 0xCB,
     [](OrbaAdapter& a) {
       std::uint32_t v = 0, s = 0;
       return AgentBlockingEx(a, "ag", 1, 2, "c", 3, v, s);
     },
     "vomtelAgentBlockingEx: gate[0]"},
};

TEST_F(TwoGates, FixedGateOperationsReachGateZerosServer) {
  for (const FixedGateCase& c : kFixed) {
    first_.ClearReceived();
    EXPECT_EQ(c.run(*adapter_), 1) << c.name;
    EXPECT_EQ(first_.CountRequests(0x45, c.code), 1u) << c.name;
    EXPECT_NE(LogText().find(c.label), std::string::npos) << c.name;
  }
  EXPECT_EQ(second_.RequestCount(), 0u);
  // The gate-taking neighbour of the same family goes where it is told.
  AgentList list;
  EXPECT_EQ(AgentReadyGet(*adapter_, 1, 2, 3, list, 1), 1);
  EXPECT_EQ(second_.CountRequests(0x45, 0x98), 1u);
}

TEST_F(TwoGates, FixedGateOperationsFailWhenGateZeroIsClosed) {
  adapter_->Proxy().Close(0);
  first_.ClearReceived();
  for (const FixedGateCase& c : kFixed) EXPECT_EQ(c.run(*adapter_), 3007) << c.name;
  EXPECT_EQ(second_.RequestCount(), 0u);
  AgentList list;
  EXPECT_EQ(AgentReadyGet(*adapter_, 1, 2, 3, list, 1), 1);
}

}  // namespace
}  // namespace vomtel::test
