// Monitor, call-control and phone-feature methods, called as the agent program calls them
// (gate, invoke and call ids by reference, device texts by reference or by value).
#include <gtest/gtest.h>

#include "request_case.h"

namespace vomtelx::test {
namespace {

// The host's variables that it passes by reference.
struct HostVariables {
  std::int32_t gate = 2;
  std::int32_t invoke = 7;
  std::int32_t callId = 12;
  vomcom::Bstr deviceText{"4001"};
  BSTR device = deviceText.Get();
  vomcom::Bstr uuiText{"uui-1"};
  BSTR uui = uuiText.Get();
};

const std::string kLongDevice = "123456789012345678901234567890";  // 30 characters
const std::string kLongUei(1100, 'u');

void ExpectGateAndInvoke(const fake::Call& c) {
  EXPECT_EQ(c.Int(0), 2);
  EXPECT_EQ(c.Int(1), 7);
}

void ExpectCall(const fake::Call& c, std::size_t i, std::int32_t callId, const std::string& device) {
  const ConnectionId id = c.Record<ConnectionId>(i);
  EXPECT_EQ(id.CallId, callId);
  EXPECT_EQ(DeviceOf(c, i), device);
  EXPECT_TRUE(AllZero(c.Bytes(i), 4 + device.size()));
}

void ExpectUserData(const fake::Call& c, std::size_t i, const std::string& text) {
  const UserDataBlock b = c.Record<UserDataBlock>(i);
  EXPECT_EQ(b.Length, static_cast<std::int32_t>(text.size()));
  EXPECT_EQ(FieldText(b.Text), text);
}

void ExpectEmptyPrivate(const fake::Call& c, std::size_t i) {
  ASSERT_EQ(c.Bytes(i).size(), sizeof(PrivateDataBlock));
  EXPECT_TRUE(AllZero(c.Bytes(i)));
}

class CallsTest : public MainControlTest {
 protected:
  Variant Gate() { return Variant::ByRef(&host_.gate); }
  Variant Invoke() { return Variant::ByRef(&host_.invoke); }
  Variant CallId() { return Variant::ByRef(&host_.callId); }
  Variant Device() { return Variant::ByRef(&host_.device); }
  Variant Uui() { return Variant::ByRef(&host_.uui); }
  HostVariables host_;
};

TEST_F(CallsTest, CallAndFeatureMethodsReachTheirExports) {
  const std::vector<RequestCase> cases = {
      {"MonitorStart", 136, {Gate(), Invoke()}, "vomtelMonitorStart", ExpectGateAndInvoke, 1,
       {"vomtelMonitorStart ..........! "}},
      {"MonitorStop", 137, {Gate(), Invoke()}, "vomtelMonitorStop", ExpectGateAndInvoke, 3014,
       {"vomtelMonitorStop ..........! "},
       [](MainControlTest& t) { t.Script("vomtelMonitorStop", Result(3014)); }},
      {"MakeCall", 138,
       {Gate(), Invoke(), Variant("4001"), Variant("01012345678"), Uui(), Variant(""), Variant(""),
        Variant(kLongUei), Variant("ci-data"), Variant("private")},
       "vomtelMakeCall",
       [](const fake::Call& c) {
         ExpectGateAndInvoke(c);
         EXPECT_EQ(c.Text(2), "4001");
         EXPECT_EQ(c.Text(3), "01012345678");
         EXPECT_EQ(c.Text(4), "uui-1");
         EXPECT_EQ(c.Text(5), "");
         EXPECT_EQ(c.Text(6), "");
         EXPECT_NE(c.Pointer(7), nullptr);
         ExpectUserData(c, 8, kLongUei.substr(0, 1027));
         ExpectUserData(c, 9, "ci-data");
         const PrivateDataBlock p = c.Record<PrivateDataBlock>(10);
         EXPECT_TRUE(AllZero(c.Bytes(10).substr(0, 32)));
         EXPECT_EQ(p.Length, 7);
         EXPECT_EQ(FieldText(p.Text), "private");
       },
       1, {"vomtelMakeCall ..........! "}},
      {"MakeCallCaughtException", 138,
       {Gate(), Invoke(), Variant("4001"), Variant("0"), Variant(""), Variant(""), Variant(""),
        Variant(""), Variant(""), Variant("")},
       "vomtelMakeCall", nullptr, 0, {"vomtelMakeCall ..........! "},
       [](MainControlTest& t) { t.Script("vomtelMakeCall", Throws("no memory")); }},
      {"AnswerKeepsTwentyFourDeviceBytes", 139, {Gate(), Invoke(), CallId(), Variant(kLongDevice), Variant("pri")},
       "vomtelAnswerCall",
       [](const fake::Call& c) {
         ExpectCall(c, 2, 12, kLongDevice.substr(0, 24));
         ExpectEmptyPrivate(c, 3);
       },
       3013, {"vomtelanswercall ..........! "},
       [](MainControlTest& t) { t.Script("vomtelAnswerCall", Result(3013)); }},
      {"Clear", 140, {Gate(), Invoke(), CallId(), Device(), Variant("pri")}, "vomtelClearConnection",
       [](const fake::Call& c) {
         ExpectCall(c, 2, 12, "4001");
         ExpectEmptyPrivate(c, 3);
       },
       1, {"vomtelclearconnection ..........! "}},
      {"Hold", 141, {Gate(), Invoke(), CallId(), Device()}, "vomtelHoldCall",
       [](const fake::Call& c) {
         ExpectCall(c, 2, 12, "4001");
         EXPECT_EQ(c.Int(3), 48);
         ExpectEmptyPrivate(c, 4);
       },
       1, {"vomtelholdcall ..........! "}},
      {"Retrieve", 142, {Gate(), Invoke(), CallId(), Device()}, "vomtelRetrieveCall",
       [](const fake::Call& c) { ExpectCall(c, 2, 12, "4001"); }, 1,
       {"vomtelretrievecall setting start callid : 12", "vomtelretrievecall device set: 4001",
        "vomtelretrievecall pri    set", "vomtelretrievecall setting stop callid : 12"}},
      {"Consultation", 143,
       {Gate(), Invoke(), CallId(), Device(), Variant("4005"), Variant(1), Uui(), Variant("acc"),
        Variant("auth"), Variant("uei-data"), Variant("ci-data"), Variant("")},
       "vomtelConsultationCall",
       [](const fake::Call& c) {
         ExpectCall(c, 2, 12, "4001");
         EXPECT_EQ(c.Text(3), "4005");
         EXPECT_NE(c.Pointer(4), nullptr);
         EXPECT_EQ(c.Text(5), "uui-1");
         EXPECT_EQ(c.Text(6), "acc");
         EXPECT_EQ(c.Text(7), "auth");
         EXPECT_NE(c.Pointer(8), nullptr);
         ExpectUserData(c, 9, "uei-data");
         EXPECT_TRUE(c.IsNull(10));
         EXPECT_TRUE(c.IsNull(11));
       },
       1,
       {"vomtelconsultationcall setting start callid : 12", "vomtelconsultationcall device set: 4001",
        "vomtelconsultationcall uei    set: uei-data", "vomtelconsultationcall setting stop callid : 12"}},
      {"ConsultationExceptionWithItsMessage", 143,
       {Gate(), Invoke(), CallId(), Device(), Variant("4005"), Variant(0), Uui(), Variant(""),
        Variant(""), Variant(""), Variant(""), Variant("")},
       "vomtelConsultationCall", nullptr, 0,
       {"vomtelconsultationcall setting start callid : 12", "vomtelconsultationcall device set: 4001",
        "vomtelconsultationcall uei    set: ", "vomtelconsultationcall setting stop callid : 12",
        "vomtelconsultationcall CException: out of resources"},
       [](MainControlTest& t) { t.Script("vomtelConsultationCall", Throws("out of resources")); }},
      {"Transfer", 144, {Gate(), Invoke(), CallId(), Device(), Variant(13), Variant("4005"), Variant("")},
       "vomtelTransferCall",
       [](const fake::Call& c) {
         ExpectCall(c, 2, 12, "4001");
         ExpectCall(c, 3, 13, "4005");
         EXPECT_NE(c.Pointer(4), nullptr);
         EXPECT_TRUE(c.IsNull(5));
         EXPECT_TRUE(c.IsNull(6));
       },
       1, {"vomteltransfercall Start..........! ", "vomteltransfercall End..........! "}},
      {"Conference", 145, {Gate(), Invoke(), CallId(), Device(), Variant(13), Variant("4005"), Variant("")},
       "vomtelConferenceCall",
       [](const fake::Call& c) {
         ExpectCall(c, 2, 12, "4001");
         ExpectCall(c, 3, 13, "4005");
       },
       1,
       {"vomtelconferencecall Start ..........! ", "vomtelconferencecall gate[2]",
        "vomtelconferencecall invoke[7]", "vomtelconferencecall heldCallID[12]",
        "vomtelconferencecall heldDevice[4001]", "vomtelconferencecall activeCallID[13]",
        "vomtelconferencecall activeDevice[4005]", "vomtelconferencecall End ..........! "}},
      {"SingleStepTransfer", 146,
       {Gate(), Invoke(), CallId(), Device(), Variant("4005"), Variant(1), Variant(""),
        Variant("acc"), Variant("auth"), Variant("uei"), Variant("")},
       "vomtelSingleStepTransfer",
       [](const fake::Call& c) {
         ExpectCall(c, 2, 12, "4001");
         EXPECT_EQ(c.Text(3), "4005");
         EXPECT_EQ(c.Int(4), 1);
         EXPECT_NE(c.Pointer(5), nullptr);
         EXPECT_EQ(c.Text(7), "acc");
         EXPECT_EQ(c.Text(8), "auth");
         ExpectUserData(c, 9, "uei");
         ExpectUserData(c, 10, "");
       },
       1, {"vomtelsinglesteptransfer ..........! "}},
      {"AgentState", 147,
       {Gate(), Invoke(), Variant("4001"), Variant(2), Variant("agent7"), Variant("100"),
        Variant("101"), Variant::ByRef(&host_.callId), Variant(0)},
       "vomtelSetFeatureAgentStatus",
       [](const fake::Call& c) {
         EXPECT_EQ(c.Text(2), "4001");
         EXPECT_EQ(c.Int(3), 2);
         EXPECT_EQ(c.Text(4), "agent7");
         EXPECT_EQ(c.Text(5), "100");
         EXPECT_EQ(c.Text(6), "101");
         EXPECT_EQ(c.Int(7), 12);
         EXPECT_EQ(c.Int(8), 0);
         EXPECT_TRUE(c.IsNull(9));
       },
       1, {"vomtelsetfeatureagentstatus ..........! "}},
      {"Dtmf", 148, {Gate(), Invoke(), CallId(), Device(), Variant("123#"), Variant(100), Variant(50)},
       "vomtelSendDTMF",
       [](const fake::Call& c) {
         ExpectCall(c, 2, 12, "4001");
         EXPECT_EQ(c.Text(3), "123#");
         EXPECT_EQ(c.Int(4), 100);
         EXPECT_EQ(c.Int(5), 50);
       },
       1, {"vomtelsenddtmf ..........! "}},
      {"DoNotDisturbCarriesPrivateData", 149, {Gate(), Invoke(), Variant("4001"), Variant(1), Variant("pd")},
       "vomtelSetFeatureDND",
       [](const fake::Call& c) {
         EXPECT_EQ(c.Int(3), 1);
         const PrivateDataBlock p = c.Record<PrivateDataBlock>(4);
         EXPECT_EQ(p.Length, 2);
         EXPECT_EQ(FieldText(p.Text), "pd");
       },
       1, {"vomtelsetfeaturednd ..........! "}},
      {"OneStepConference", 164,
       {Gate(), Invoke(), CallId(), Variant("4001"), Variant("4005"), Variant("0"), Variant("u"),
        Variant("c"), Variant("p")},
       "vomtelOneStepConference",
       [](const fake::Call& c) {
         ExpectCall(c, 2, 12, "4001");
         EXPECT_EQ(c.Text(3), "4005");
         EXPECT_NE(c.Pointer(4), nullptr);
         EXPECT_EQ(c.Text(5), "0");
         ExpectUserData(c, 7, "u");
         ExpectUserData(c, 8, "c");
         ExpectEmptyPrivate(c, 9);
       },
       3013, {"vomtelonestepconference ..........! "},
       [](MainControlTest& t) { t.Script("vomtelOneStepConference", Result(3013)); }},
      {"Reconnect", 165, {Gate(), Invoke(), Variant(5), Device(), Variant(6), Variant("4001"), Variant("")},
       "vomtelReconnectCall",
       [](const fake::Call& c) {
         ExpectCall(c, 2, 5, "4001");
         ExpectCall(c, 3, 6, "4001");
         EXPECT_TRUE(c.IsNull(4));
       },
       1, {"vomtelreconnectcall setting start heldcallid : 5"}},
      {"UserExInfo", 166, {Gate(), Invoke(), Variant(12), Variant("uei")}, "vomtelUserExInfoData",
       [](const fake::Call& c) {
         EXPECT_EQ(c.Int(2), 12);
         ExpectUserData(c, 3, "uei");
       },
       1, {"vomteluserexinfodata ..........! "}},
      {"PasswordConfirm", 167, {Gate(), Invoke(), Variant(4001), Variant(1), Variant("pw")},
       "vomtelPwdConfirm",
       [](const fake::Call& c) {
         EXPECT_EQ(c.Int(2), 4001);
         EXPECT_EQ(c.Int(3), 1);
         ExpectUserData(c, 4, "pw");
       },
       1, {"vomtelpwdconfirm ..........! "}},
      {"Forward", 185, {Gate(), Invoke(), Variant("4001"), Variant(1), Variant(1), Variant("4009")},
       "vomtelSetFeatureForward",
       [](const fake::Call& c) {
         EXPECT_EQ(c.Text(5), "4009");
         EXPECT_TRUE(c.IsNull(6));
       },
       1,
       {"vomtelsetfeatureforward   ", "vomtelsetfeatureforward   gate[2]",
        "vomtelsetfeatureforward   invoke[7]", "vomtelsetfeatureforward   device[4001]",
        "vomtelsetfeatureforward   forwardmode[1]", "vomtelsetfeatureforward   forwardon[1]",
        "vomtelsetfeatureforward   forwarddn[4009]"}},
      {"BlockingEx", 186,
       {Gate(), Invoke(), Variant("agent7"), Variant(30), Variant(9), Variant("camp"), Variant(2)},
       "vomtelSetAgentBlockingEx",
       [](const fake::Call& c) {
         EXPECT_EQ(c.Text(2), "agent7");
         EXPECT_EQ(c.Int(3), 30);
         EXPECT_EQ(c.Int(4), 9);
         EXPECT_EQ(c.Text(5), "camp");
         EXPECT_EQ(c.Int(6), 2);
         EXPECT_TRUE(AllZero(c.Bytes(7)));
       },
       1,
       {"vomtelsetagentblockingex   ", "vomtelsetagentblockingex   gate[2]",
        "vomtelsetagentblockingex   invoke[7]", "vomtelsetagentblockingex   agentid[agent7]",
        "vomtelsetagentblockingex   btime[30]", "vomtelsetagentblockingex   campaignid[9]",
        "vomtelsetagentblockingex   campaignname[camp]", "vomtelsetagentblockingex   nsource[2]"}},
      {"OneStepTransferGivesTheLibrarysDoNothing", 188,
       {Gate(), Invoke(), CallId(), Variant("4001"), Variant("4005"), Variant("u"), Variant("e"),
        Variant("c")},
       "vomtelOneStepTransfer",
       [](const fake::Call& c) {
         ExpectCall(c, 2, 12, "4001");
         EXPECT_EQ(c.Text(3), "4005");
         EXPECT_EQ(c.Text(4), "u");
         ExpectUserData(c, 6, "e");
         ExpectUserData(c, 7, "c");
         EXPECT_TRUE(c.IsNull(8));
       },
       2018,
       {"vomtelonesteptransfer   ", "vomtelonesteptransfer   gate[2]",
        "vomtelonesteptransfer   invoke[7]", "vomtelonesteptransfer   callid[12]",
        "vomtelonesteptransfer   callingdevice[*]", "vomtelonesteptransfer   callingdevice[4001]",
        "vomtelonesteptransfer   calleddevice[*]", "vomtelonesteptransfer   calleddevice[4005]"},
       [](MainControlTest& t) { t.Script("vomtelOneStepTransfer", Result(2018)); }},
      {"DivertDeflect", 189,
       {Gate(), Invoke(), CallId(), Variant("4001"), Variant("4010"), Variant("u"), Variant("e"),
        Variant("c"), Variant("p")},
       "vomtelDivertDeflect",
       [](const fake::Call& c) {
         ExpectCall(c, 2, 12, "4001");
         EXPECT_EQ(c.Text(3), "4010");
         ExpectUserData(c, 5, "e");
         EXPECT_TRUE(c.IsNull(7));
       },
       1,
       {"vomtelDivertDeflect   ", "vomtelDivertDeflect   gate[2]", "vomtelDivertDeflect   invoke[7]",
        "vomtelDivertDeflect   callid[12]", "vomtelDivertDeflect   callingdevice[4001]",
        "vomtelDivertDeflect   divertDn[4010]"}},
      {"MicrophoneMuteCaughtException", 195, {Gate(), Invoke(), Variant("4001"), Variant(1)},
       "vomtelSetFeatureMicrophoneMute", nullptr, 0,
       {"vomtelSetFeatureMicrophoneMuteX ..........! ", "vomtelSetFeatureMicrophoneMuteX CException"},
       [](MainControlTest& t) { t.Script("vomtelSetFeatureMicrophoneMute", Throws("x")); }},
      {"SingleStepConference", 196,
       {Gate(), Invoke(), CallId(), Variant("4001"), Variant("4005"), Variant(2), Variant("u"),
        Variant("a"), Variant("b"), Variant("e"), Variant("c")},
       "vomtelSingleStepConference",
       [](const fake::Call& c) {
         EXPECT_EQ(c.Int(2), 12);
         EXPECT_EQ(c.Text(3), "4001");
         EXPECT_EQ(c.Int(5), 2);
         EXPECT_EQ(c.Text(7), "a");
         EXPECT_EQ(c.Text(8), "b");
         EXPECT_NE(c.Pointer(9), nullptr);
         ExpectUserData(c, 10, "e");
         ExpectUserData(c, 11, "c");
       },
       1, {"vomtelsinglestepconferencex ..........! "}},
      {"SpeakerMute", 199, {Gate(), Invoke(), Variant("4001"), Variant(0)},
       "vomtelSetFeatureSpeakerMute", [](const fake::Call& c) { EXPECT_EQ(c.Text(2), "4001"); }, 1,
       {"vomtelSetFeatureSpeakerMuteX ..........! "}},
      {"ConferenceXCallsNothing", 161,
       {Variant(2), Invoke(), Variant(3), Variant("4001"), Variant(std::int16_t{4}), Device(), Variant()},
       nullptr, nullptr, 0,
       {"vomtelconferencecallX ..........!", "vomtelconferencecallX ..........! gate.vt[3]",
        "vomtelconferencecallX ..........! invoke.vt[16387]",
        "vomtelconferencecallX ..........! heldCallID.vt[3]",
        "vomtelconferencecallX ..........! heldDevice.vt[8]",
        "vomtelconferencecallX ..........! activeCallID.vt[2]",
        "vomtelconferencecallX ..........! activeDevice.vt[16392]",
        "vomtelconferencecallX ..........! gate[2]", "vomtelconferencecallX ..........! invoke[7]",
        "vomtelconferencecallX ..........! heldCallID[3]",
        "vomtelconferencecallX ..........! activeCallID[4]",
        "vomtelconferencecallX ..........! heldDevice.vt[4001]",
        "vomtelconferencecallX ..........! activeDevice.vt[4001]"}},
      {"SingleStepConferenceOldCallsNothing", 163,
       {Gate(), Invoke(), CallId(), Variant("4001"), Variant("4005"), Variant(1)}, nullptr, nullptr, 0},
      {"TestFunction", 192, {Variant(5)}, nullptr, nullptr, 1, {"TestFuncTion11 ..........! id[5] "}},
  };
  RunRequestTable(*this, cases, lines_);
}

TEST_F(CallsTest, MonitorStartWithoutHandlerLetsAnExceptionReachTheHost) {
  Script("vomtelMonitorStart", Throws("socket gone"));
  EXPECT_EQ(Call(136, {Gate(), Invoke()}), DISP_E_EXCEPTION);
  EXPECT_NE(lastException_.find("socket gone"), std::string::npos);
}

TEST_F(CallsTest, KoreanDeviceIsCutOnACharacterBoundary) {
  // 13 two-byte characters: 26 bytes in the desk's code page; 24 bytes keep 12 of them.
  const std::string korean = "가나다라마바사아자차카타파";
  ASSERT_EQ(CallLong(139, {Gate(), Invoke(), CallId(), Variant(korean), Variant("")}), 1);
  const fake::Call& c = Calls().at(0);
  const std::string device = DeviceOf(c, 2);
  EXPECT_EQ(device.size(), 24u);
  EXPECT_EQ(vomcom::Bstr::FromNarrow(device.c_str(), device.size()).Utf8(), "가나다라마바사아자차카타");
}

}  // namespace
}  // namespace vomtelx::test
