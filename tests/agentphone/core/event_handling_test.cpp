// The event control's events against the core: sequences of events with their property
// values, and the state, the commands and the screen pops they leave.
#include <functional>

#include "core_fixture.h"

namespace agentphone::test {
namespace {

using Props = std::map<DISPID, std::string>;

struct Ev {
  int32_t kind;
  Props props;
};

// The agent is on extension 1001; the caller is 02-1234-5678.
Ev Delivered(const char* call, std::string uei = "", std::string queue = "") {
  return {4, {{telxevt::CallRefID, call}, {telxevt::MonitorParty, "1001"},
              {telxevt::OtherParty, "0212345678"}, {telxevt::uei, uei},
              {telxevt::queueDN, queue}}};
}
Ev Established(const char* call, std::string other = "0212345678") {
  return {6, {{telxevt::CallRefID, call}, {telxevt::MonitorParty, "1001"},
              {telxevt::OtherParty, other}, {telxevt::cnid, "77"},
              {telxevt::TimeStamp, "2026/12/10 15:01:02"}}};
}
Ev Cleared(const char* call, const char* party) {
  return {3, {{telxevt::CallRefID, call}, {telxevt::MonitorParty, "1001"},
              {telxevt::OtherParty, party}}};
}
Ev Held(const char* call) { return {8, {{telxevt::CallRefID, call}, {telxevt::MonitorParty, "1001"}}}; }
Ev Originated(const char* call) {
  return {10, {{telxevt::CallRefID, call}, {telxevt::MonitorParty, "1001"}}};
}
Ev Transferred(const char* call, const char* cause) {
  return {14, {{telxevt::CallRefID, call}, {telxevt::MonitorParty, "1001"},
               {telxevt::ThirdPartyCause, cause}}};
}

const std::string kUrl =
    "http://rec/tpw/vlg.vlgCustomFieldUpdateByApLumorJson.ajax?CNID= 77&CUST_ID= ";
const std::string kUei12 = "0^1^2^3^4^REG5^6^7^8^9^10^11";
const std::string kUei11 = "0^1^2^3^4^REG5^6^7^8^9^10";

struct Sequence {
  const char* name;
  bool autoReady;
  std::function<void(Globals&)> before;  // may be empty
  std::vector<Ev> events;
  const char* caption;
  std::vector<std::string> commands;  // sent to the main control, in order
  std::vector<std::string> pops;      // screen pops other than SetRecordingData
  std::function<void(const Globals&, const Display&)> check;  // may be empty
};

const std::vector<Sequence>& Sequences() {
  static const std::vector<Sequence> kSequences = {
      {"inbound call, automatic ready", true, {},
       {Delivered("5001", "a^b", "1101"), Established("5001"), Cleared("5001", " 1001 ")},
       "대기", {"READY"}, {},
       [](const Globals& g, const Display& d) {
         EXPECT_EQ(g.gCALLID, 5001);
         EXPECT_EQ(g.gACTDEVICE, "1001");
         EXPECT_EQ(g.gCNID, "77");
         EXPECT_EQ(g.gSTARTYEAR + g.gSTARTMONTH + g.gSTARTDAY, "20261210");
         EXPECT_EQ(d.sAninum, "02-1234-5678");  // kept by READY
         EXPECT_EQ(g.gCONSULT, 0);
       }},
      // Without the database AFTERCALLWORK goes straight back to ready.
      {"inbound call, after-call work", false, {},
       {Delivered("5001"), Established("5001"), Cleared("5001", "1001")},
       "후처리", {"AFTERCALLWORK", "READY"}, {}, {}},
      {"delivered shows the answer button", true, {}, {Delivered("5001")}, "통화중", {}, {},
       [](const Globals&, const Display& d) {
         EXPECT_EQ(d[Button::ImgAnswer].picture, Picture::ImgAnswerOn);
         EXPECT_TRUE(d[Button::ImgAnswer].enabled);
       }},
      {"consultation placed, delivered and established", true,
       [](Globals& g) { g.gCONSULT = 1; },
       {Delivered("5001", kUei12), Established("5001"), Originated("6001"), Delivered("6001"),
        Established("6001", "2002")},
       "통화중", {}, {},
       [](const Globals& g, const Display& d) {
         EXPECT_EQ(d.sAninum, "");  // the consultation partner is not shown
         EXPECT_EQ(d[Button::ImgTransfer].picture, Picture::ImgTransferOn);
         EXPECT_TRUE(d[Button::ImgTransfer].enabled);
         EXPECT_EQ(d[Button::ImgConference].picture, Picture::ImgConferenceOn);
         EXPECT_TRUE(d[Button::ImgConference].enabled);
         EXPECT_EQ(d[Button::ImgReConnect].picture, Picture::ImgReConnectOn);
         EXPECT_EQ(g.gACTCALLID, 6001);
       }},
      {"the consultation's call shows CONSULT", true, [](Globals& g) { g.gCONSULT = 1; },
       {Originated("6001"), Delivered("6001")}, "통화중", {}, {},
       [](const Globals& g, const Display& d) {
         EXPECT_TRUE(d[Button::ImgReConnect].enabled);
         EXPECT_FALSE(d[Button::ImgAnswer].enabled);
         EXPECT_EQ(g.gCALLID, 6001);
       }},
      {"originated names only the current call", true, {},
       {Established("5001"), Originated("6001")}, "통화중", {}, {},
       [](const Globals& g, const Display&) {
         EXPECT_EQ(g.gCALLID, 6001);
         EXPECT_EQ(g.gACTCALLID, 5001);
       }},
      {"transferred with cause 1 ends the call", true, {},
       {Established("5001"), Transferred("5001", "1")}, "대기", {"READY"}, {}, {}},
      {"transferred with cause 1 keeps the consultation flag", true,
       [](Globals& g) { g.gCONSULT = 1; }, {Transferred("5001", "1.0")}, "대기", {"READY"}, {},
       [](const Globals& g, const Display&) {
         EXPECT_EQ(g.gCONSULT, 1);
         EXPECT_EQ(g.gCALLID, 0);  // the call variables are not moved either
       }},
      {"transferred with another cause only moves the call", true, {},
       {Established("5001"), Transferred("7001", "0")}, "통화중", {}, {},
       [](const Globals& g, const Display&) {
         EXPECT_EQ(g.gCALLID, 7001);
         EXPECT_EQ(g.gACTCALLID, 7001);
       }},
      {"conferenced shows CBUSY", true, {},
       {Established("5001"), {2, {{telxevt::CallRefID, "8001"}, {telxevt::MonitorParty, "1001"}}}},
       "통화중", {}, {},
       [](const Globals& g, const Display& d) {
         EXPECT_EQ(g.gACTCALLID, 8001);
         EXPECT_TRUE(d[Button::ImgConference].enabled);
         EXPECT_EQ(d[Button::ImgConference].picture, Picture::ImgConferenceOff);
         EXPECT_FALSE(d[Button::ImgHold].enabled);
       }},
      {"conference: another party's clear shows BUSY, the agent's own changes nothing", true,
       [](Globals& g) {
         g.gCONFERENCE = true;
         g.gCONSULT = 1;
       },
       {Cleared("5001", "2002"), Cleared("5001", "1001")}, "통화중", {}, {},
       [](const Globals& g, const Display& d) {
         EXPECT_EQ(g.gCONSULT, 0);
         EXPECT_TRUE(d[Button::ImgHangUp].enabled);  // BUSY
         EXPECT_EQ(g.gCALLID, 0);                    // call variables left alone
       }},
      {"another party's clear outside a conference changes nothing", true, {},
       {Established("5001"), Cleared("5001", "2002")}, "통화중", {}, {}, {}},
      {"hold, then the consultation partner clears", true, {},
       {Established("5001"), Held("5001"), Originated("6001"), Cleared("6001", "2002")},
       "보류중", {}, {},
       [](const Globals& g, const Display&) {
         EXPECT_EQ(g.gCALLID, 5001);
         EXPECT_EQ(g.gACTCALLID, 5001);
         EXPECT_EQ(g.gACTDEVICE, "1001");
         EXPECT_EQ(g.gHELDFLAG, 0);
       }},
      {"hold, retrieve, clear", true, {},
       {Established("5001"), Held("5001"), {12, {{telxevt::MonitorParty, "1001"}}},
        Cleared("5001", "1001")},
       "대기", {"READY"}, {},
       [](const Globals& g, const Display&) { EXPECT_EQ(g.gHELDFLAG, 0); }},
      {"outbound by 9 with a customer key pops the page", true,
       [](Globals& g) { g.gCUSTKEY = "CK1"; }, {Established("5001", "901012345678")}, "통화중",
       {}, {"OutBoundScreenpopup(," + kUrl + ",CK1,901012345678)"},
       [](const Globals& g, const Display& d) {
         EXPECT_EQ(g.gOUTNUMBER, "901012345678");
         EXPECT_EQ(d.sAninum, "010-1234-5678");
       }},
      {"outbound by 8 without a customer key pops nothing", true, {},
       {Established("5001", "80212345678")}, "통화중", {}, {},
       [](const Globals& g, const Display& d) {
         EXPECT_EQ(g.gOUTNUMBER, "80212345678");
         EXPECT_EQ(d.sAninum, "02-1234-5678");
       }},
      {"eight characters keep their first digit", true, [](Globals& g) { g.gCUSTKEY = "CK1"; },
       {Established("5001", "91234567")}, "통화중", {}, {},
       [](const Globals& g, const Display& d) {
         EXPECT_EQ(g.gOUTNUMBER, "");
         EXPECT_EQ(d.sAninum, "9123-4567");
       }},
      {"an inbound UEI keeps the outbound page shut", true, [](Globals& g) { g.gCUSTKEY = "CK1"; },
       {Delivered("5001", "a^b^c^d"), Established("5001", "901012345678")}, "통화중", {}, {}, {}},
      {"UEI of 12 fields pops the customer", true, {},
       {Delivered("5001", kUei12, "1107"), Established("5001")}, "통화중", {},
       {"Screenpopup(REG5," + kUrl + ",0212345678,0776)"}, {}},
      {"UEI of 11 fields pops nothing", true, {},
       {Delivered("5001", kUei11, "1107"), Established("5001")}, "통화중", {}, {}, {}},
      {"a non-numeric CallRefID ends only that event", true, {},
       {Delivered("5001"), Established("call-7"), Cleared("5001", "1001")}, "대기", {"READY"},
       {},
       [](const Globals& g, const Display& d) {
         EXPECT_EQ(g.gCALLID, 5001);
         EXPECT_EQ(d.sAninum, "");  // the established event was not handled
       }},
      {"not ready takes the event's reason", true, {},
       {{203, {{telxevt::reasoncode, "2"}}}}, "교육", {"READY"}, {},
       [](const Globals& g, const Display&) { EXPECT_EQ(g.gREASONCODE, 2); }},
      {"agent-state events mirror the server", true, {},
       {{202, {}}, {201, {}}, {206, {}}, {204, {}}}, "대기", {"READY"}, {}, {}},
      {"999: every server gone shows the logged-out state", true, {}, {{999, {}}}, "로그아웃",
       {"CLOSESERVERHA"}, {},
       [](const Globals&, const Display& d) {
         EXPECT_TRUE(d[Button::imgLogIn].enabled);
         EXPECT_EQ(d[Button::imgLogIn].picture, Picture::ImgLogInOn);
         EXPECT_FALSE(d[Button::ImgReady].enabled);
         EXPECT_FALSE(d[Button::ImgMakeCall].enabled);
       }},
      {"other kinds change nothing but the monitored party", true, {},
       {{5, {{telxevt::MonitorParty, "1001"}}}, {205, {}}, {253, {}}, {998, {}},
        {102, {{telxevt::MonitorParty, "X9"}}}},
       "대기", {}, {},
       [](const Globals& g, const Display&) { EXPECT_EQ(g.gMONITORPARTY, "X9"); }},
  };
  return kSequences;
}

class EventHandlingTest : public CoreFixture {};

TEST_F(EventHandlingTest, SequencesLeaveTheirStateCommandsAndPops) {
  for (const Sequence& s : Sequences()) {
    SCOPED_TRACE(s.name);
    phone_.reset();
    telx_.Reset();
    pops_.calls.clear();
    ReadyAgent(s.autoReady);
    if (s.before) s.before(G());
    for (const Ev& e : s.events) Event(e.kind, e.props);
    EXPECT_EQ(D().sStatue, s.caption);
    EXPECT_EQ(Commands(), s.commands);
    std::vector<std::string> pops;
    for (const std::string& c : pops_.calls) {
      if (!c.starts_with("SetRecordingData")) pops.push_back(c);
    }
    EXPECT_EQ(pops, s.pops);
    if (s.check) s.check(G(), D());
  }
}

TEST_F(EventHandlingTest, QueueNumbersAreMapped) {
  const std::pair<const char*, const char*> kQueues[] = {
      {"1105", "0006"}, {"1106", "0006"}, {"1107", "0776"}, {"1108", "0776"},
      {"1101", "0038"}, {"1102", "0038"}, {"1103", "0038"}, {"1104", "0038"},
      {"1109", "1109"}, {" 1101", " 1101"}, {"", ""}};
  ReadyAgent();
  for (const auto& [queue, code] : kQueues) {
    Ev e = Delivered("5001", "", queue);
    Event(e.kind, e.props);
    EXPECT_EQ(G().gQUEUECODE, code) << queue;
  }
}

TEST_F(EventHandlingTest, EstablishedNotifiesTheRecordingAndLogs) {
  ReadyAgent();
  Ev d = Delivered("5001", "a^b");
  Event(d.kind, d.props);
  Ev e = Established("5001");
  Event(e.kind, e.props);
  EXPECT_EQ(pops_.calls, std::vector<std::string>{"SetRecordingData()"});
  const std::string log = LogText();
  EXPECT_NE(log.find("] : [EVENT orbaEK_Delivered]a^b-5001\r\n"), std::string::npos);
  EXPECT_NE(log.find("] : [EVENT orbaEK_Established]a^b-5001\r\n"), std::string::npos);
}

TEST_F(EventHandlingTest, ServerDownIsLoggedAndItsGateClosed) {
  ReadyAgent();
  telx_.numbers[telx::GateId] = 3;
  Event(999);
  const auto closes = telx_.CallsOf(telx::vomtelCloseServerX);
  ASSERT_EQ(closes.size(), 1u);
  EXPECT_EQ(closes[0].args.at(0).i4, 3);
  EXPECT_NE(LogText().find("] : [EVENT orbaEK_CCSEDown] CTI server down, logged out\r\n"),
            std::string::npos);
}

TEST_F(EventHandlingTest, AFaultInsideTheHandlerIsLoggedAndTheNextEventHandled) {
  ReadyAgent();
  Event(4, {{telxevt::CallRefID, "abc"}, {telxevt::MonitorParty, "1001"}});
  EXPECT_EQ(G().gMONITORPARTY, "1001");
  EXPECT_EQ(D().sStatue, "대기");
  EXPECT_NE(LogText().find("[EVENT ERROR] 4 : CallRefID is not a number: \"abc\""),
            std::string::npos);

  // A property read that fails.
  evt_.failures[telxevt::reasoncode] = E_FAIL;
  Event(203);
  EXPECT_EQ(D().sStatue, "대기");
  EXPECT_NE(LogText().find("[EVENT ERROR] 203 : reasoncode failed (0x80004005)"),
            std::string::npos);
  evt_.failures.clear();

  Ev e = Delivered("5002");
  Event(e.kind, e.props);
  EXPECT_EQ(G().gCALLID, 5002);
  EXPECT_EQ(D().sStatue, "통화중");
}

}  // namespace
}  // namespace agentphone::test
