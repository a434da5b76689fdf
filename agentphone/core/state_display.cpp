#include "agentphone/core/state_display.h"

#include <array>
#include <cctype>
#include <string>

#include "agentphone/core/desk_settings.h"
#include "agentphone/core/text_routines.h"

namespace agentphone {
namespace {

// Cells of the button table.
enum Cell : uint8_t {
  kKeep,      // neither property touched
  kOn,        // enabled, active picture
  kOff,       // disabled, inactive picture
  kDis,       // disabled, picture unchanged
  kEn,        // enabled, picture unchanged
  kEnOffPic,  // enabled, inactive picture
  kDisOnPic,  // disabled, active picture
  kIn,        // login button: enabled with ImgLogInOn
  kOut,       // login button: enabled with ImgLogOutOn
};

// The columns of the table.
constexpr std::array<Button, kButtonCount> kColumns = {
    Button::imgLogIn,   Button::ImgReady,     Button::ImgNotReady, Button::imgAftCallWork,
    Button::ImgMakeCall, Button::ImgAnswer,   Button::ImgHangUp,   Button::ImgHold,
    Button::ImgRetrieve, Button::ImgConsult,  Button::ImgReConnect, Button::ImgTransfer,
    Button::ImgConference,
};

struct Row {
  const char* word;
  std::array<Cell, kButtonCount> cells;
};

// In the order in which the words are compared.
constexpr Row kRows[] = {
    {"FAIL", {kIn, kOff, kKeep, kKeep, kOff, kOff, kOff, kOff, kOff, kOff, kOff, kOff, kOff}},
    {"LOGIN", {kOut, kOn, kOff, kOn, kOn, kOff, kOff, kOff, kOff, kOff, kOff, kOff, kOff}},
    {"LOGOUT", {kIn, kOff, kOff, kOff, kOff, kOff, kOff, kOff, kOff, kOff, kOff, kOff, kOff}},
    {"READY", {kEn, kOff, kOn, kOn, kOn, kOff, kOff, kOff, kOff, kOff, kOff, kOff, kOff}},
    {"NOTREADY", {kEn, kOn, kOff, kOn, kOn, kOff, kOff, kOff, kOff, kOff, kOff, kOff, kOff}},
    {"AFTERCALLWORK", {kEn, kOn, kOn, kOff, kOn, kOff, kOff, kOff, kOff, kOff, kOff, kOff, kOff}},
    {"DELIVERED", {kDis, kOff, kOff, kOff, kOff, kOn, kOn, kOff, kOff, kOff, kOff, kOff, kOff}},
    {"MAKECALL", {kDis, kDis, kDis, kDis, kOff, kOff, kOn, kOff, kOff, kOff, kOff, kOff, kOff}},
    {"CBUSY", {kDis, kDis, kDis, kOff, kOff, kOff, kOn, kOff, kOff, kOff, kOff, kOff, kEnOffPic}},
    {"RETRIVAL", {kDis, kOff, kOff, kOff, kOff, kOff, kOn, kOn, kOff, kOn, kOff, kOff, kEnOffPic}},
    {"BUSY", {kDis, kOff, kOff, kOff, kOff, kOff, kOn, kOn, kOff, kOn, kOff, kOff, kEnOffPic}},
    {"HOLD", {kDis, kDis, kDis, kDis, kOff, kOff, kOff, kOff, kOn, kOff, kOff, kOff, kOff}},
    {"RETRIEVE", {kDis, kDis, kDis, kDis, kOff, kOff, kOn, kOn, kOff, kOn, kOff, kOff, kOff}},
    {"HANGUP", {kEn, kOn, kOn, kOn, kOn, kOff, kOff, kOff, kOff, kOff, kOff, kOff, kOff}},
    {"CONSULT", {kDis, kDis, kDis, kDis, kOff, kOff, kOff, kOff, kOff, kOff, kOn, kOff, kOff}},
    {"CONSULTNEW", {kDis, kDis, kDis, kDis, kOff, kOff, kOff, kOff, kOff, kOff, kOn, kOff, kOn}},
    {"TRANSFER", {kDis, kDis, kDis, kDis, kOff, kOff, kOff, kOff, kOff, kOff, kDisOnPic, kOff, kOff}},
};

std::string Normalise(std::string_view stat) {
  std::string w = Trim(stat);
  for (char& c : w) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return w;
}

}  // namespace

StateDisplay::StateDisplay(Display& display, Globals& g, std::filesystem::path deskFolder,
                           Command command, std::function<void()> changed)
    : d_(display), g_(g), desk_(std::move(deskFolder)), command_(std::move(command)),
      changed_(std::move(changed)) {}

void StateDisplay::SetCaption(std::string_view text) { d_.sStatue = std::string(text); }

void StateDisplay::ufButtonSet(std::string_view stat) {
  const std::string word = Normalise(stat);
  const Row* row = nullptr;
  for (const Row& r : kRows) {
    if (word == r.word) {
      row = &r;
      break;
    }
  }
  if (!row) return;

  // Enabled states first, then the pictures.
  for (size_t i = 0; i < kButtonCount; ++i) {
    ButtonState& b = d_[kColumns[i]];
    switch (row->cells[i]) {
      case kOn: case kEn: case kEnOffPic: case kIn: case kOut: b.enabled = true; break;
      case kOff: case kDis: case kDisOnPic: b.enabled = false; break;
      case kKeep: break;
    }
  }
  for (size_t i = 0; i < kButtonCount; ++i) {
    const Button button = kColumns[i];
    ButtonState& b = d_[button];
    switch (row->cells[i]) {
      case kOn: case kDisOnPic: b.picture = OnPicture(button); break;
      case kOff: case kEnOffPic: b.picture = OffPicture(button); break;
      case kIn: b.picture = Picture::ImgLogInOn; break;
      case kOut: b.picture = Picture::ImgLogOutOn; break;
      case kDis: case kEn: case kKeep: break;
    }
  }

  auto resetValues = [this] {
    g_.gCONFERENCE = false;
    g_.gCUSTKEY.clear();
  };
  auto automaticReady = [this] {
    if (!g_.gDBFLAG && command_) {
      if (changed_) changed_();  // shown before the command blocks
      command_("READY");
    }
  };

  if (word == "FAIL" || word == "LOGOUT") {
    SetCaption("로그아웃");
    d_.sAninum.clear();
    resetValues();
  } else if (word == "LOGIN") {
    WriteIniValue(desk_, kSettingsFile, "SOFTPHONE", "ID", d_.txt_realid);
    WriteIniValue(desk_, kSettingsFile, "SOFTPHONE", "DN", d_.txtRealdn);
    SetCaption("로그인");
    d_.sAninum.clear();
    resetValues();
  } else if (word == "READY") {
    SetCaption("대기");
    resetValues();
  } else if (word == "NOTREADY") {
    SetCaption("휴식");
    resetValues();
    switch (g_.gREASONCODE) {
      case 0: SetCaption("휴식"); break;
      case 1: SetCaption("식사"); break;
      case 2: SetCaption("교육"); break;
      case 3: SetCaption("회의"); break;
      default: break;
    }
    automaticReady();
  } else if (word == "AFTERCALLWORK") {
    SetCaption("후처리");
    resetValues();
    automaticReady();
  } else if (word == "HOLD") {
    SetCaption("보류중");
  } else if (word == "HANGUP" || word == "TRANSFER") {
    // the status caption keeps its text
  } else {
    SetCaption("통화중");
  }
  if (changed_) changed_();
}

}  // namespace agentphone
