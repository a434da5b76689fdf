// The agent-state and call buttons of the main window's core.
#include <exception>

#include "agentphone/core/soft_phone.h"
#include "agentphone/core/text_routines.h"

namespace agentphone {

void SoftPhone::imgLogIn_MouseDown() {
  if (!Enabled(Button::imgLogIn)) return;
  if (display_[Button::imgLogIn].picture != Picture::ImgLogInOn) {
    AgentLogOut();
    return;
  }
  if (Trim(display_.txt_realid).empty()) {
    parts_.view.FocusAgentId();
    Message("상담원 ID가 입력되지 않습니다. 확인하시기 바랍니다.");
    return;
  }
  if (Trim(display_.txtRealdn).empty()) {
    parts_.view.FocusExtension();
    Message("내선번호가 입력되지 않습니다. 확인하시기 바랍니다.");
    return;
  }
  g_.gAGENTID = Trim(display_.txt_realid);
  g_.gAGENTDN = Trim(display_.txtRealdn);
  g_.gAGENTDATA = "100";
  g_.gAGENTGROUP = "101";
  AgentLogIn();
}

void SoftPhone::ImgReady_MouseDown() {
  if (!Enabled(Button::ImgReady)) return;
  if (display_[Button::imgLogIn].picture == Picture::ImgLogInOn) return;
  // The pressed look: the ready picture goes off; otherwise the not-ready picture is shown.
  SetPicture(Button::ImgReady, display_[Button::ImgReady].picture == Picture::ImgReadyOn
                                   ? Picture::ImgReadyOff
                                   : Picture::ImgNotReadyOff);
}

void SoftPhone::ImgNotReady_MouseDown() {
  if (!Enabled(Button::ImgNotReady)) return;
  display_.sAninum.clear();
  Changed();
  if (display_[Button::imgLogIn].picture == Picture::ImgLogInOn) return;
  if (display_[Button::ImgReady].picture == Picture::ImgReadyOff) return;
  SetPicture(Button::ImgReady, display_[Button::ImgReady].picture == Picture::ImgReadyOn
                                   ? Picture::ImgReadyOff
                                   : Picture::ImgNotReadyOff);
}

void SoftPhone::ImgReady_MouseUp() {
  if (!Enabled(Button::ImgReady)) return;
  if (display_[Button::imgLogIn].picture == Picture::ImgLogInOff) return;
  int32_t r = SoftPhonePort::Call_Function("READY");
  if (r == 1) return;
  Report("[대기 ERROR]", r);
  if (IsLoggedIn()) SetPicture(Button::ImgReady, Picture::ImgReadyOn);
}

void SoftPhone::ImgNotReady_MouseUp() {
  if (!Enabled(Button::ImgNotReady)) return;
  if (display_[Button::imgLogIn].picture == Picture::ImgLogInOff) return;
  if (display_[Button::ImgNotReady].picture == Picture::ImgNotReadyOff) return;
  g_.gREASONCODE = 0;
  int32_t r = SoftPhonePort::Call_Function("NOTREADY");
  if (r != 1) Report("[휴식 ERROR]", r);
  if (!g_.gDBFLAG) return;
  if (!StillLoggedIn("휴식코드")) return;
  Changed();
  const int32_t reason = parts_.dialogs.RunNotReadyReason(g_.gREASONCODE);
  // The reason goes with a not ready only while the agent is still logged in.
  if (StillLoggedIn("휴식코드")) {
    g_.gREASONCODE = reason;
    if (reason != 0) {
      SoftPhonePort::Call_Function("NOTREADY");
      ufButtonSet("NOTREADY");
      switch (reason) {
        case 1: display_.sStatue = "식사"; break;
        case 2: display_.sStatue = "교육"; break;
        case 3: display_.sStatue = "회의"; break;
        default: break;
      }
      Changed();
    }
  }
  if (display_.chk_up) parts_.view.SetAlwaysOnTop(true);
}

void SoftPhone::imgAftCallWork_Click() {
  if (!Enabled(Button::imgAftCallWork)) return;
  display_.sAninum.clear();
  Changed();
  int32_t r = SoftPhonePort::Call_Function("AFTERCALLWORK");
  if (r != 1) Report("[후처리 ERROR]", r);
}

void SoftPhone::ImgHold_MouseDown() {
  if (!Enabled(Button::ImgHold)) return;
  SetPicture(Button::ImgHold, Picture::ImgHoldOff);
  int32_t r = SoftPhonePort::Call_Function("HOLD");
  if (r == 1) return;
  Fail("[보류 ERROR] :", r);
  SetPicture(Button::ImgHold, Picture::ImgHoldOn);
}

void SoftPhone::ImgRetrieve_MouseDown() {
  if (!Enabled(Button::ImgRetrieve)) return;
  int32_t r = SoftPhonePort::Call_Function("RETRIVAL");
  if (r == 1) return;
  Report("[보류해제 ERROR]", r);
  if (IsLoggedIn()) SetPicture(Button::ImgRetrieve, Picture::ImgRetrieveOn);
}

void SoftPhone::ImgAnswer_MouseDown() {
  if (!Enabled(Button::ImgAnswer)) return;
  int32_t r = SoftPhonePort::Call_Function("ANSWERCALL");
  if (r == 1) {
    SetPicture(Button::ImgAnswer, Picture::ImgAnswerOff);
    return;
  }
  Report("[전화받기 ERROR]", r);
}

void SoftPhone::ImgHangUp_MouseDown() {
  if (!Enabled(Button::ImgHangUp)) return;
  GfHangupCall();
}

void SoftPhone::ImgReConnect_Click() {
  if (!Enabled(Button::ImgReConnect)) return;
  int32_t r = SoftPhonePort::Call_Function("RECONNECT");
  if (r == 1) {
    g_.gCONSULT = 0;
    ufButtonSet("BUSY");
    return;
  }
  Fail("[전환취소 ERROR]", r);
  SetPicture(Button::ImgReConnect, Picture::ImgReConnectOff);
}

void SoftPhone::ImgTransfer_Click() {
  if (!Enabled(Button::ImgTransfer)) return;
  int32_t r = SoftPhonePort::Call_Function("TRANSFER", "", g_.gUEI, "", "");
  if (r == 1) {
    g_.gCONSULT = 0;
    ufButtonSet("TRANSFER");
    return;
  }
  Report("[전환 ERROR]", r);
  if (IsLoggedIn()) SetPicture(Button::ImgTransfer, Picture::ImgTransferOff);
}

void SoftPhone::ImgConference_Click() {
  if (!Enabled(Button::ImgConference)) return;
  int32_t r = SoftPhonePort::Call_Function("CONFERENCE", "", g_.gUEI, "", "");
  if (r == 1) {
    g_.gCONSULT = 0;
    g_.gCONFERENCE = true;
    ufButtonSet("CBUSY");
    return;
  }
  Report("[3자통화 ERROR]", r);
  if (IsLoggedIn()) SetPicture(Button::ImgConference, Picture::ImgConferenceOff);
}

void SoftPhone::ImgMakeCall_MouseUp() {
  if (!Enabled(Button::ImgMakeCall)) return;
  // Refused while a call is connected; asked again when the dial pad closes, as a call may have
  // come meanwhile.
  auto inCall = [this] {
    if (display_.sStatue != kCaptionInCall) return false;
    const std::string text = "통화중일 경우 는 전화걸기 가 불가 합니다.";
    Message(text);
    log_.WriteLog(text);
    return true;
  };
  try {
    if (inCall()) return;
    g_.gDIALNUMBER.clear();
    g_.gDIALMODE = 1;
    Changed();
    g_.gDIALNUMBER = parts_.dialogs.RunDialPad();
    if (g_.gDIALNUMBER.empty()) return;
    if (!StillLoggedIn("전화걸기") || inCall()) return;
    ApplyDialRule(g_.gDIALNUMBER);
    g_.gUEI.clear();
    int32_t r = SoftPhonePort::Call_Function("MAKECALL", "", g_.gUEI, g_.gDIALNUMBER, "");
    if (r == 1) {
      log_.WriteLog("[ MAKECALL ]" + g_.gDIALNUMBER + "-" + g_.gUEI + "-" + "1");
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
  } catch (const std::exception& e) {
    log_.WriteLog(std::string("MAKECALL FUNCTION ERROR]") + e.what());
  }
}

void SoftPhone::ImgConsult_Click() {
  if (!Enabled(Button::ImgConsult)) return;
  g_.gDIALNUMBER.clear();
  g_.gCONSULT = 0;
  g_.gCONSULTMODE = 1;
  g_.gDIALMODE = 2;
  SoftPhonePort::Call_Function("ReadyGet");
  parts_.timers.Start(TimerId::Timer3, intervals_.timer3);
}

}  // namespace agentphone
