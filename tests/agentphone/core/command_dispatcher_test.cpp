#include <climits>

#include "core_fixture.h"

namespace agentphone::test {
namespace {

class DispatcherTest : public CoreFixture {
 protected:
  DispatcherTest() {
    Phone();
    Globals& g = G();
    g.gAGENTDN = " 1001 ";
    g.gAGENTID = " agent1 ";
    g.gAGENTDATA = "100";
    g.gAGENTGROUP = "101";
    g.gCALLID = 11;
    g.gMONITORPARTY = "1001";
    g.gHELDCALLID = 22;
    g.gHELDDEVICE = "2002";
    g.gACTCALLID = 33;
    g.gACTDEVICE = "3003";
    g.gREASONCODE = 2;
    g.gINVOKEID = 5;
    Phone().SetAgentIdText("agent1");
    phone_->ufButtonSet("LOGIN");
    telx_.Reset();
  }

  // One argument as text: "&name" for a reference to a known variable, else "i4:", "i2:",
  // "r8:", "s:" and the value.
  std::string Describe(const RecordedArg& a) {
    Globals& g = G();
    const std::map<const void*, std::string> vars = {
        {&g.gGATEID, "gGATEID"},       {&g.gINVOKEID, "gINVOKEID"},
        {&g.gCALLID, "gCALLID"},       {&g.gHELDCALLID, "gHELDCALLID"},
        {&g.gACTCALLID, "gACTCALLID"}, {&g.gREASONCODE, "gREASONCODE"},
    };
    if (a.vt == (VT_BYREF | VT_I4)) {
      auto it = vars.find(a.ref);
      return it == vars.end() ? "&?i4" : "&" + it->second;
    }
    if (a.vt == (VT_BYREF | VT_BSTR)) return "&" + a.text;  // by reference: its variable's text
    if (a.vt == VT_I4) return "i4:" + std::to_string(a.i4);
    if (a.vt == VT_I2) return "i2:" + std::to_string(a.i4);
    if (a.vt == VT_R8) return "r8:" + std::to_string(static_cast<long>(a.r8));
    if (a.vt == VT_BSTR) return "s:" + a.text;
    return "?";
  }
  std::string Describe(const RecordedCall& c) {
    std::string out;
    for (const RecordedArg& a : c.args) {
      if (!out.empty()) out += ' ';
      out += Describe(a);
    }
    return out;
  }
};

struct PlainCase {
  const char* word;
  DISPID method;
  const char* args;  // after "&gGATEID &gINVOKEID"
};

// Texts by reference show their variable's text: the operands are UUI "u", UEI "e",
// CallingNo "02-123 4567", CI "c"; gMONITORPARTY "1001", gHELDDEVICE "2002", gACTDEVICE "3003",
// gAGENTDATA "100", gAGENTGROUP "101". The caller-number panel shows "010-1234 5678".
const PlainCase kPlain[] = {
    {"CLEARCONNECTION", 140, "&gCALLID &1001 s:"},
    {"MAKECALL", 138, "s:1001 s:021234567 &u s: s: &e &c s:"},
    {"ANSWERCALL", 139, "&gCALLID &1001 s:"},
    {"HOLD", 141, "&gCALLID &1001"},
    {"RETRIVAL", 142, "&gHELDCALLID &2002"},
    {"CONSULTATIONCONFERENCE", 143, "&gACTCALLID &3003 &02-123 4567 i4:1 &u s: s: &e &c s:"},
    {"CONSULTATIONCONFERENCEPASS", 143, "&gACTCALLID &3003 s:6004 i4:1 &u s: s: &e &c s:"},
    {"TRANSFER", 144, "&gHELDCALLID &2002 &gACTCALLID s:01012345678 s:"},
    {"CONFERENCE", 145, "&gHELDCALLID &2002 &gACTCALLID &3003 s:"},
    {"READY", 147, "s:1001 i4:3 s:agent1 &100 &101 i4:0 i4:0"},
    {"LOGOUT", 147, "s:1001 i4:1 s:agent1 &100 &101 i4:0 i4:0"},
    {"LOGIN", 147, "s:1001 i4:0 s:agent1 &100 &101 i4:0 i4:0"},
    {"NOTREADY", 147, "s:1001 i4:2 s:agent1 &100 &101 &gREASONCODE i4:0"},
    {"OTHERWORK", 147, "s:1001 i4:4 s:agent1 &100 &101 i4:0 i4:0"},
    {"AFTERCALLWORK", 147, "s:1001 i4:5 s:agent1 &100 &101 i4:0 i4:0"},
    {"RECONNECT", 165, "&gHELDCALLID &2002 &gACTCALLID s:1001 s:"},
    {"SingleStepTransfer", 146, "&gCALLID &1001 &02-123 4567 i4:1 s: s: s: &e s:"},
    {"CONSULTATIONCALL", 143, "&gACTCALLID &3003 &02-123 4567 i4:0 &u s: s: &e &c s:"},
    {"onestepconference", 164, "&gACTCALLID s:1001 s:01012345678 s:0 s: s: s:"},
    {"CLOSESERVER", 135, ""},
    {"CLOSESERVERHA", 153, ""},
};

TEST_F(DispatcherTest, EveryCommandWordCallsItsMethodWithItsArguments) {
  for (const PlainCase& c : kPlain) {
    SCOPED_TRACE(c.word);
    telx_.Reset();
    evt_.Reset();
    telx_.numbers[telx::GateId] = 9;
    Phone().ufButtonSet("LOGIN");
    const_cast<Display&>(D()).sAninum = "010-1234 5678";
    telx_.results[c.method] = {42};
    const int32_t before = G().gINVOKEID;
    std::string word = c.word, uui = "u", uei = "e", number = "02-123 4567", ci = "c";
    EXPECT_EQ(Phone().Call_Function(word, uui, uei, number, ci), 42);
    EXPECT_EQ(word, c.word);
    ASSERT_EQ(telx_.calls.size(), 2u);
    EXPECT_EQ(telx_.calls[0].id, telx::GateId);  // the gate is refreshed first
    EXPECT_EQ(G().gGATEID, 9);
    const RecordedCall& m = telx_.calls[1];
    EXPECT_EQ(m.id, c.method);
    EXPECT_EQ(m.flags, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    EXPECT_EQ(Describe(m), std::string("&gGATEID &gINVOKEID") + (*c.args ? " " : "") + c.args);
    EXPECT_EQ(m.args[1].i4, before);           // the counter as it was at the call
    EXPECT_EQ(G().gINVOKEID, before + 1);      // and one step after it
    EXPECT_TRUE(evt_.calls.empty());
  }
}

TEST_F(DispatcherTest, TheSameVariablePassesTheSameAddress) {
  std::string word = "CONSULTATIONCALL", uui = "x", uei = "x", number = "1234", ci = "x";
  Phone().Call_Function(word, uui, uei, number, ci);
  const RecordedCall m = telx_.CallsOf(telx::vomtelconsultationcall).at(0);
  // uui, ueidata and cidata are three variables of equal text: three addresses
  EXPECT_NE(m.args[6].ref, m.args[9].ref);
  EXPECT_NE(m.args[9].ref, m.args[10].ref);
  std::string same = "x";
  std::string w2 = "CONSULTATIONCALL";
  Phone().Call_Function(w2, same, same, number, same);
  const RecordedCall m2 = telx_.CallsOf(telx::vomtelconsultationcall).at(1);
  EXPECT_EQ(m2.args[6].ref, m2.args[9].ref);
  EXPECT_EQ(m2.args[9].ref, m2.args[10].ref);
}

TEST_F(DispatcherTest, OpenServerUsesTheBuiltInServer) {
  G().gCTIIP = "1.1.1.1";  // from [CTIINFO], ignored by OPENSERVER
  G().gCTIPORT = "5000";
  telx_.results[telx::vomtelopenserver] = {1};
  const int32_t before = G().gINVOKEID;
  EXPECT_EQ(Phone().Call_Function("OPENSERVER"), 1);
  std::vector<std::string> seen;
  for (const RecordedCall& c : telx_.calls) {
    seen.push_back(std::to_string(c.id) + (c.flags == DISPATCH_PROPERTYPUT ? "=" : "") + Describe(c));
  }
  EXPECT_EQ(seen, (std::vector<std::string>{
                      "6=i2:1", "7=s:TRUE", "8=s:C:\\\\softphone", "6", "2=s:10.9.8.7",
                      "9=s:10.9.8.7", "3=i2:4", "5=r8:9709", "4=s:1001", "154"}));
  EXPECT_EQ(G().gGATEID, 1);
  EXPECT_EQ(G().gCTIIP, "10.9.8.7");
  EXPECT_EQ(G().gCTIPORT, "9709");
  EXPECT_EQ(G().gINVOKEID, before);  // no step for the opens
}

TEST_F(DispatcherTest, OpenServerHaUsesTheSettingsFileAndLogs) {
  G().gCTIIP = "1.1.1.1";
  G().gbkCTIIP = "2.2.2.2";
  G().gCTIPORT = "5000";
  Phone().Call_Function("OPENSERVERHA");
  std::vector<std::string> seen;
  for (const RecordedCall& c : telx_.calls) {
    seen.push_back(std::to_string(c.id) + (c.flags == DISPATCH_PROPERTYPUT ? "=" : "") + Describe(c));
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"6=i2:1", "7=s:TRUE", "8=s:C:\\\\", "6",
                                            "2=s:1.1.1.1", "9=s:2.2.2.2", "3=i2:4", "5=r8:5000",
                                            "4=s:1001", "152"}));
  EXPECT_NE(LogText().find("gCTIIP= 1.1.1.1 gbkCTIIP = 2.2.2.2 gAGENTDN =  1001 \r\n"),
            std::string::npos);
}

TEST_F(DispatcherTest, MonitorStartAndStopDriveTheEventControl) {
  telx_.numbers[telx::GateId] = 4;
  std::string word = "MONITORSTART", a, b, c, d;
  EXPECT_EQ(Phone().Call_Function(word, a, b, c, d), 1);
  EXPECT_EQ(word, "TIMERSTART");
  ASSERT_EQ(evt_.calls.size(), 2u);
  EXPECT_EQ(evt_.calls[0].id, telxevt::opengate);
  ASSERT_EQ(evt_.calls[0].args.size(), 1u);
  EXPECT_EQ(evt_.calls[0].args[0].vt, VT_I4);  // the gate by value
  EXPECT_EQ(evt_.calls[0].args[0].i4, 4);
  EXPECT_EQ(evt_.calls[1].id, telxevt::starttimer);

  evt_.Reset();
  word = "MONITORSTOP";
  EXPECT_EQ(Phone().Call_Function(word, a, b, c, d), 1);
  EXPECT_EQ(word, "TIMERSTOP");
  ASSERT_EQ(evt_.calls.size(), 1u);
  EXPECT_EQ(evt_.calls[0].id, telxevt::stoptimer);
}

TEST_F(DispatcherTest, AFailedMonitorCommandLeavesTheEventControlAloneAndStillCounts) {
  for (const char* w : {"MONITORSTART", "MONITORSTOP"}) {
    SCOPED_TRACE(w);
    evt_.Reset();
    telx_.results[telx::vomtelmonitorstart] = {3014};
    telx_.results[telx::vomtelmonitorstop] = {3014};
    const int32_t before = G().gINVOKEID;
    std::string word = w, a, b, c, d;
    EXPECT_EQ(Phone().Call_Function(word, a, b, c, d), 3014);
    EXPECT_EQ(word, w);
    EXPECT_TRUE(evt_.calls.empty());
    EXPECT_EQ(G().gINVOKEID, before + 1);
  }
}

TEST_F(DispatcherTest, UnknownWordsCallNothing) {
  for (const char* w : {"", "makecall", "MAKECALL ", "Ready", "TIMERSTART"}) {
    SCOPED_TRACE(w);
    const int32_t before = G().gINVOKEID;
    EXPECT_EQ(Phone().Call_Function(w), 0);
    EXPECT_TRUE(telx_.calls.empty());
    EXPECT_EQ(G().gINVOKEID, before);
  }
}

TEST_F(DispatcherTest, AFaultReturnsZeroOrTheStoredResultAndLogs) {
  telx_.failures[telx::vomtelmakecall] = DISP_E_TYPEMISMATCH;
  EXPECT_EQ(Phone().Call_Function("MAKECALL", "", "", "1234", ""), 0);
  EXPECT_NE(LogText().find("[Call_Function ERROR] MAKECALL : vomtelmakecall failed (0x80020005)"),
            std::string::npos);

  telx_.failures.clear();
  telx_.failures[telx::GateId] = E_FAIL;
  EXPECT_EQ(Phone().Call_Function("READY"), 0);
  EXPECT_EQ(telx_.Count(telx::vomtelsetfeatureagentstatus), 0u);

  // The method's result came back before the event control failed: that result is returned.
  telx_.failures.clear();
  evt_.failures[telxevt::opengate] = E_FAIL;
  std::string word = "MONITORSTART", a, b, c, d;
  EXPECT_EQ(Phone().Call_Function(word, a, b, c, d), 1);
  EXPECT_NE(LogText().find("[Call_Function ERROR] MONITORSTART : opengate failed"), std::string::npos);
}

TEST_F(DispatcherTest, TheInvokeCounterWraps) {
  G().gINVOKEID = INT32_MAX;
  telx_.results[telx::vomtelanswercall] = {1};
  EXPECT_EQ(Phone().Call_Function("ANSWERCALL"), 1);
  EXPECT_EQ(G().gINVOKEID, INT32_MIN);
  EXPECT_EQ(Phone().Call_Function("ANSWERCALL"), 1);
  EXPECT_EQ(G().gINVOKEID, INT32_MIN + 1);
}

TEST_F(DispatcherTest, ReadyGetListsBothGroups) {
  readyAgents_[0] = {{"kim", 1002}, {"lee", 1003}};
  readyAgents_[1] = {{"park", 2001}};
  G().gREADYLIST = "old^";
  G().gREADYCOUNT = 9;
  telx_.results[telx::vomtelagentreadyget] = {2, 1};
  const int32_t before = G().gINVOKEID;
  EXPECT_EQ(Phone().Call_Function("ReadyGet"), 1);  // the second group's result
  EXPECT_EQ(G().gREADYLIST, "kim|1002|0|30^lee|1003|0|30^park|2001|0|30^");
  EXPECT_EQ(G().gREADYCOUNT, 3);
  EXPECT_EQ(G().gINVOKEID, before + 2);
  auto calls = telx_.CallsOf(telx::vomtelagentreadyget);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(Describe(calls[0]), "&gGATEID &gINVOKEID i4:100 i4:0 i4:100");
  EXPECT_EQ(Describe(calls[1]), "&gGATEID &gINVOKEID i4:200 i4:0 i4:100");

  readyAgents_[0].clear();
  readyAgents_[1].clear();
  telx_.results[telx::vomtelagentreadyget] = {5, 7};
  EXPECT_EQ(Phone().Call_Function("ReadyGet"), 7);
  EXPECT_EQ(G().gREADYLIST, "");
  EXPECT_EQ(G().gREADYCOUNT, 0);
}

}  // namespace
}  // namespace agentphone::test
