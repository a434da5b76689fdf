#include "agentphone/core/soft_phone.h"

#include <cmath>

#include "agentphone/core/text_routines.h"

namespace agentphone {

SoftPhone::SoftPhone(std::filesystem::path deskFolder, const DeskSettings& settings,
                     const Clock& clock, SoftPhoneParts parts, TimerIntervals intervals)
    : desk_(std::move(deskFolder)),
      settings_(settings),
      parts_(parts),
      intervals_(intervals),
      log_(desk_, clock),
      dispatcher_(g_, log_,
                  DispatcherSettings{settings.Get(kServerKey), settings.Get(kServerPortKey)},
                  [this] { return display_.sAninum; }),
      state_(display_, g_, desk_,
             [this](std::string_view word) { return SoftPhonePort::Call_Function(word); },
             [this] { Changed(); }) {}

SoftPhone::~SoftPhone() = default;

void SoftPhone::AttachControls(IDispatch* telx, IDispatch* telxEvt) {
  dispatcher_.SetControls(telx, telxEvt);
  evt_ = telxEvt;
}

void SoftPhone::Changed() { parts_.view.DisplayChanged(display_); }

void SoftPhone::Message(std::string_view text) {
  Changed();
  parts_.dialogs.ShowMessage(text, kProgramTitle, MessageIcon::kNone);
}

void SoftPhone::Report(std::string_view label, int32_t result) {
  const std::string text = std::string(label) + std::to_string(result);
  Message(text);
  log_.WriteLog(text);
}

void SoftPhone::Fail(std::string_view label, int32_t result) {
  log_.WriteLog(std::string(label) + std::to_string(result));
}

void SoftPhone::SetPicture(Button b, Picture p) {
  display_[b].picture = p;
  Changed();
}

std::string SoftPhone::Ini(std::string_view section, std::string_view key) const {
  return GetIniValue(desk_, kSettingsFile, section, key);
}

bool SoftPhone::WriteIni(std::string_view key, std::string_view value) const {
  return WriteIniValue(desk_, kSettingsFile, "SOFTPHONE", key, value);
}

int32_t SoftPhone::Call_Function(std::string& callFunction, std::string& UUI, std::string& UEI,
                                 std::string& CallingNo, std::string& CI) {
  const bool open = callFunction == "OPENSERVER" || callFunction == "OPENSERVERHA";
  const bool close = callFunction == "CLOSESERVER" || callFunction == "CLOSESERVERHA";
  const int32_t r = dispatcher_.Call_Function(callFunction, UUI, UEI, CallingNo, CI);
  if (open && r == 1) gateOpen_ = true;
  if (close) gateOpen_ = false;
  return r;
}

bool SoftPhone::StillLoggedIn(std::string_view undone) {
  if (IsLoggedIn()) return true;
  log_.WriteLog("[" + std::string(undone) + " 취소] 로그아웃 상태");
  return false;
}

void SoftPhone::ufButtonSet(std::string_view stat) { state_.ufButtonSet(stat); }

void SoftPhone::Vomtelreadyagentgetvalue(std::string_view employeeId, int32_t device,
                                         int32_t blendmode, int32_t continuetime) {
  dispatcher_.BuildEventRecord(employeeId, device, blendmode, continuetime);
}

void SoftPhone::Main() {
  loginValue_ = Ini("SOFTPHONE", "LOGIN");
  g_.gDBFLAG = ReadsAsOne(Ini("SOFTPHONE", "DB"));
  Form_Load();
}

void SoftPhone::Form_Load() {
  parts_.view.MoveToTopLeft();
  g_.mPOPHWND = 0;
  ufButtonSet("LOGOUT");

  viewValue_ = Ini("SOFTPHONE", "VIEW");
  display_.txt_realid = Ini("SOFTPHONE", "ID");
  display_.txtRealdn = Ini("SOFTPHONE", "DN");
  onTopValue_ = Ini("SOFTPHONE", "ONTOP");
  autoReadyValue_ = Ini("SOFTPHONE", "AUTOREADY");
  g_.gCTIIP = Ini("CTIINFO", "IP");
  g_.gbkCTIIP = Ini("CTIINFO", "IP2");
  g_.gCTIPORT = Ini("CTIINFO", "PORT");
  popupValue_ = Ini("SOFTPHONE", "POPUP");
  g_.gREC = Trim(Ini("SOFTPHONE", "REC"));
  Changed();

  parts_.view.ChangeView(viewValue_, g_.gDBFLAG);

  SetOnTopChecked(onTopValue_ == "1");
  SetAutoReadyChecked(autoReadyValue_ == "1");

  if (parts_.dialListener) {
    // The port as a 32-bit number; a missing or odd value listens on port 0.
    double port = ReadNumber(Ini("SOFTPHONE", "PORT")).value_or(0.0);
    int32_t p = (port >= 0 && port <= 65535) ? static_cast<int32_t>(std::lround(port)) : 0;
    parts_.dialListener->StartListening(p);
  }

  if (ReadsAsOne(loginValue_)) {
    if (Trim(display_.txt_realid).empty() || Trim(display_.txtRealdn).empty()) return;
    g_.gAGENTID = Trim(display_.txt_realid);
    g_.gAGENTDN = Trim(display_.txtRealdn);
    g_.gAGENTDATA = "100";
    g_.gAGENTGROUP = "101";
    AgentLogIn();
  }
  if (g_.gDBFLAG) parts_.timers.Start(TimerId::Timer4, intervals_.timer4);
}

bool SoftPhone::Form_Unload() {
  Changed();
  if (!parts_.dialogs.AskYesNo("소프트폰 을 종료하시겠습니까?", kProgramTitle)) return false;
  AgentLogOut();
  return true;
}

void SoftPhone::SetAgentIdText(std::string text) {
  display_.txt_realid = std::move(text);
  Changed();
}

void SoftPhone::SetExtensionText(std::string text) {
  display_.txtRealdn = std::move(text);
  Changed();
}

void SoftPhone::SetAutoReadyChecked(bool ticked) {
  if (display_.chk_Ready == ticked) return;
  display_.chk_Ready = ticked;
  Changed();
  chk_Ready_Click();
}

void SoftPhone::SetOnTopChecked(bool ticked) {
  if (display_.chk_up == ticked) return;
  display_.chk_up = ticked;
  Changed();
  chk_up_Click();
}

void SoftPhone::chk_Ready_Click() { WriteIni("AUTOREADY", display_.chk_Ready ? "1" : "0"); }

void SoftPhone::chk_up_Click() {
  parts_.view.SetAlwaysOnTop(display_.chk_up);
  WriteIni("ONTOP", display_.chk_up ? "1" : "0");
}

void SoftPhone::cmdChange_Click() {
  viewValue_ = viewValue_ == "1" ? '0' : '1';
  parts_.view.ChangeView(viewValue_, g_.gDBFLAG);
  WriteIni("VIEW", viewValue_);
}

void SoftPhone::cmdCallBack_Click() {
  Changed();
  parts_.dialogs.RunCallBackList();
}

void SoftPhone::cmdDropCall_Click() {
  Changed();
  parts_.dialogs.RunDropCallList();
}

}  // namespace agentphone
