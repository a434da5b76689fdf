// Every request operation against the simulator: the bytes it receives (written out here from
// the request tables), the frame head, the request number, the result word handed back as the
// server gave it, and the request and outcome log texts.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "call_gate.h"
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

using ctisim::Bytes;

constexpr std::uint32_t kResultWord = 70001;  // not 1: the server's word must come back as it is

struct RequestCase {
  const char* name;
  std::uint8_t cls;
  std::uint8_t code;
  std::function<int(OrbaAdapter&, int)> run;
  Bytes body;           // after the session id and the request number
  std::string request;  // the request log text; <n> stands for the request number
  std::string outcome;  // the outcome line; "" when not checked
  bool sessionNumbered = false;  // device requests: numbered by the session's own counter
};

void PrintTo(const RequestCase& c, std::ostream* os) { *os << c.name; }

std::string WithNumber(std::string text, std::uint16_t number) {
  for (std::size_t at; (at = text.find("<n>")) != std::string::npos;) {
    text.replace(at, 3, std::to_string(number));
  }
  return text;
}

const RequestCase kCases[] = {
    {"MakeCall", 0x41, 0x65,
     [](OrbaAdapter& a, int g) { return MakeCall(a, "1001", "01012345678", "", "", "", "", "", g); },
     {0x04, '1', '0', '0', '1', 0x0B, '0', '1', '0', '1', '2', '3', '4', '5', '6', '7', '8', 0x00,
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
     "vomtelMakeCall: gate[0] Inv[<n>]\n\t\tcallingDN\t\t[1001]\n\t\tcalledDN\t\t[0101234****]"
     "\n\t\tUUI\t         \t[]\n\t\taccCode\t\t[]\n\t\tauthCode\t\t[]",
     " vomtelMakeCall [result][invoke] : [70001][<n>]\n"},
    {"ObservationCall", 0x41, 0x65,
     [](OrbaAdapter& a, int g) { return ObservationCall(a, "1001", "2002", "", "", "", "", "", g); },
     Body().PutStr8("1001").PutStr8("2002").PutZeros(3).PutU16(0).PutU16(0).PutU8(1).Take(), "",
     " vomtelObservationCall [result][invoke] : [70001][<n>]\n"},
    {"ObservationTalkCall", 0x41, 0x65,
     [](OrbaAdapter& a, int g) {
       return ObservationTalkCall(a, "1001", "2002", "", "", "", "", "", g);
     },
     Body().PutStr8("1001").PutStr8("2002").PutZeros(3).PutU16(0).PutU16(0).PutU8(2).Take(), "",
     " vomtelObservationTalkCall [result][invoke] : [70001][<n>]\n"},
    {"WhisperCall", 0x41, 0x65,
     [](OrbaAdapter& a, int g) {
       return WhisperCall(a, "1001", "2002", "u", "ac", "au", "UE", "C", g);
     },
     Body().PutStr8("1001").PutStr8("2002").PutStr8("u").PutStr8("ac").PutStr8("au")
         .PutStr16("UE").PutStr16("C").PutU8(3).Take(),
     "vomtelWhisperCall: gate[0] Inv[<n>]\n\t\tCallingDN\t\t[1001]\n\t\tCalledDN\t\t[2002]"
     "\n\t\tUUI\t         \t[u]\n\t\taccCode\t         \t[ac]\n\t\tauthCode\t\t\t\t     \t[au]",
     " vomtelWhisperCall [result][invoke] : [70001][<n>]\n"},
    {"AnswerCall", 0x41, 0x14,
     [](OrbaAdapter& a, int g) { return AnswerCall(a, "1001", 4294967295u, g); },
     {0xFF, 0xFF, 0xFF, 0xFF, 0x04, '1', '0', '0', '1'},
     "vomtelAnswerCall: gate[0] Inv[<n>]\n\t\tcallID\t\t[4294967295]\n\t\tcalledDN\t\t[1001]"
     "\n\t\tUUI\t         \t[0]",
     " vomtelAnswerCall [result][invoke] : [70001][<n>]\n"},
    {"ClearConnectionCall", 0x41, 0x28,
     [](OrbaAdapter& a, int g) { return ClearConnectionCall(a, "2001", 0x12345678, g); },
     {0x12, 0x34, 0x56, 0x78, 0x04, '2', '0', '0', '1', 0x00, 0x00, 0x00}, "",
     " vomtelClearConnectionCall [result][invoke] : [70001][<n>]\n"},
    {"HoldCall", 0x41, 0x5A, [](OrbaAdapter& a, int g) { return HoldCall(a, "1234567", 7, g); },
     {0x00, 0x00, 0x00, 0x07, 0x07, '1', '2', '3', '4', '5', '6', '7', 0x00},
     "vomtelHoldCall: gate[0] Inv[<n>]\n\t\tcall\t\t[7]\n\t\tDN\t\t[123****]"
     "\n\t\tType\t         \t[0]",
     " vomtelHoldCall [result][invoke] : [70001][<n>]\n"},
    {"RetrieveCall", 0x41, 0x78, [](OrbaAdapter& a, int g) { return RetrieveCall(a, "1001", 7, g); },
     {0x00, 0x00, 0x00, 0x07, 0x04, '1', '0', '0', '1', 0x00}, "",
     " vomtelRetrieveCall [result][invoke] : [70001][<n>]\n"},
    {"ConsultationCall", 0x41, 0x3C,
     [](OrbaAdapter& a, int g) {
       return ConsultationCall(a, "1001", 0xFFFFFFFB, "2002", "u", "ac", "au", "UE", "C", g);
     },
     Body().PutU32(0xFFFFFFFB).PutStr8("1001").PutStr8("2002").PutU8(0).PutStr8("u").PutStr8("ac")
         .PutStr8("au").PutStr16("UE").PutStr16("C").Take(),
     "vomtelConsultationCall: gate[0] Inv[<n>]\n\t\tCall\t\t[-5]\n\t\tDN\t\t[1001]"
     "\n\t\tcalledDN\t\t[2002]\n\t\tUEI\t\t[UE]",
     " vomtelConsultationCall [result][invoke] : [70001][<n>]\n"},
    {"TransferCall", 0x41, 0x82,
     [](OrbaAdapter& a, int g) { return TransferCall(a, "1234567", 0xFFFFFFFF, "7654321", 0x80000000, g); },
     Body().PutU32(0xFFFFFFFF).PutStr8("1234567").PutU8(0).PutU32(0x80000000).PutStr8("7654321").PutU8(0).Take(),
     "vomtelTransferCall: gate[0] Inv[<n>]\n\t\theldCall\t\t[-1]\n\t\theldDN\t\t[123****]"
     "\n\t\theldType\t\t[0]\n\t\tactiveCall\t\t[-2147483648]\n\t\tactiveDN\t\t[765****]"
     "\n\t\tactiveType\t\t[0]",
     " vomtelTransfer [result][invoke] : [70001][<n>]\n"},
    {"ConferenceCall", 0x41, 0x32,
     [](OrbaAdapter& a, int g) { return ConferenceCall(a, "1001", 1, "2002", 2, g); },
     Body().PutU32(1).PutStr8("1001").PutU8(0).PutU32(2).PutStr8("2002").PutU8(0).Take(), "",
     " vomtelConferenceCall [result][invoke] : [70001][<n>]\n"},
    {"ReconnectCall", 0x41, 0x6E,
     [](OrbaAdapter& a, int g) { return ReconnectCall(a, "1001", 1, "2002", 2, g); },
     Body().PutU32(1).PutStr8("1001").PutU8(0).PutU32(2).PutStr8("2002").PutU8(0).Take(), "",
     " vomtelReconnectCall [result][invoke] : [70001][<n>]\n"},
    {"AlternateCall", 0x41, 0x0A,
     [](OrbaAdapter& a, int g) { return AlternateCall(a, "1234567", 1, "7654321", 2, g); },
     Body().PutU32(1).PutStr8("1234567").PutU8(0).PutU32(2).PutStr8("7654321").PutU8(0).Take(),
     "vomtelAlternateCall: gate[0] Inv[<n>]\n\t\theldCall\t\t[1]\n\t\theldDN\t\t[1234567]"
     "\n\t\theldType\t\t[0]\n\t\tactiveCall\t\t[2]\n\t\tactiveDN\t\t[7654321]"
     "\n\t\tactiveType\t\t[0]",
     " vomtelAlternateCall [result][invoke] : [70001][<n>]\n"},
    {"SingleStepTransfer", 0x41, 0xAC,
     [](OrbaAdapter& a, int g) {
       return SingleStepTransfer(a, "1001", "2002", 0xFFFFFFF7, 258, "u", "UE", "C", g);
     },
     Body().PutU32(0xFFFFFFF7).PutStr8("1001").PutU8(0).PutStr8("2002").PutU8(2).PutStr8("u").PutU8(0)
         .PutU8(0).PutStr16("UE").PutStr8("C").Take(),
     "vomtelSingleStepTransfer: gate[0] Inv[<n>]\n\t\tCall\t\t[-9]\n\t\tDN\t\t[1001]"
     "\n\t\theldType\t\t[0]\n\t\tcalledDN\t\t[2002]\n\t\tmode\t\t[2]\n\t\tUUI\t\t[u]"
     "\n\t\taccCode\t\t[]\n\t\tauthCode\t\t[]\n\t\tUEI\t\t[UE]\n\t\tCI\t\t[C]",
     " vomtelSingleStepTransfer [result][invoke] : [70001][<n>]\n"},
    {"SingleStepConference", 0x41, 0xAD,
     [](OrbaAdapter& a, int g) {
       return SingleStepConference(a, "1001", "2002", 0xFFFFFFF7, 1, "u", "UE", "C", g);
     },
     Body().PutU32(0xFFFFFFF7).PutStr8("1001").PutStr8("2002").PutU8(1).PutStr8("u").PutU8(0).PutU8(0)
         .PutStr16("UE").PutStr8("C").Take(),
     "vomtelSingleStepConference: gate[0] Inv[<n>]\n\t\tCall\t\t[-9]\n\t\tDN\t\t[1001]"
     "\n\t\theldType\t\t[0]\n\t\tcalledDN\t\t[2002]\n\t\tmode\t\t[1]\n\t\tUEI\t\t[UE]",
     " vomtelSingleStepConference [result][invoke] : [70001][<n>]\n"},
    {"DivertDeflect", 0x41, 0x51,
     [](OrbaAdapter& a, int g) { return DivertDeflect(a, "1001", 0xFFFFFFFF, "2002", "u", "", "", g); },
     {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x04, '1', '0', '0', '1', 0x00,
      0x04, '2', '0', '0', '2', 0x01, 'u', 0x00, 0x00, 0x00, 0x00, 0x00, 0x51},
     "vomtelDivertDeflect: gate[0] Inv[<n>]\n\t\tCall\t\t[4294967295]\n\t\tDN\t\t[1001]"
     "\n\t\tType\t         \t[0]\n\t\tdivertDn\t         \t[2002]\n\t\tUUI\t\t\t\t     \t[u]",
     " vomtelDivertDeflect [result][invoke] : [70001][<n>]\n"},
    {"DivertDirect", 0x41, 0x53,
     [](OrbaAdapter& a, int g) { return DivertDirect(a, "1001", 4, "12345678", "", "UE", "C", g); },
     Body().PutU32(0).PutU16(0).PutU32(4).PutStr8("1001").PutU8(0).PutStr8("12345678")
         .PutStr8("").PutStr16("UE").PutStr16("C").PutU8(0).PutU8(0x53).Take(),
     "vomtelDivertDirect: gate[0] Inv[<n>]\n\t\tCall\t\t[4]\n\t\tDN\t\t[1001]"
     "\n\t\tType\t         \t[0]\n\t\tdivertedDn\t         \t[1234****]\n\t\tUUI\t\t\t\t     \t[]",
     " vomtelDivertDirect [result][invoke] : [70001][<n>]\n"},
    {"SendDTMF", 0x41, 0xA0,
     [](OrbaAdapter& a, int g) { return SendDTMF(a, "1001", 3, "123#", -1, 100, g); },
     {0x00, 0x00, 0x00, 0x03, 0x04, '1', '0', '0', '1', 0x04, '1', '2', '3', '#', 0xFF, 0xFF,
      0xFF, 0xFF, 0x00, 0x00, 0x00, 0x64},
     "vomtelSendDTMF: gate[0] Inv[<n>]\n\t\tCall\t\t[3]\n\t\tDN\t\t[1001]\n\t\tType\t         \t[0]"
     "\n\t\tDTMFdigits\t         \t[123#]\n\t\tToneDuration\t         \t[-1]"
     "\n\t\tPauseDuration\t\t\t\t     \t[100]",
     " vomtelSendDTMF [result][invoke] : [70001][<n>]\n"},
    {"SetFeatureAutoAnswer", 0x41, 0xE2,
     [](OrbaAdapter& a, int g) { return SetFeatureAutoAnswer(a, "1001", 1, g); },
     {0x04, '1', '0', '0', '1', 0x01}, "",
     " vomtelSetFeatureAutoAnswer [result][invoke] : [70001][<n>]\n"},
    {"SetFeatureSpeakerMute", 0x41, 0xE4,
     [](OrbaAdapter& a, int g) { return SetFeatureSpeakerMute(a, "1001", 0, g); },
     {0x04, '1', '0', '0', '1', 0x00}, "",
     " vomtelSetFeatureSpeakerMute [result][invoke] : [70001][<n>]\n"},
    {"SetFeatureMicrophoneMute", 0x41, 0xE3,
     [](OrbaAdapter& a, int g) { return SetFeatureMicrophoneMute(a, "1001", 1, g); },
     {0x04, '1', '0', '0', '1', 0x01},
     "vomtelSetFeatureMicrophoneMute: gate[0] Inv[<n>]\n\t\tDN\t\t[1001]\n\t\tmicmuteMode\t\t[1]",
     " vomtelSetFeatureMicroPhoneMute [result][invoke] : [70001][<n>]\n"},
    {"SetFeatureForward", 0x41, 0xDE,
     [](OrbaAdapter& a, int g) { return SetFeatureForward(a, "1001", 2, 1, "", g); },
     {0x04, '1', '0', '0', '1', 0x02, 0x01, 0x00},
     "vomtelSetFeatureForward: gate[0] Inv[<n>]\n\t\tDN\t\t[1001]\n\t\tforwardMode\t\t[2]"
     "\n\t\tforwardOn\t\t[1]\n\t\tforwardDn\t\t[]",
     " vomtelSetFeatureForward [result][invoke] : [70001][<n>]\n"},
    {"SetFeatureDND", 0x41, 0xDF,
     [](OrbaAdapter& a, int g) { return SetFeatureDND(a, "1001", 257, g); },
     {0x04, '1', '0', '0', '1', 0x01},
     "vomtelSetFeatureDND: gate[0] Inv[<n>]\n\t\tDN\t\t[1001]\n\t\tDNDMode\t\t[1]",
     " vomtelSetFeatureDND [result][invoke] : [70001][<n>]\n"},
    {"AgentStatus", 0x41, 0xDD,
     [](OrbaAdapter& a, int g) {
       return AgentStatus(a, "1001", "agent7", "grp", "part", 256, 2, 3, g);
     },
     Body().PutStr8("1001").PutU8(0).PutStr8("agent7").PutStr8("grp").PutStr8("part").PutU8(2)
         .PutU8(3).Take(),
     "vomtelAgentStatus: gate[0] Inv[<n>]\n\t\tDN\t\t[1001]\n\t\tagentMode\t\t[0]"
     "\n\t\tagentId\t\t[agent7]\n\t\tagentPart\t\t[part]\n\t\tagentGroup\t\t[grp]"
     "\n\t\treasoncode\t\t[2]\n\t\tworkMode\t\t[3]",
     " vomtelAgentStatus [result][invoke] : [70001][<n>]\n"},
    {"AddDevice", 0x45, 0x0A, [](OrbaAdapter& a, int g) { return AddDevice(a, "1001", 258, 1, g); },
     {0x02, 0x01, 0x04, '1', '0', '0', '1'},
     "vomtelAddDevice: gate[0] Inv[<n>]\n\t\tdType\t\t[258]\n\t\text\t\t[1]\n\t\tDn\t\t[1001]",
     "vomtelAddDevice [result][invoke] : [70001][<n>]\n", true},
    {"RemoveDevice", 0x45, 0x50, [](OrbaAdapter& a, int g) { return RemoveDevice(a, "1001", g); },
     {0x04, '1', '0', '0', '1'}, "vomtelRemoveDevice: gate[0] Inv[<n>]\n\t\tDn\t\t[1001]",
     "vomtelRemoveDevice [result][invoke] : [70001][<n>]\n", true},
};

class RequestBytes : public CallGate, public ::testing::WithParamInterface<RequestCase> {};

TEST_P(RequestBytes, SentAsTabledAndAnswered) {
  const RequestCase& c = GetParam();
  ctisim::ReplyRule rule;
  rule.result = kResultWord;
  Sim().SetRule(c.cls, c.code, rule);
  const std::uint16_t before = Adapter().RequestCounter();

  EXPECT_EQ(c.run(Adapter(), Gate()), static_cast<int>(kResultWord));

  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 1u);
  const ctisim::Request& sent = requests[0];
  EXPECT_EQ(sent.cls, c.cls);
  EXPECT_EQ(sent.code, c.code);
  EXPECT_EQ(sent.version, kVersion);
  EXPECT_EQ(sent.word, kHeaderWord);
  EXPECT_EQ(sent.session_id, kSessionId);
  ASSERT_GE(sent.body.size(), 6u);
  EXPECT_EQ(ctisim::Hex(Bytes(sent.body.begin() + 6, sent.body.end())), ctisim::Hex(c.body));

  // A fresh adapter: its first request carries 2. The device requests carry the session's
  // own counter and show the adapter's number without advancing it.
  const std::uint16_t logged = c.sessionNumbered ? before : 2;
  EXPECT_EQ(Adapter().RequestCounter(), logged);
  if (!c.sessionNumbered) {
    EXPECT_EQ(sent.number, 2);
  }
  const std::string log = LogText();
  if (!c.request.empty()) {
    EXPECT_NE(log.find("] " + WithNumber(c.request, logged) + "\n"), std::string::npos) << log;
  }
  EXPECT_NE(log.find(WithNumber(c.outcome, logged)), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(Operations, RequestBytes, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vomtel::test
