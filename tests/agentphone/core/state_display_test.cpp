#include "core_fixture.h"

namespace agentphone::test {
namespace {

struct WordCase {
  const char* word;
  const char* caption;  // nullptr: the caption keeps its text
  // Cells in the order imgLogIn, ImgReady, ImgNotReady, imgAftCallWork, ImgMakeCall,
  // ImgAnswer, ImgHangUp, ImgHold, ImgRetrieve, ImgConsult, ImgReConnect, ImgTransfer,
  // ImgConference: on, off, dis, en, -, enoff (enabled, off picture), dison (disabled, on
  // picture), in, out.
  const char* cells;
  bool resets;       // gCONFERENCE and gCUSTKEY cleared
  bool clearsCaller; // the caller-number caption emptied
};

const WordCase kWords[] = {
    {"FAIL", "로그아웃", "in off - - off off off off off off off off off", true, true},
    {"LOGIN", "로그인", "out on off on on off off off off off off off off", true, true},
    {"LOGOUT", "로그아웃", "in off off off off off off off off off off off off", true, true},
    {"READY", "대기", "en off on on on off off off off off off off off", true, false},
    {"NOTREADY", "휴식", "en on off on on off off off off off off off off", true, false},
    {"AFTERCALLWORK", "후처리", "en on on off on off off off off off off off off", true, false},
    {"DELIVERED", "통화중", "dis off off off off on on off off off off off off", false, false},
    {"MAKECALL", "통화중", "dis dis dis dis off off on off off off off off off", false, false},
    {"CBUSY", "통화중", "dis dis dis off off off on off off off off off enoff", false, false},
    {"RETRIVAL", "통화중", "dis off off off off off on on off on off off enoff", false, false},
    {"BUSY", "통화중", "dis off off off off off on on off on off off enoff", false, false},
    {"HOLD", "보류중", "dis dis dis dis off off off off on off off off off", false, false},
    {"RETRIEVE", "통화중", "dis dis dis dis off off on on off on off off off", false, false},
    {"HANGUP", nullptr, "en on on on on off off off off off off off off", false, false},
    {"CONSULT", "통화중", "dis dis dis dis off off off off off off on off off", false, false},
    {"CONSULTNEW", "통화중", "dis dis dis dis off off off off off off on off on", false, false},
    {"TRANSFER", nullptr, "dis dis dis dis off off off off off off dison off off", false, false},
};

constexpr Button kColumns[] = {
    Button::imgLogIn,    Button::ImgReady,   Button::ImgNotReady,  Button::imgAftCallWork,
    Button::ImgMakeCall, Button::ImgAnswer,  Button::ImgHangUp,    Button::ImgHold,
    Button::ImgRetrieve, Button::ImgConsult, Button::ImgReConnect, Button::ImgTransfer,
    Button::ImgConference,
};

class StateDisplayTest : public CoreFixture {
 protected:
  // Every button enabled (or not) with a picture that no word gives it, so that a cell that
  // keeps a property shows.
  void Preset(bool enabled) {
    Display& d = const_cast<Display&>(D());
    for (Button b : kColumns) d[b] = {enabled, Picture::ImgLogOutOff};
    d.sStatue = "before";
    d.sAninum = "010-1234-5678";
    G().gCONFERENCE = true;
    G().gCUSTKEY = "C1";
  }

  std::string Cell(Button b, bool presetEnabled) {
    const ButtonState& s = D()[b];
    const bool kept = s.picture == Picture::ImgLogOutOff;
    if (b == Button::imgLogIn && s.enabled && s.picture == Picture::ImgLogInOn) return "in";
    if (b == Button::imgLogIn && s.enabled && s.picture == Picture::ImgLogOutOn) return "out";
    if (kept) {
      if (s.enabled == presetEnabled) return presetEnabled ? "en|-" : "dis|-";
      return s.enabled ? "en" : "dis";
    }
    if (s.picture == OnPicture(b)) return s.enabled ? "on" : "dison";
    if (s.picture == OffPicture(b)) return s.enabled ? "enoff" : "off";
    return "?";
  }
};

bool Matches(const std::string& seen, const std::string& expected) {
  if (seen == expected) return true;
  // "en|-" and "dis|-": the preset survived; that is "-", or the cell that sets what the
  // preset already was.
  if (seen == "en|-") return expected == "-" || expected == "en";
  if (seen == "dis|-") return expected == "-" || expected == "dis";
  return false;
}

TEST_F(StateDisplayTest, EveryWordSetsItsRow) {
  for (const WordCase& w : kWords) {
    for (bool presetEnabled : {true, false}) {
      SCOPED_TRACE(std::string(w.word) + (presetEnabled ? " from enabled" : " from disabled"));
      Preset(presetEnabled);
      Phone().ufButtonSet(w.word);
      std::istringstream cells(w.cells);
      for (Button b : kColumns) {
        std::string expected;
        cells >> expected;
        EXPECT_TRUE(Matches(Cell(b, presetEnabled), expected))
            << ButtonName(b) << ": " << Cell(b, presetEnabled) << " for " << expected;
      }
      EXPECT_EQ(D().sStatue, w.caption ? w.caption : "before");
      EXPECT_EQ(G().gCONFERENCE, !w.resets);
      EXPECT_EQ(G().gCUSTKEY, w.resets ? "" : "C1");
      EXPECT_EQ(D().sAninum, w.clearsCaller ? "" : "010-1234-5678");
    }
  }
}

TEST_F(StateDisplayTest, WordsAreTrimmedAndAnyCase) {
  Phone().ufButtonSet("READY");
  for (const char* w : {" logout ", "Logout", "LOGOUT"}) {
    Phone().ufButtonSet("READY");
    Phone().ufButtonSet(w);
    EXPECT_EQ(D().sStatue, "로그아웃") << w;
    EXPECT_EQ(D()[Button::imgLogIn].picture, Picture::ImgLogInOn);
  }
  for (const char* w : {"", "LOGOUTX", "LOG OUT", "TIMERSTART"}) {
    Phone().ufButtonSet("READY");
    const Display before = D();
    Phone().ufButtonSet(w);
    EXPECT_EQ(D().sStatue, "대기") << w;
    for (Button b : kColumns) {
      EXPECT_EQ(D()[b].enabled, before[b].enabled);
      EXPECT_EQ(D()[b].picture, before[b].picture);
    }
  }
}

TEST_F(StateDisplayTest, ReasonCaptions) {
  G().gDBFLAG = true;
  const std::pair<int32_t, const char*> reasons[] = {
      {0, "휴식"}, {1, "식사"}, {2, "교육"}, {3, "회의"}, {7, "휴식"}, {-1, "휴식"}};
  for (const auto& [code, caption] : reasons) {
    G().gREASONCODE = code;
    Phone().ufButtonSet("NOTREADY");
    EXPECT_EQ(D().sStatue, caption) << code;
  }
}

TEST_F(StateDisplayTest, NotReadyAndAfterCallWorkGoBackToReadyWithoutTheDatabase) {
  G().gAGENTDN = "1001";
  for (bool db : {false, true}) {
    SCOPED_TRACE(db ? "database on" : "database off");
    telx_.Reset();
    G().gDBFLAG = db;
    Phone().ufButtonSet("NOTREADY");
    Phone().ufButtonSet("AFTERCALLWORK");
    Phone().ufButtonSet("READY");
    Phone().ufButtonSet("HANGUP");
    const std::vector<std::string> expected =
        db ? std::vector<std::string>{} : std::vector<std::string>{"READY", "READY"};
    EXPECT_EQ(Commands(), expected);
  }
}

TEST_F(StateDisplayTest, LoginWritesTheAgentToTheSettings) {
  Ini("; desk\r\n[SOFTPHONE]\r\nLOGIN=1\r\nID=old\r\n");
  Phone().SetAgentIdText(" agent9 ");
  Phone().SetExtensionText("1009");
  Phone().ufButtonSet("login");
  EXPECT_EQ(vomtel::test::ReadFile(desk_ / "SOFTPHONE.ini"),
            "; desk\r\n[SOFTPHONE]\r\nLOGIN=1\r\nID= agent9 \r\nDN=1009\r\n");
}

}  // namespace
}  // namespace agentphone::test
