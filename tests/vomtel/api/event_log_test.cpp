// The log texts of the decoder, one golden text per family, and the labels that differ
// between events.
#include <gtest/gtest.h>

#include <string>

#include "event_test_frames.h"
#include "vomtel/api/event_decoder.h"

namespace vomtel::test {
namespace {

EventLogTexts LogOf(const FrameBytes& bytes, std::uint8_t version) {
  EventRecord record;
  const Stream frame = MakeFrame(bytes);
  return DecodeEvent(frame, {version, 3, LocalTimeNow}, record);
}

EventLogTexts LogOfCase(const std::string& name) {
  for (const EventCase& c : AllEventCases()) {
    if (name == c.name) return LogOf(c.frame, c.version);
  }
  ADD_FAILURE() << "no case " << name;
  return {};
}

const std::string kHead = "time [2026/12/10 09:08:07], event[";
const std::string kTail = "], svrid[3], pbxtype[4], callkind[5]\n";
const std::string kSuccess = "GetEvent Return orbaSuccess\n";

struct Golden {
  const char* name;
  EventLogTexts texts;
};

TEST(EventLogTest, GoldenTextPerFamily) {
  const Golden goldens[] = {
      {"delivered elsewhere",
       {"vomtelGetEvent-evtDelivered : gate [3], " + kHead + "4" + kTail +
            "\t\tCNID\t\t[N-1]-[0]\n"
            "\t\tctype\t\t[0]\n"
            "\t\tmonitorParty\t[5001]\n"
            "\t\tmonitorID\t[77]\n"
            "\t\tUUI\t\t[uu]\n\t\tcallRefId\t\t[1234]\n"
            "\t\teventCause\t[-10]\n"
            "\t\tlocalConnState\t[3]\n"
            "\t\tucid\t\t[UC-1]\n"
            "\t\totherParty\t[5009]\n"
            "\t\totherPartyCause\t[2]\n"
            "\t\totherPartyType\t[4]\n"
            "\t\tthirdParty\t[031111****]\n"
            "\t\tthirdPartyCause\t[5]\n"
            "\t\tthirdPartyType\t[5]\n"
            "\t\tcalledParty\t[5009]\n"
            "\t\tcalledPartyType\t[6]\n"
            "\t\tqueueDN\t\t[Q9]\n"
            "\t\tqueueWait\t[0]\n"
            "\t\tUEILen\t[3]\n"
            "\t\tUEIData\t[uei]\n"
            "\t\tCILen\t[2]\n"
            "\t\tCIData\t[ci]",
        kSuccess}},
      {"forwarding",
       {"vomtelGetEvent-evtForwarding : gate [3], " + kHead + "103" + kTail +
            "\t\tmonitorParty\t[5001]\n\t\tmonitorID\t[77]\n\t\tforwardType\t[2]\n"
            "\t\tforwardDn\t\t[7000]",
        kSuccess}},
      {"logged off",
       {"vomtelGetEvent-evtLoggedOff : gate [3], " + kHead + "202" + kTail +
            "\t\tmonitorParty\t[5001]\n\t\tmonitorID\t[77]\n\t\tagentid\t[A100]\n"
            "\t\tagentGroup\t[G1]\n\t\tworkMode\t[6]\n\t\treasoncode\t[2]",
        kSuccess}},
      {"password confirmation, number",
       {"vomtelGetEvent-evtPwdConfirm : gate [3], " + kHead + "253" + kTail +
            "\t\tmonitorParty\t[-1]\n\t\tmonitorID\t[0]\n\t\tagentid\t[]\n\t\tagentGroup\t[]\n"
            "\t\treasoncode\t[4]\n\t\tUEILen\t\t[2]\n\t\tUEIData\t\t[pw]",
        kSuccess}},
      {"251 becomes 998", {"<OrbaAdapter::Event>id[251]", kSuccess}},
      {"pop-up",
       {"vomtelGetEvent-evt_Popup : gate [3]" + kHead + "200" + kTail +
            "\t\tcusttel\t\t[0]\n\t\tcpid\t[12]\n\t\tcpseq\t[13]\n\t\tUEILENTH\t\t[7]\n"
            "       UEI\t\t    [ueidata] \n       script      [15] \n       wait     [16] \n"
            "       gap       [17] \n       enum_cmMode      [18]\n"
            "       enum_callkind      [19]\n       token_id      [14]\n"
            "       employee_id      [E7]",
        kSuccess}},
      {"IVR pop-up",
       {"vomtelGetEvent-orbaSE_IVRPopup : gate [3]" + kHead + "200" + kTail +
            "\t\tCallRefId\t\t[55]\n\t\tmonitorParty\t[5001]\n\t\totherParty\t[0101234****]\n"
            "\t\tagentId\t\t[A100]\n       UUI\t\t    [uu] \n       UEILen      [7] \n"
            "       UEIData     [ueidata] \n       CILen       [6] \n       CIData      [cidata]",
        kSuccess}},
      {"get max CPSQ",
       {"vomtelGetEvent-evt_GetMaxCPSQ : gate [3]" + kHead + "200" + kTail +
            "\t\tgate\t\t\t[7]\n\t\tinvoke\t\t\t[8]\n\t\tciod\t\t\t[9]\n\t\tcampaign\t\t[10]",
        kSuccess}},
      {"list notice", {kSuccess}},
      {"sub-code 0x16B", {kSuccess}},
  };
  for (const Golden& g : goldens) {
    SCOPED_TRACE(g.name);
    EXPECT_EQ(LogOfCase(g.name), g.texts);
  }
}

// Labels and endings that set single events apart.
TEST(EventLogTest, IrregularLabelsAndEndings) {
  struct Expect {
    const char* name;
    const char* part;
  };
  const Expect expects[] = {
      {"diverted", "\t\tucid\t[]\n\t\totherParty\t["},
      {"queued", "\t\tucid [UC-1]\n\t\totherParty\t["},
      {"held with an empty party", "\t\tucid\t\t[]\n\t\totherParty\t[]\n\t\totherPartyCause\t[0]"},
      {"conferenced", "\t\tucid\t\t[]\n\t\tsecOldCallRefId\t[12]\n\t\totherParty\t[5002]\n"},
      {"logged on", "\t\tagentid\t\t[A100]\n"},
      {"originated", "\t\toriginatingParty\t[5004]"},
  };
  for (const Expect& e : expects) {
    SCOPED_TRACE(e.name);
    const EventLogTexts log = LogOfCase(e.name);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_NE(log[0].find(e.part), std::string::npos) << log[0];
  }
  // The service-initiated log ends with its last common line closed in full.
  const EventLogTexts initiated = LogOfCase("service initiated");
  ASSERT_EQ(initiated.size(), 2u);
  EXPECT_TRUE(initiated[0].ends_with("\t\tlocalConnState\t[3]\n\t\tucid\t\t[UC-1]\n"));
}

TEST(EventLogTest, LongNumbersAreMaskedWhereTheLogSaysSo) {
  const std::string number = "01012345678";
  const std::string masked = "0101234****";
  // The monitored device is masked in the call events and three feature events only.
  const FrameBytes call = Event(12, Frame().PutStr8(number));
  EXPECT_NE(LogOf(call, 0)[0].find("\t\tmonitorParty\t[" + masked + "]"), std::string::npos);
  for (std::uint8_t code : {102, 103, 105, 106, 107, 201}) {
    const FrameBytes feature = Event(code, Frame().PutStr8(number));
    const bool isMasked = code == 102 || code == 103 || code == 105;
    EXPECT_NE(LogOf(feature, 0)[0].find("\t\tmonitorParty\t[" + (isMasked ? masked : number)),
              std::string::npos)
        << int{code};
  }
  // The selected target shows its own device in full, the others masked.
  const FrameBytes target =
      Event(200, Frame().PutU32(212).PutU32(1).PutStr8(number).PutStr8(number).PutStr8(number));
  const std::string text = LogOf(target, 0)[0];
  EXPECT_NE(text.find("monitorParty\t[" + number + "]\n\t\totherParty\t[" + masked +
                      "]\n"
                      "\t\tcalledParty\t\t[" +
                      masked + "]"),
            std::string::npos);
}

}  // namespace
}  // namespace vomtel::test
