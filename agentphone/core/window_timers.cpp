// The main window's timers. Each handler stops its own timer first.
#include <exception>

#include "agentphone/core/soft_phone.h"

namespace agentphone {

void SoftPhone::OnTimer(TimerId id) {
  try {
    switch (id) {
      case TimerId::Timer2: Timer2_Timer(); break;
      case TimerId::Timer3: Timer3_Timer(); break;
      case TimerId::Timer4: Timer4_Timer(); break;
    }
  } catch (const std::exception& e) {
    log_.WriteLog(std::string("[TIMER ERROR] ") + e.what());
  }
  Changed();
}

void SoftPhone::Timer2_Timer() {
  parts_.timers.Stop(TimerId::Timer2);
  if (!parts_.screenPops) return;
  parts_.screenPops->CloseBrowserWindow(g_.gOUTPOPHWND);
  std::string cnid = g_.gCNID, custKey = g_.gCUSTKEYSENT;
  parts_.screenPops->NewRecDataSend(cnid, custKey);
}

void SoftPhone::Timer3_Timer() {
  parts_.timers.Stop(TimerId::Timer3);
  // The agent may have been logged out since the button, or while the dialog was open.
  if (!StillLoggedIn("호전환")) return;
  Changed();
  g_.gDIALNUMBER = parts_.dialogs.RunConsultDial();
  if (g_.gDIALNUMBER.empty()) return;
  if (!StillLoggedIn("호전환")) return;
  ApplyDialRule(g_.gDIALNUMBER);
  const char* command = g_.gCONSULTMODE == 1 ? "CONSULTATIONCALL" : "CONSULTATIONCONFERENCE";
  int32_t r = SoftPhonePort::Call_Function(command, "", g_.gUEI, g_.gDIALNUMBER, "");
  if (r == 1) {
    g_.gCONSULT = 1;
    return;
  }
  Message("[호전환시도 ERROR] " + std::to_string(r));
  log_.WriteLog("[호전환시도 ERROR] " + g_.gDIALNUMBER + "-" + g_.gUEI + "-" + std::to_string(r));
}

void SoftPhone::Timer4_Timer() {
  parts_.timers.Stop(TimerId::Timer4);
  try {
    if (parts_.database) {
      parts_.database->GetDate01();
      parts_.database->GetDate02();
    }
  } catch (const std::exception& e) {
    log_.WriteLog(std::string("[TIMER ERROR] Timer4 : ") + e.what());
  }
  parts_.timers.Start(TimerId::Timer4, intervals_.timer4);
}

}  // namespace agentphone
