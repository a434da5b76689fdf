// The main window's core (frmSoftPhone without its widgets): start and end, the settings
// switches, login and logout, the call helpers, the agent-state and call buttons, the handling
// of the event control's events and the window's timers. The Qt window forwards every click,
// edit and tick here and renders the Display it is told about.
//
// How a window drives it, all on the user-interface thread:
//  1. StartDesk (desk_start.h) gives the desk folder and the settings; the window makes the
//     SoftPhone with its view, dialogs, timer service and the optional ports, and gives the
//     timer service the SoftPhone as its sink (TimerService delivers Timer2-4 to OnTimer).
//  2. CtiControls::Create (cti_controls.h) with the window's client site, whose timer service
//     runs the event control's polling on the window's event loop; its two handlers call
//     TELXEvt1_vomteleventget and Vomtelreadyagentgetvalue. Then AttachControls with Telx()
//     and TelxEvt(); the controls outlive every call of the core.
//  3. Main() once: it reads LOGIN and DB and runs Form_Load (layout, check boxes, the
//     dial-request listener, the automatic login, Timer4).
//  4. From then on: every click of a button calls its handler (imgLogIn_MouseDown, ...; a
//     handler returns at once while its button is disabled), edits of the two boxes call
//     SetAgentIdText / SetExtensionText, the check boxes SetAutoReadyChecked / SetOnTopChecked,
//     the layout and list buttons cmdChange_Click / cmdCallBack_Click / cmdDropCall_Click, and
//     closing the window asks Form_Unload (false: the window stays). MainView::DisplayChanged
//     says when to render GetDisplay(); Dialogs and message boxes are modal calls.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "agentphone/core/command_dispatcher.h"
#include "agentphone/core/desk_settings.h"
#include "agentphone/core/dialogs.h"
#include "agentphone/core/display.h"
#include "agentphone/core/globals.h"
#include "agentphone/core/main_view.h"
#include "agentphone/core/outside_ports.h"
#include "agentphone/core/program_log.h"
#include "agentphone/core/soft_phone_port.h"
#include "agentphone/core/state_display.h"
#include "agentphone/core/timers.h"
#include "vomcom/automation.h"

namespace agentphone {

// The windows and services around the core. The optional ports may be null (nothing happens).
struct SoftPhoneParts {
  MainView& view;
  Dialogs& dialogs;
  TimerService& timers;
  ScreenPops* screenPops = nullptr;
  DatabaseCheck* database = nullptr;
  DialRequestListener* dialListener = nullptr;
};

// Intervals of the window's timers, in milliseconds.
struct TimerIntervals {
  int32_t timer2 = 3000;
  int32_t timer3 = 1000;
  int32_t timer4 = 60000;
};

class SoftPhone final : public SoftPhonePort, public TimerSink {
 public:
  SoftPhone(std::filesystem::path deskFolder, const DeskSettings& settings, const Clock& clock,
            SoftPhoneParts parts, TimerIntervals intervals = {});
  ~SoftPhone() override;

  // The two controls (TELX1 and TELXEvt1); the caller keeps them alive while the core runs.
  void AttachControls(IDispatch* telx, IDispatch* telxEvt);

  // Start: reads LOGIN and DB, then loads the window (Form_Load). The single-instance check
  // comes before (desk_start.h).
  void Main();
  void Form_Load();
  // The window is asked to close: true when it may (the agent confirmed and was logged out).
  bool Form_Unload();

  // Edits and switches of the window. A check box changed by the agent runs its click handler.
  void SetAgentIdText(std::string text);   // txt_realid
  void SetExtensionText(std::string text); // txtRealdn
  void SetAutoReadyChecked(bool ticked);   // chk_Ready
  void SetOnTopChecked(bool ticked);       // chk_up
  void cmdChange_Click();
  void cmdCallBack_Click();
  void cmdDropCall_Click();

  // Login, logout and the call helpers.
  void AgentLogIn();
  void AgentLogOut();
  void GfMakeCall(std::string& CallingNum) override;
  void GfHangupCall() override;

  // The buttons. A disabled button receives no click: each handler returns at once when its
  // button is disabled.
  void imgLogIn_MouseDown();
  void ImgReady_MouseDown();
  void ImgReady_MouseUp();
  void ImgNotReady_MouseDown();
  void ImgNotReady_MouseUp();
  void imgAftCallWork_Click();
  void ImgMakeCall_MouseUp();
  void ImgAnswer_MouseDown();
  void ImgHangUp_MouseDown();
  void ImgHold_MouseDown();
  void ImgRetrieve_MouseDown();
  void ImgConsult_Click();
  void ImgReConnect_Click();
  void ImgTransfer_Click();
  void ImgConference_Click();

  // The event control's vomteleventget (inside its timer tick) and the main control's
  // Vomtelreadyagentgetvalue (inside "ReadyGet").
  void TELXEvt1_vomteleventget(int32_t EventKind);
  void Vomtelreadyagentgetvalue(std::string_view employeeId, int32_t device, int32_t blendmode,
                                int32_t continuetime);

  // The window's timers.
  void OnTimer(TimerId id) override;
  void Timer2_Timer();
  void Timer3_Timer();
  void Timer4_Timer();

  // SoftPhonePort.
  using SoftPhonePort::Call_Function;
  int32_t Call_Function(std::string& callFunction, std::string& UUI, std::string& UEI,
                        std::string& CallingNo, std::string& CI) override;
  void ufButtonSet(std::string_view stat) override;
  std::string StatusCaption() const override { return display_.sStatue; }
  std::string RealDnText() const override { return display_.txtRealdn; }
  Globals& Vars() override { return g_; }
  void WriteLog(std::string_view text) override { log_.WriteLog(text); }

  const Display& GetDisplay() const { return display_; }
  const ProgramLog& Log() const { return log_; }

 private:
  void Changed();
  void Message(std::string_view text);
  void Report(std::string_view label, int32_t result);  // message and log: label + result
  void Fail(std::string_view label, int32_t result);    // log only
  void SetPicture(Button b, Picture p);
  bool Enabled(Button b) const { return display_[b].enabled; }
  void ApplyDialRule(std::string& number) const;
  // Stops and closes the gate that the last open left (the logout's close, without the logout).
  void CloseGate();
  // For a handler that goes on after a modal dialog or message box, which let events run: false
  // when the agent has been logged out meanwhile (every server down, or logged off by the
  // switch), after a log line naming what was left undone.
  bool StillLoggedIn(std::string_view undone);
  void EndOfCall();
  void HandleEvent(int32_t kind);
  void chk_Ready_Click();
  void chk_up_Click();
  std::string Ini(std::string_view section, std::string_view key) const;
  bool WriteIni(std::string_view key, std::string_view value) const;

  std::filesystem::path desk_;
  const DeskSettings& settings_;
  SoftPhoneParts parts_;
  TimerIntervals intervals_;
  Globals g_;
  Display display_;
  ProgramLog log_;
  CommandDispatcher dispatcher_;
  StateDisplay state_;
  IDispatch* evt_ = nullptr;
  // A gate opened and not closed since (a forced log-off leaves it open and monitored).
  bool gateOpen_ = false;

  // Window-wide values read at start.
  std::string loginValue_;
  std::string viewValue_;
  std::string onTopValue_;
  std::string autoReadyValue_;
  std::string popupValue_;
};

}  // namespace agentphone
