// Gates opened against the simulator for the service request tests (short timings, a log
// folder of their own), and the reply layouts that only service requests use.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "tools/ctisim/frame.h"
#include "tools/ctisim/reply_rule.h"
#include "vomtel/requests/call/call_gate.h"

namespace vomtel::test {

using ctisim::Bytes;
using ctisim::Frame;

// The call requests' timings with a reply unit of 100 ms: a reply wait of three units is
// 300 ms; the overall deadline of a multi-frame answer is 3 s. The open keeps its own wait.
inline Timings ServiceTimings() {
  Timings timings = CallTimings();
  timings.replyUnit = milliseconds(100);
  return timings;
}

// The same with a reply unit of 1 s (a reply wait of 3 s), for answers that are sure to come
// or long answers whose end is their count: a busy machine under a sanitizer may take longer
// than 300 ms to hand a reply over.
inline Timings PatientServiceTimings() {
  Timings timings = ServiceTimings();
  timings.replyUnit = milliseconds(1000);
  return timings;
}

// Everything the sessions logging into `dir` have written so far.
inline std::string LogsIn(const TempDir& dir) {
  std::string text;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir / kLogFolderName, error)) {
    text += ReadFile(entry.path().string());
  }
  return text;
}

// An adapter with one gate per simulator, opened in order (gate 0 first), logging into `dir`.
inline std::unique_ptr<OrbaAdapter> OpenGates(const TempDir& dir,
                                              std::initializer_list<ctisim::SimServer*> sims,
                                              const Timings& timings = ServiceTimings()) {
  Settings settings;
  settings.logPath = dir.Path();
  settings.level = 3;
  auto adapter = std::make_unique<OrbaAdapter>(settings, timings);
  for (ctisim::SimServer* sim : sims) {
    adapter->AddServer(sim->Address(), sim->Port(), 0, 0, kAgentDn, "agent", kVersion, kHeaderWord);
    int gate = -1;
    EXPECT_EQ(adapter->OpenServer(&gate), 1);
    EXPECT_TRUE(sim->WaitForRequest(0x45, 0x46, milliseconds(1000)));
    sim->ClearReceived();
  }
  // The service threads log each open's reply after handing it over: wait for those lines, so
  // that a test's log snapshot is not taken while they are being written.
  EXPECT_TRUE(WaitUntil([&] { return CountOf(LogsIn(dir), kOpenReplyQueued) == sims.size(); }));
  return adapter;
}

// One gate on one simulator.
class ServiceGate : public ::testing::Test {
 protected:
  void SetUp() override { adapter_ = OpenGates(dir_, {&sim_}, GateTimings()); }
  virtual Timings GateTimings() const { return ServiceTimings(); }
  void TearDown() override { adapter_->Proxy().CloseAll(); }

  OrbaAdapter& Adapter() { return *adapter_; }
  int Gate() const { return 0; }
  ctisim::SimServer& Sim() { return sim_; }
  std::vector<ctisim::Request> Requests() const { return sim_.Received(); }
  std::string LogText() const { return LogsIn(dir_); }

 private:
  TempDir dir_;
  ctisim::SimServer sim_;
  std::unique_ptr<OrbaAdapter> adapter_;
};

// An outbound reply as those requests read it from the first byte: A2, length, the class
// byte, the invoke number at bytes 4-5, then `data` from byte 6.
inline ctisim::ReplyRule OutboundReply(std::uint16_t invoke, Bytes data) {
  ctisim::ReplyRule rule;
  rule.hook = [invoke, data](const ctisim::Request& request) {
    return std::vector<Bytes>{
        ctisim::LengthFramed(0xA2, Frame().PutU8(request.cls).PutU16(invoke).PutBytes(data).Take())};
  };
  return rule;
}

// A reply in the common layout: the result word, the request's number, data from byte 14.
inline ctisim::ReplyRule Reply(std::uint32_t result, Bytes data = {}) {
  ctisim::ReplyRule rule;
  rule.result = result;
  rule.data = std::move(data);
  return rule;
}

// A list frame's content as the directory readers read it: bytes 3-13 of a reply head, then
// the agent.
inline Bytes ListContent(const Bytes& agent) {
  return Frame().PutU8(0x45).PutU8(0xC2).PutU8(0).PutU16(0).PutU32(1).PutU16(0).PutBytes(agent).Take();
}

// A reply with result 1 whose agents' list frames are queued ahead of it.
inline ctisim::ReplyRule ListsThenReplyRule(std::vector<Bytes> agents, std::uint32_t result = 1,
                                            Bytes data = {}) {
  ctisim::ReplyRule rule;
  rule.hook = [=](const ctisim::Request& request) {
    std::vector<Bytes> frames;
    for (const Bytes& agent : agents) frames.push_back(ctisim::ListFrame(ListContent(agent)));
    frames.push_back(ctisim::ReplyFrame({request.cls, request.code, 0, 0}, result, request.number, data));
    return frames;
  };
  return rule;
}

}  // namespace vomtel::test
