// The main window's core over recording fakes: the two controls, the view, pre-answered
// dialogs, the manual timers, the screen pops, the database check and the dial listener, in a
// fresh desk folder.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <sstream>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "agentphone/core/clock.h"
#include "agentphone/core/control_ids.h"
#include "agentphone/core/manual_timers.h"
#include "agentphone/core/soft_phone.h"
#include "agentphone/core/text_routines.h"
#include "fake_control.h"
#include "support/temp_dir.h"

namespace agentphone::test {

class FakeView final : public MainView {
 public:
  void DisplayChanged(const Display&) override { ++changes; }
  void MoveToTopLeft() override { ++moves; }
  void ChangeView(const std::string& gubun, bool dbFlag) override {
    layouts.push_back(gubun + (dbFlag ? "/db" : ""));
  }
  void SetAlwaysOnTop(bool onTop) override { onTops.push_back(onTop); }
  void FocusAgentId() override { focus.push_back("txt_realid"); }
  void FocusExtension() override { focus.push_back("txtRealdn"); }

  int changes = 0, moves = 0;
  std::vector<std::string> layouts, focus;
  std::vector<bool> onTops;
};

class FakeDialogs final : public Dialogs {
 public:
  struct Shown {
    std::string text, title;
    MessageIcon icon;
  };
  void ShowMessage(std::string_view text, std::string_view title, MessageIcon icon) override {
    messages.push_back({std::string(text), std::string(title), icon});
    WhileShown();
  }
  bool AskYesNo(std::string_view text, std::string_view) override {
    questions.emplace_back(text);
    WhileShown();
    return yes;
  }
  std::string RunDialPad() override {
    if (dialPadFault) throw std::runtime_error(*dialPadFault);
    WhileShown();
    return Next(dialPad, "dial pad");
  }
  int32_t RunNotReadyReason(int32_t current) override {
    ++notReadyDialogs;
    WhileShown();
    return reason.value_or(current);
  }
  std::string RunConsultDial() override {
    WhileShown();
    return Next(consult, "consultation dialog");
  }
  void RunCallBackList() override {
    ++callBackLists;
    WhileShown();
  }
  void RunDropCallList() override {
    ++dropCallLists;
    WhileShown();
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> t;
    for (const Shown& m : messages) t.push_back(m.text);
    return t;
  }

  std::vector<Shown> messages;
  std::vector<std::string> questions;
  bool yes = true;
  std::deque<std::string> dialPad, consult;
  std::optional<std::string> dialPadFault;  // the dial pad fails with this description
  std::optional<int32_t> reason;
  int notReadyDialogs = 0, callBackLists = 0, dropCallLists = 0;
  // Runs once, while the next box or dialog is open (what arrives meanwhile).
  std::function<void()> whileShown;

 private:
  void WhileShown() {
    if (!whileShown) return;
    std::function<void()> f = std::move(whileShown);
    whileShown = nullptr;
    f();
  }
  static std::string Next(std::deque<std::string>& q, const char* what) {
    if (q.empty()) {
      ADD_FAILURE() << "the " << what << " was opened without a prepared answer";
      return {};
    }
    std::string s = q.front();
    q.pop_front();
    return s;
  }
};

class FakePops final : public ScreenPops {
 public:
  void Screenpopup(std::string& r, std::string& f, std::string& t, std::string& i) override {
    calls.push_back("Screenpopup(" + r + "," + f + "," + t + "," + i + ")");
  }
  void OutBoundScreenpopup(std::string& r, std::string& f, std::string& k, std::string& t) override {
    calls.push_back("OutBoundScreenpopup(" + r + "," + f + "," + k + "," + t + ")");
  }
  void NewRecDataSend(std::string& c, std::string& k) override {
    calls.push_back("NewRecDataSend(" + c + "," + k + ")");
  }
  void SetRecordingData(std::string& c) override { calls.push_back("SetRecordingData(" + c + ")"); }
  void CloseBrowserWindow(int64_t h) override { calls.push_back("Close(" + std::to_string(h) + ")"); }
  std::vector<std::string> calls;
};

class FakeDatabase final : public DatabaseCheck {
 public:
  explicit FakeDatabase(ManualTimers& t) : timers(t) {}
  void GetDate01() override { calls.push_back(std::string("GetDate01") + (timers.IsRunning(TimerId::Timer4) ? "+" : "-")); }
  void GetDate02() override { calls.push_back("GetDate02"); }
  ManualTimers& timers;
  std::vector<std::string> calls;
};

class FakeListener final : public DialRequestListener {
 public:
  void StartListening(int32_t port) override { ports.push_back(port); }
  std::vector<int32_t> ports;
};

class CoreFixture : public ::testing::Test {
 protected:
  CoreFixture() : database_(timers_) {
    settings_.Override(kServerKey, "10.9.8.7");
    settings_.Override(kServerPortKey, "9709");
    settings_.Override(kRecordingWebKey, "http://rec");
  }

  // Writes SOFTPHONE.ini before the core is made.
  void Ini(const std::string& text) { desk_.WriteFile("SOFTPHONE.ini", text); }

  SoftPhone& Phone() {
    if (!phone_) {
      phone_ = std::make_unique<SoftPhone>(
          desk_.Path(), settings_, clock_,
          SoftPhoneParts{view_, dialogs_, timers_, &pops_, &database_, &listener_});
      phone_->AttachControls(&telx_, &evt_);
      timers_.SetSink(phone_.get());
      telx_.numbers[telx::GateId] = 7;
      telx_.onCall = [this](DISPID id) {
        if (id == telx::vomtelagentreadyget) {
          for (const auto& [emp, dev] : readyAgents_[readyCall_ % 2]) {
            phone_->Vomtelreadyagentgetvalue(emp, dev, 0, 30);
          }
          ++readyCall_;
        }
      };
    }
    return *phone_;
  }
  Globals& G() { return Phone().Vars(); }
  const Display& D() { return Phone().GetDisplay(); }

  // A logged-in, ready agent on extension 1001 without running the login.
  void ReadyAgent(bool autoReady = true) {
    Phone().SetAgentIdText("agent1");
    Phone().SetExtensionText("1001");
    G().gAGENTID = "agent1";
    G().gAGENTDN = "1001";
    G().gAGENTDATA = "100";
    G().gAGENTGROUP = "101";
    Phone().SetAutoReadyChecked(autoReady);
    Phone().ufButtonSet("LOGIN");
    Phone().ufButtonSet("READY");
    telx_.Reset();
  }

  // Delivers one event whose properties read as given (others empty).
  void Event(int32_t kind, std::map<DISPID, std::string> props = {}) {
    for (DISPID id : {telxevt::CallRefID, telxevt::MonitorParty, telxevt::OtherParty,
                      telxevt::ThirdPartyCause, telxevt::TimeStamp, telxevt::reasoncode,
                      telxevt::uei, telxevt::cnid, telxevt::queueDN}) {
      evt_.texts[id] = "";
    }
    for (const auto& [id, v] : props) evt_.texts[id] = v;
    Phone().TELXEvt1_vomteleventget(kind);
  }

  // The command words the main control received, from the methods called (agent-state
  // commands by their mode).
  std::vector<std::string> Commands() const {
    static const std::map<DISPID, std::string> names = {
        {telx::vomtelopenserver, "OPENSERVER"}, {telx::vomtelOpenServerHAX, "OPENSERVERHA"},
        {telx::vomtelmonitorstart, "MONITORSTART"}, {telx::vomtelmonitorstop, "MONITORSTOP"},
        {telx::vomtelcloseserver, "CLOSESERVER"}, {telx::vomtelCloseServerX, "CLOSESERVERHA"},
        {telx::vomtelclearconnection, "CLEARCONNECTION"}, {telx::vomtelmakecall, "MAKECALL"},
        {telx::vomtelanswercall, "ANSWERCALL"}, {telx::vomtelholdcall, "HOLD"},
        {telx::vomtelretrievecall, "RETRIVAL"}, {telx::vomtelconsultationcall, "CONSULTATION"},
        {telx::vomteltransfercall, "TRANSFER"}, {telx::vomtelconferencecall, "CONFERENCE"},
        {telx::vomtelreconnectcall, "RECONNECT"}, {telx::vomtelagentreadyget, "ReadyGet"},
        {telx::vomtelsinglesteptransfer, "SingleStepTransfer"},
        {telx::vomtelonestepconference, "onestepconference"},
    };
    static const char* modes[] = {"LOGIN", "LOGOUT", "NOTREADY", "READY", "OTHERWORK", "AFTERCALLWORK"};
    std::vector<std::string> out;
    for (const RecordedCall& c : telx_.calls) {
      if (c.id == telx::vomtelsetfeatureagentstatus) {
        out.push_back(c.args.size() > 3 && c.args[3].i4 >= 0 && c.args[3].i4 < 6 ? modes[c.args[3].i4] : "?");
      } else if (auto it = names.find(c.id); it != names.end()) {
        out.push_back(it->second);
      }
    }
    return out;
  }

  std::string LogText() {
    return vomtel::test::ReadFile(Phone().Log().FileFor(clock_.Now()).string());
  }

  vomtel::test::TempDir desk_;
  ManualClock clock_{{2026, 12, 10, 15, 0, 0}};
  DeskSettings settings_;
  FakeView view_;
  FakeDialogs dialogs_;
  ManualTimers timers_;
  FakePops pops_;
  FakeDatabase database_;
  FakeListener listener_;
  FakeControl telx_, evt_;
  std::vector<std::pair<std::string, int32_t>> readyAgents_[2];
  int readyCall_ = 0;
  std::unique_ptr<SoftPhone> phone_;
};

}  // namespace agentphone::test
