// The common exchange: replies matched to their requests, one session per request, numbers,
// text limits before numbering, logging that never changes a result, the exception guard.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <new>
#include <ostream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "call_gate.h"
#include "vomtel/core/frame.h"
#include "vomtel/core/session.h"
#include "vomtel/requests/call/agent_state.h"
#include "vomtel/requests/call/answer_clear_hold.h"
#include "vomtel/requests/call/consultation_transfer.h"
#include "vomtel/requests/call/device_requests.h"
#include "vomtel/requests/call/divert.h"
#include "vomtel/requests/call/make_call.h"
#include "vomtel/requests/call/phone_features.h"
#include "vomtel/requests/call/request_exchange.h"
#include "vomtel/requests/call/single_step.h"

namespace vomtel::test {
namespace {

constexpr std::uint8_t kHold = 0x5A;

ctisim::ReplyRule Reply(std::uint32_t result, milliseconds delay = milliseconds(0)) {
  ctisim::ReplyRule rule;
  rule.result = result;
  rule.shape.delay = delay;
  return rule;
}

using ExchangeTest = CallGate;

// Request A gives up; its reply comes after that. B and C each get their own reply instead of
// the one before theirs.
TEST_F(ExchangeTest, LateReplyOfARequestThatGaveUpIsDropped) {
  Sim().AddOnceRule(0x41, kHold, Reply(5, CallTimings().ReplyWait(3) * 2));  // after A's wait
  Sim().AddOnceRule(0x41, kHold, Reply(6, milliseconds(40)));
  Sim().AddOnceRule(0x41, kHold, Reply(7));

  EXPECT_EQ(HoldCall(Adapter(), kAgentDn, 1, Gate()), kTimeout);
  ASSERT_TRUE(Sim().WaitUntilSent(milliseconds(1000)));  // A's reply is on its way
  EXPECT_EQ(HoldCall(Adapter(), kAgentDn, 2, Gate()), 6);
  EXPECT_EQ(HoldCall(Adapter(), kAgentDn, 3, Gate()), 7);
  EXPECT_NE(LogText().find("<RequestExchange>late reply dropped: invoke[2] result[5]"),
            std::string::npos);
}

// A request whose wait or send fails returns that code and writes its request log but no
// outcome line; its number is used up.
TEST_F(ExchangeTest, FailedWaitOrSendLogsTheRequestButNoOutcome) {
  ctisim::ReplyRule withheld;
  withheld.withhold = true;
  Sim().SetRule(0x41, kHold, withheld);
  EXPECT_EQ(HoldCall(Adapter(), kAgentDn, 1, Gate()), kTimeout);

  Sim().DropConnections(false);
  const auto session = Adapter().Proxy().FindActive(Gate());
  ASSERT_TRUE(session);
  ASSERT_TRUE(WaitUntil([&] { return session->Stopped(); }, milliseconds(2000)));
  EXPECT_EQ(HoldCall(Adapter(), kAgentDn, 2, Gate()), kNotConnected);

  const std::string log = LogText();
  EXPECT_NE(log.find("] vomtelHoldCall: gate[0] Inv[2]\n"), std::string::npos) << log;
  EXPECT_NE(log.find("] vomtelHoldCall: gate[0] Inv[3]\n"), std::string::npos) << log;
  EXPECT_EQ(log.find(" vomtelHoldCall [result][invoke]"), std::string::npos) << log;
  EXPECT_EQ(Adapter().RequestCounter(), 3);
}

// A request sent without waiting (an upload, an answer to a server request) does not leave its
// reply to the next request.
TEST_F(ExchangeTest, ReplyToARequestSentWithoutWaitingIsDropped) {
  Sim().SetRule(0x45, 0xC0, Reply(9));
  Sim().SetRule(0x41, kHold, Reply(1, milliseconds(40)));
  {
    RequestExchange upload(Adapter(), Gate());
    ASSERT_TRUE(upload.HasSession());
    upload.BeginBody().PutU32(1);
    ASSERT_EQ(upload.NumberRequest(), kOk);
    EXPECT_EQ(upload.SendWithoutReply(0x45, 0xC0), kOk);
  }
  ASSERT_TRUE(Sim().WaitForRequest(0x45, 0xC0, milliseconds(1000)));
  EXPECT_EQ(HoldCall(Adapter(), kAgentDn, 1, Gate()), 1);
}

// Answers read from their first byte carry data, not the request number, at bytes 12-13.
// Waiting for one, the late reply of another request that gave up is still dropped; and such
// an answer that comes after its request gave up is not taken as the next request's reply.
TEST_F(ExchangeTest, LateRepliesAroundAnswersReadWhole) {
  constexpr std::uint8_t kWholeCode = 0xFA;
  const auto whole = [&] {
    RequestExchange exchange(Adapter(), Gate());
    exchange.BeginBody();
    if (exchange.NumberRequest() != kOk) return -1;
    if (const int sent = exchange.Send(kServiceClass, kWholeCode); sent != kOk) return sent;
    const int got = exchange.WaitWholeReply(exchange.ReplyWait(3));
    return got == kOk ? static_cast<int>(ReplyResultWord(exchange.Reply())) : got;
  };
  ctisim::ReplyRule answer = Reply(9);
  answer.number = 0x1234;  // data
  Sim().SetRule(kServiceClass, kWholeCode, answer);

  Sim().AddOnceRule(0x41, kHold, Reply(5, CallTimings().ReplyWait(3) * 2));  // after its wait
  EXPECT_EQ(HoldCall(Adapter(), kAgentDn, 1, Gate()), kTimeout);
  ASSERT_TRUE(Sim().WaitUntilSent(milliseconds(1000)));
  EXPECT_EQ(whole(), 9);

  ctisim::ReplyRule late = answer;
  late.result = 8;
  late.shape.delay = CallTimings().ReplyWait(3) * 2;
  Sim().AddOnceRule(kServiceClass, kWholeCode, late);
  EXPECT_EQ(whole(), kTimeout);
  ASSERT_TRUE(Sim().WaitUntilSent(milliseconds(1000)));
  Sim().SetRule(0x41, kHold, Reply(7));
  EXPECT_EQ(HoldCall(Adapter(), kAgentDn, 2, Gate()), 7);
}

// Requests of several threads on one gate: each gets the reply to its own request (the server
// answers with the call id it was sent), each number is used once and each request's outcome
// line shows its own number.
TEST_F(ExchangeTest, ConcurrentRequestsEachGetTheirOwnReplyAndNumber) {
  ctisim::ReplyRule echo;
  echo.hook = [](const ctisim::Request& request) {
    const std::uint32_t call = (std::uint32_t{request.body[6]} << 24) |
                               (std::uint32_t{request.body[7]} << 16) |
                               (std::uint32_t{request.body[8]} << 8) | request.body[9];
    return std::vector<ctisim::Bytes>{ctisim::ReplyFrame(
        {request.cls, request.code, request.version, request.word}, call, request.number)};
  };
  Sim().SetRule(0x41, kHold, echo);

  constexpr int kThreads = 4;
  constexpr int kEach = 20;
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) {
        const std::uint32_t call = 1000 + t * 100 + i;
        if (HoldCall(Adapter(), kAgentDn, call, Gate()) != static_cast<int>(call)) ++wrong;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrong.load(), 0);

  const auto requests = Requests();
  ASSERT_EQ(requests.size(), static_cast<std::size_t>(kThreads * kEach));
  std::set<std::uint16_t> numbers;
  const std::string log = LogText();
  for (const ctisim::Request& request : requests) {
    numbers.insert(request.number);
    const std::uint32_t call = (std::uint32_t{request.body[6]} << 24) |
                               (std::uint32_t{request.body[7]} << 16) |
                               (std::uint32_t{request.body[8]} << 8) | request.body[9];
    EXPECT_NE(log.find(" vomtelHoldCall [result][invoke] : [" + std::to_string(call) + "][" +
                       std::to_string(request.number) + "]\n"),
              std::string::npos);
  }
  EXPECT_EQ(numbers.size(), requests.size());
}

// With the log folder gone every line is dropped, and the server's result stands.
TEST_F(ExchangeTest, LoggingNeverChangesTheResult) {
  std::filesystem::remove_all(LogFolder());
  Sim().SetRule(0x41, 0x65, Reply(4242));
  EXPECT_EQ(MakeCall(Adapter(), kAgentDn, "2002", "", "", "", "", "", Gate()), 4242);
}

TEST_F(ExchangeTest, TextsAreComposedOnlyForALogThatWritesThem) {
  CLogger& logger = Adapter().Proxy().FindActive(Gate())->Logger();
  const int level = logger.Level();
  for (const int threshold : {0, 1}) {
    logger.SetLevel(threshold);
    RequestExchange exchange(Adapter(), Gate());
    EXPECT_EQ(exchange.LogEnabled(), threshold >= kLogInfo);
    bool composed = false;
    exchange.LogWith([&] {
      composed = true;
      return std::string("composed");
    });
    EXPECT_EQ(composed, threshold >= kLogInfo) << "threshold " << threshold;
  }
  logger.SetLevel(level);
  RequestExchange none(Adapter(), Gate() + 1);  // no session: nothing to write to
  EXPECT_FALSE(none.LogEnabled());
}

// The single-step transfer waits the SST setting; the conference the usual three units.
class LongSingleStepWait : public CallGate {
 protected:
  int Sst() const override { return 10; }
};

TEST_F(LongSingleStepWait, OnlyTheTransferWaitsTheSetting) {
  const ctisim::ReplyRule slow = Reply(1, CallTimings().ReplyWait(5));
  Sim().SetRule(0x41, 0xAC, slow);
  Sim().SetRule(0x41, 0xAD, slow);
  EXPECT_EQ(SingleStepTransfer(Adapter(), kAgentDn, "2002", 1, 0, "", "", "", Gate()), 1);
  EXPECT_EQ(SingleStepConference(Adapter(), kAgentDn, "2002", 1, 0, "", "", "", Gate()), kTimeout);
}

TEST(RequestGuard, AnyExceptionBecomesInternalError) {
  EXPECT_EQ(Guarded([]() -> int { throw 42; }), kInternalError);
  EXPECT_EQ(Guarded([]() -> int { throw std::bad_alloc(); }), kInternalError);
  EXPECT_EQ(Guarded([] { return 7; }), 7);
}

// Text limits and str8 bounds: refused with 3025 before anything is logged, numbered or sent;
// a text at its limit goes out.
struct LimitCase {
  const char* name;
  std::function<int(OrbaAdapter&, int)> run;
  int expected;
};

void PrintTo(const LimitCase& c, std::ostream* os) { *os << c.name; }

const std::string k32(32, 'u'), k33(33, 'u'), k100(100, 'u'), k128(128, 'c'), k129(129, 'c');
const std::string k255(255, '5'), k256(256, '5'), k1024(1024, 'e'), k1025(1025, 'e');

const LimitCase kLimitCases[] = {
    {"MakeCallUuiAtLimit",
     [](OrbaAdapter& a, int g) { return MakeCall(a, "1", "2", k32, "", "", k1024, k128, g); }, 1},
    {"MakeCallUuiOver",
     [](OrbaAdapter& a, int g) { return MakeCall(a, "1", "2", k33, "", "", "", "", g); }, 3025},
    {"MakeCallUeiOver",
     [](OrbaAdapter& a, int g) { return MakeCall(a, "1", "2", "", "", "", k1025, "", g); }, 3025},
    {"MakeCallCiOver",
     [](OrbaAdapter& a, int g) { return MakeCall(a, "1", "2", "", "", "", "", k129, g); }, 3025},
    {"MakeCallCalledAtStr8Limit",
     [](OrbaAdapter& a, int g) { return MakeCall(a, "1", k255, "", "", "", "", "", g); }, 1},
    {"MakeCallCalledOverStr8",
     [](OrbaAdapter& a, int g) { return MakeCall(a, "1", k256, "", "", "", "", "", g); }, 3025},
    {"ConsultationUuiOver",
     [](OrbaAdapter& a, int g) {
       return ConsultationCall(a, "1", 1, "2", k33, "", "", "", "", g);
     },
     3025},
    {"SingleStepTransferCiAtLimit",
     [](OrbaAdapter& a, int g) { return SingleStepTransfer(a, "1", "2", 1, 0, "", k1024, k128, g); },
     1},
    {"SingleStepConferenceCiOver",
     [](OrbaAdapter& a, int g) { return SingleStepConference(a, "1", "2", 1, 0, "", "", k129, g); },
     3025},
    {"DivertUuiHasNoUuiLimit",
     [](OrbaAdapter& a, int g) { return DivertDeflect(a, "1", 1, "2", k100, "", "", g); }, 1},
    {"DivertUeiOver",
     [](OrbaAdapter& a, int g) { return DivertDirect(a, "1", 1, "2", "", k1025, "", g); }, 3025},
    {"HoldDnOverStr8",
     [](OrbaAdapter& a, int g) { return HoldCall(a, k256, 1, g); }, 3025},
    {"ForwardDnOverStr8",
     [](OrbaAdapter& a, int g) { return SetFeatureForward(a, "1", 1, 1, k256, g); }, 3025},
    {"AgentIdOverStr8",
     [](OrbaAdapter& a, int g) { return AgentStatus(a, "1", k256, "", "", 3, 0, 0, g); }, 3025},
    {"AddDeviceDnOverStr8",
     [](OrbaAdapter& a, int g) { return AddDevice(a, k256, 1, 0, g); }, 3025},
};

class TextLimits : public CallGate, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(TextLimits, CheckedBeforeAnythingIsLoggedOrNumbered) {
  const LimitCase& c = GetParam();
  const std::string logBefore = LogText();
  EXPECT_EQ(c.run(Adapter(), Gate()), c.expected);
  if (c.expected == kTextTooLong) {
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(LogText(), logBefore);
    // The next request still carries the first number.
    EXPECT_EQ(HoldCall(Adapter(), kAgentDn, 1, Gate()), 1);
    ASSERT_EQ(Requests().size(), 1u);
    EXPECT_EQ(Requests()[0].number, 2);
  } else {
    EXPECT_EQ(Requests().size(), 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, TextLimits, ::testing::ValuesIn(kLimitCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A body that would not fit the frame buffer, and a data text longer than a uint16 length can
// state, are refused rather than sent cut.
TEST_F(ExchangeTest, BodyOverTheFrameBufferIsRefusedBeforeNumbering) {
  const std::uint16_t before = Adapter().RequestCounter();
  for (const std::size_t size : {std::size_t{8200}, std::size_t{70000}}) {
    RequestExchange exchange(Adapter(), Gate());
    PutData16(exchange.BeginBody(), std::string(size, 'x'));
    EXPECT_EQ(exchange.NumberRequest(), kTextTooLong) << size;
  }
  {
    RequestExchange exchange(Adapter(), Gate());
    PutData16(exchange.BeginBody(), std::string(8184 - 6 - 2, 'x'));  // exactly fills the frame
    EXPECT_EQ(exchange.NumberRequest(), kOk);
  }
  EXPECT_EQ(Adapter().RequestCounter(), 2);
  EXPECT_NE(before, 0);
}

// No active session: 3007 before the limits, nothing logged.
TEST_F(ExchangeTest, GateWithoutSessionGivesNoSessionFirst) {
  const int unknown = Gate() + 7;
  const std::string logBefore = LogText();
  EXPECT_EQ(MakeCall(Adapter(), "1", "2", k33, "", "", "", "", unknown), kNoSession);
  EXPECT_EQ(HoldCall(Adapter(), kAgentDn, 1, unknown), kNoSession);
  EXPECT_EQ(AddDevice(Adapter(), kAgentDn, 1, 0, unknown), kNoSession);
  EXPECT_TRUE(Requests().empty());
  EXPECT_EQ(LogText(), logBefore);
}

}  // namespace
}  // namespace vomtel::test
