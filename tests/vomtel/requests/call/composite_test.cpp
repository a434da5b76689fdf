// The composites: consultation and reconnect in ext mode 1, and the one-step conference with
// its endings (answered, answered before the consultation's reply, not answered, refused).
#include <gtest/gtest.h>

#include <future>

#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "call_gate.h"
#include "tools/ctisim/call_events.h"
#include "vomtel/core/result_codes.h"
#include "vomtel/requests/call/consultation_transfer.h"
#include "vomtel/requests/call/one_step_conference.h"

namespace vomtel::test {
namespace {

using ctisim::Bytes;

constexpr std::uint8_t kHold = 0x5A, kMake = 0x65, kRetrieve = 0x78, kClear = 0x28;
constexpr std::uint8_t kConsult = 0x3C, kConference = 0x32;
constexpr const char* kCalled = "2002";

std::vector<std::string> HexBodies(const std::vector<ctisim::Request>& requests) {
  std::vector<std::string> bodies;
  for (const ctisim::Request& request : requests) {
    bodies.push_back(ctisim::Hex(Bytes(request.body.begin() + 6, request.body.end())));
  }
  return bodies;
}

std::vector<std::string> HexBodies(const std::vector<Bytes>& bodies) {
  std::vector<std::string> hex;
  for (const Bytes& body : bodies) hex.push_back(ctisim::Hex(body));
  return hex;
}

// --- Ext mode 1 ---------------------------------------------------------------------------

struct CompositeCase {
  const char* name;
  std::function<int(OrbaAdapter&, int)> run;
  std::map<std::uint8_t, std::uint32_t> results;  // code -> result word (others answer 1)
  std::vector<Bytes> sent;                         // bodies after the prefix, in order
  std::vector<std::uint8_t> codes;
  int expected;
};

void PrintTo(const CompositeCase& c, std::ostream* os) { *os << c.name; }

int Consult(OrbaAdapter& a, int g) {
  return ConsultationCall(a, kAgentDn, 5, kCalled, "u", "ac", "au", "UE", "C", g);
}
int Reconnect(OrbaAdapter& a, int g) { return ReconnectCall(a, kAgentDn, 5, "3003", 6, g); }

const Bytes kHoldBody = Body().PutU32(5).PutStr8(kAgentDn).PutU8(0).Take();
const Bytes kMakeBody = Body().PutStr8(kAgentDn).PutStr8(kCalled).PutStr8("u").PutStr8("ac")
                            .PutStr8("au").PutStr16("UE").PutStr16("C").PutU8(0).Take();
const Bytes kClearActive = Body().PutU32(6).PutStr8(kAgentDn).PutU8(0).PutU16(0).Take();

const CompositeCase kCompositeCases[] = {
    {"ConsultationHoldsThenMakes", Consult, {}, {kHoldBody, kMakeBody}, {kHold, kMake}, 1},
    {"ConsultationWhoseHoldFails", Consult, {{kHold, 7}}, {kHoldBody}, {kHold}, 7},
    {"ConsultationWhoseMakeFailsRetrieves", Consult, {{kMake, 9}, {kRetrieve, 11}},
     {kHoldBody, kMakeBody, kHoldBody}, {kHold, kMake, kRetrieve}, 9},
    {"ReconnectClearsThenRetrieves", Reconnect, {{kClear, 5}}, {kClearActive, kHoldBody},
     {kClear, kRetrieve}, 1},
    {"ReconnectGivesTheRetrieveResult", Reconnect, {{kRetrieve, 12}}, {kClearActive, kHoldBody},
     {kClear, kRetrieve}, 12},
};

class ExtModeOne : public CallGate, public ::testing::WithParamInterface<CompositeCase> {
 protected:
  std::uint8_t Ext() const override { return 1; }
};

TEST_P(ExtModeOne, RunsAsItsSteps) {
  const CompositeCase& c = GetParam();
  for (const auto& [code, result] : c.results) {
    ctisim::ReplyRule rule;
    rule.result = result;
    Sim().SetRule(0x41, code, rule);
  }
  EXPECT_EQ(c.run(Adapter(), Gate()), c.expected);
  EXPECT_EQ(Codes(), c.codes);
  EXPECT_EQ(HexBodies(Requests()), HexBodies(c.sent));
}

INSTANTIATE_TEST_SUITE_P(Composites, ExtModeOne, ::testing::ValuesIn(kCompositeCases),
                         [](const auto& info) { return std::string(info.param.name); });

// --- One-step conference --------------------------------------------------------------------

constexpr std::uint32_t kCall = 5;
constexpr std::uint32_t kConsultation = 0xBEEF;

enum class Answer { kDuringWait, kBeforeReply, kOtherDeviceOnly, kNever };

Bytes Established(const std::string& device) {
  ctisim::CallParties parties;
  parties.monitored = device;
  parties.other = kCalled;
  parties.call_id = kConsultation;
  return ctisim::EventFrame(ctisim::kEventEstablished,
                            ctisim::CallEventBody(ctisim::kEventEstablished, parties));
}

class OneStep : public CallGate {
 protected:
  // The consultation is answered with `result` and the consultation call id (no reply data
  // when `withData` is false); the established event of the agent's device comes as `answer`.
  void Script(Answer answer, std::uint32_t result = 1, bool withData = true) {
    ctisim::ReplyRule rule;
    rule.hook = [this, answer, result, withData](const ctisim::Request& request) {
      const Bytes data = withData ? Body().PutU32(kConsultation).Take() : Bytes{};
      const Bytes reply = ctisim::ReplyFrame(
          {request.cls, request.code, request.version, request.word}, result, request.number, data);
      switch (answer) {
        case Answer::kBeforeReply:
          return std::vector<Bytes>{Established(kAgentDn), reply};
        case Answer::kDuringWait: {
          ctisim::SendShape later;
          later.delay = milliseconds(100);
          Sim().Send(Established(kAgentDn), request.connection, later);
          break;
        }
        case Answer::kOtherDeviceOnly:
          Sim().Send(Established(kCalled), request.connection);
          break;
        case Answer::kNever:
          break;
      }
      return std::vector<Bytes>{reply};
    };
    Sim().SetRule(0x41, kConsult, rule);
  }

  int Run() { return OneStepConference(Adapter(), kAgentDn, kCall, kCalled, "u", "UE", "C", Gate()); }
};

const Bytes kConsultBody = Body().PutU32(kCall).PutStr8(kAgentDn).PutStr8(kCalled).PutU8(0)
                               .PutStr8("u").PutU8(0).PutU8(0).PutStr16("UE").PutStr16("C").Take();
const Bytes kConferenceBody = Body().PutU32(kCall).PutStr8(kAgentDn).PutU8(0).PutU32(kConsultation)
                                  .PutStr8(kCalled).PutU8(0).Take();

TEST_F(OneStep, AnsweredDuringTheWaitConferences) {
  Script(Answer::kDuringWait);
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(Codes(), (std::vector<std::uint8_t>{kConsult, kConference}));
  EXPECT_EQ(HexBodies(Requests()), HexBodies({kConsultBody, kConferenceBody}));
  const std::uint16_t conference = Requests()[1].number;
  EXPECT_NE(LogText().find(" vomtelOneStepConference [result][invoke] : [1][" +
                           std::to_string(conference) + "]\n"),
            std::string::npos);
  EXPECT_NE(LogText().find("] vomtelOneStepConference - Consultation: gate[0] Inv["),
            std::string::npos);
}

// The answer comes before the consultation's reply has been read: the wait was armed before
// the request went out, so the answer is not missed.
TEST_F(OneStep, AnsweredBeforeTheConsultationReplyConferences) {
  Script(Answer::kBeforeReply);
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(Codes(), (std::vector<std::uint8_t>{kConsult, kConference}));
}

// Nobody answers (an established event of the called party does not count): the consultation
// is cleared, the first call retrieved, and the result says no answer came in time. A reply
// without data reads the consultation call id as 0.
TEST_F(OneStep, NotAnsweredClearsRetrievesAndTimesOut) {
  Script(Answer::kOtherDeviceOnly, 1, false);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Run(), kTimeout);
  EXPECT_GE(std::chrono::steady_clock::now() - start, CallTimings().conferenceWait);
  EXPECT_EQ(Codes(), (std::vector<std::uint8_t>{kConsult, kClear, kRetrieve}));
  const Bytes clear = Body().PutU32(0).PutStr8(kAgentDn).PutU8(0).PutU16(0).Take();
  const Bytes retrieve = Body().PutU32(kCall).PutStr8(kAgentDn).PutU8(0).Take();
  EXPECT_EQ(HexBodies(Requests()), HexBodies({kConsultBody, clear, retrieve}));
}

TEST_F(OneStep, NotAnsweredGivesAFailedRetrieveResult) {
  Script(Answer::kNever);
  ctisim::ReplyRule refused;
  refused.result = 12;
  Sim().SetRule(0x41, kRetrieve, refused);
  EXPECT_EQ(Run(), 12);
}

TEST_F(OneStep, RefusedConsultationOrConferenceIsLoggedAndReturned) {
  Script(Answer::kDuringWait, 3);
  EXPECT_EQ(Run(), 3);
  EXPECT_EQ(Codes(), (std::vector<std::uint8_t>{kConsult}));
  EXPECT_NE(LogText().find("] vomtelOneStepConference - Consultation Fail[3]\n"),
            std::string::npos);

  Sim().ClearReceived();
  Script(Answer::kDuringWait);
  ctisim::ReplyRule refused;
  refused.result = 8;
  Sim().SetRule(0x41, kConference, refused);
  EXPECT_EQ(Run(), 8);
  EXPECT_EQ(Codes(), (std::vector<std::uint8_t>{kConsult, kConference}));
  EXPECT_NE(LogText().find("] vomtelOneStepConference - Conference Fail[8]\n"), std::string::npos);
}

class OneStepExtOne : public OneStep {
 protected:
  std::uint8_t Ext() const override { return 1; }
};

TEST_F(OneStepExtOne, SendsTheConsultationRequestInEveryMode) {
  Script(Answer::kBeforeReply);
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(Codes(), (std::vector<std::uint8_t>{kConsult, kConference}));
}

// The link ends while the conference waits for the answer: the wait ends with it (long before
// its time-out), and the clear and retrieve that follow report the lost connection.
class OneStepLongWait : public OneStep {
 protected:
  Timings GateTimings() const override {
    Timings timings = CallTimings();
    timings.conferenceWait = milliseconds(60000);
    return timings;
  }
};

TEST_F(OneStepLongWait, WaitEndsWhenTheLinkEnds) {
  Script(Answer::kNever);
  auto conference = std::async(std::launch::async, [this] { return Run(); });
  // The consultation's reply is queued on the receive side before the link goes.
  ASSERT_TRUE(WaitUntil([&] { return CountOf(LogText(), kOpenReplyQueued) == 2; }));
  Sim().DropConnections();
  ASSERT_EQ(conference.wait_for(kPatience), std::future_status::ready);
  EXPECT_EQ(conference.get(), kNotConnected);
  EXPECT_EQ(Codes(), (std::vector<std::uint8_t>{kConsult}));
}

// Two one-step conferences at once on two gates: each waits for its own device's answer.
TEST_F(OneStep, TwoGatesWaitForTheirOwnDevices) {
  ctisim::SimServer other;
  Adapter().AddServer(other.Address(), other.Port(), 0, 0, "3003", "agent", kVersion, 0);
  int otherGate = -1;
  ASSERT_EQ(Adapter().OpenServer(&otherGate), 1);
  ASSERT_NE(otherGate, Gate());

  Script(Answer::kNever);  // the first agent's consulted party never answers
  ctisim::ReplyRule answered;
  answered.hook = [&other](const ctisim::Request& request) {
    const Bytes reply = ctisim::ReplyFrame({request.cls, request.code, request.version, request.word},
                                           1, request.number, Body().PutU32(kConsultation).Take());
    ctisim::SendShape later;
    later.delay = milliseconds(100);
    other.Send(Established("3003"), request.connection, later);
    return std::vector<Bytes>{reply};
  };
  other.SetRule(0x41, kConsult, answered);

  int first = 0;
  std::thread waiting([&] { first = Run(); });
  const int second =
      OneStepConference(Adapter(), "3003", kCall, kCalled, "", "", "", otherGate);
  waiting.join();
  EXPECT_EQ(second, 1);
  EXPECT_EQ(first, kTimeout);
  EXPECT_EQ(other.CountRequests(0x41, kConference), 1u);
  EXPECT_EQ(Sim().CountRequests(0x41, kConference), 0u);
}

}  // namespace
}  // namespace vomtel::test
