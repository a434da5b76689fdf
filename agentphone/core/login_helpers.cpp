// Login, logout and the two call helpers of the main window's core.
#include "agentphone/core/soft_phone.h"
#include "agentphone/core/text_routines.h"

namespace agentphone {
namespace {

constexpr Button kLoginButtons[] = {
    Button::imgLogIn,   Button::ImgNotReady, Button::ImgReady,     Button::imgAftCallWork,
    Button::ImgAnswer,  Button::ImgMakeCall, Button::ImgHangUp,    Button::ImgHold,
    Button::ImgRetrieve, Button::ImgConsult, Button::ImgReConnect, Button::ImgTransfer,
    Button::ImgConference,
};

}  // namespace

void SoftPhone::AgentLogIn() {
  for (Button b : kLoginButtons) display_[b].enabled = false;
  Changed();
  log_.WriteLog("SoftPhone Login Start");

  // A failed step gives the login button back, after closing what the steps before it opened,
  // so that a retry starts from a closed gate.
  auto giveUp = [this](std::string_view step, int32_t r, bool monitored) {
    Message("CTI " + std::string(step) + " 실패" + std::to_string(r));
    log_.WriteLog("[CTI " + std::string(step) + " 실패]" + std::to_string(r));
    if (gateOpen_) {  // not when every server went down while the message was shown
      if (monitored) SoftPhonePort::Call_Function("MONITORSTOP");
      SoftPhonePort::Call_Function("CLOSESERVERHA");
    }
    display_[Button::imgLogIn].enabled = true;
    Changed();
  };

  // The gate of the last session may still be open (the switch logged the agent off): the new
  // one replaces it.
  if (gateOpen_) CloseGate();

  int32_t r = SoftPhonePort::Call_Function("OPENSERVER");
  if (r != 1) {
    Message("CTI OPENSERVER 실패" + std::to_string(r));
    log_.WriteLog("[CTI OPENSERVER 실패]" + std::to_string(r));
    display_[Button::imgLogIn].enabled = true;
    Changed();
    return;
  }
  r = SoftPhonePort::Call_Function("MONITORSTART");
  if (r != 1) return giveUp("MONITORSTART", r, false);
  SoftPhonePort::Call_Function("LOGOUT");
  r = SoftPhonePort::Call_Function("LOGIN");
  if (r != 1) return giveUp("LOGIN", r, true);
  SoftPhonePort::Call_Function("NOTREADY");
}

void SoftPhone::AgentLogOut() {
  for (Button b : kLoginButtons) display_[b].enabled = false;
  Changed();
  log_.WriteLog("SoftPhone LogOut Start");
  SoftPhonePort::Call_Function("LOGOUT");
  CloseGate();
  ufButtonSet("LOGOUT");
}

void SoftPhone::CloseGate() {
  SoftPhonePort::Call_Function("MONITORSTOP");
  SoftPhonePort::Call_Function("CLOSESERVERHA");
}

void SoftPhone::ApplyDialRule(std::string& number) const {
  if (number.starts_with("02")) number.erase(0, 2);
  if (number.size() > 6) number.insert(number.begin(), '0');
}

void SoftPhone::GfMakeCall(std::string& CallingNum) {
  // The lists are modal windows: the agent may have been logged out while one was open.
  if (!StillLoggedIn("전화걸기")) return;
  ApplyDialRule(CallingNum);
  g_.gUEI.clear();
  int32_t r = SoftPhonePort::Call_Function("MAKECALL", "", g_.gUEI, OnlyDigits(CallingNum), "");
  if (r == 1) {
    log_.WriteLog("[ MAKECALL ]" + CallingNum + "-" + g_.gUEI + "-" + "1");
    ufButtonSet("BUSY");
    return;
  }
  Message("전화걸기 실패 :" + std::to_string(r));
  log_.WriteLog("전화걸기 실패  Ret : " + std::to_string(r));
  if (!StillLoggedIn("전화걸기 실패 후 상태변경")) return;
  if (display_.chk_Ready) {
    SoftPhonePort::Call_Function("READY");
    ufButtonSet("READY");
  } else {
    SoftPhonePort::Call_Function("AFTERCALLWORK");
    ufButtonSet("AFTERCALLWORK");
  }
}

void SoftPhone::GfHangupCall() {
  int32_t r = SoftPhonePort::Call_Function("CLEARCONNECTION");
  if (r == 1) {
    ufButtonSet("HANGUP");
    SetPicture(Button::ImgHangUp, Picture::ImgHangUpOff);
    return;
  }
  Message("[전화끊기 ERROR] :" + std::to_string(r));
  log_.WriteLog("[전화끊기 ERROR]" + std::to_string(r));
}

}  // namespace agentphone
