// The main window over the real core: recording controls in place of the CTI controls, the
// window's timers on a manual clock, dialogs and message boxes answered by the test, and a
// fresh desk folder for SOFTPHONE.ini and the log.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "agentphone/core/control_ids.h"
#include "agentphone/core/manual_timers.h"
#include "agentphone/core/soft_phone.h"
#include "agentphone/core/text_routines.h"
#include "agentphone/ui/message_boxes.h"
#include "agentphone/ui/soft_phone_window.h"
#include "support/temp_dir.h"
#include "tests/agentphone/core/fake_control.h"

namespace agentphone::ui::test {

inline QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

// Message boxes that record what they were asked and answer at once.
class RecordingBoxes final : public MessageBoxes {
 public:
  struct Shown {
    QString title, text;
    MessageIcon icon;
  };
  void Inform(QWidget*, const QString& title, const QString& text, MessageIcon icon) override {
    shown.push_back({title, text, icon});
  }
  bool Ask(QWidget*, const QString& title, const QString& text) override {
    asked.push_back({title, text, MessageIcon::kNone});
    return yes;
  }
  QStringList Texts() const {
    QStringList t;
    for (const Shown& s : shown) t << s.text;
    return t;
  }
  std::vector<Shown> shown, asked;
  bool yes = true;
};

// The core's dialogs answered by the test: messages go to the boxes, each dialog hands back the
// next prepared answer and counts its openings.
class ScriptedDialogs final : public Dialogs {
 public:
  explicit ScriptedDialogs(RecordingBoxes& boxes) : boxes_(boxes) {}
  void ShowMessage(std::string_view text, std::string_view title, MessageIcon icon) override {
    boxes_.Inform(nullptr, FromUtf8(title), FromUtf8(text), icon);
  }
  bool AskYesNo(std::string_view text, std::string_view title) override {
    return boxes_.Ask(nullptr, FromUtf8(title), FromUtf8(text));
  }
  std::string RunDialPad() override { return Next(dialPad, dialPadRuns); }
  int32_t RunNotReadyReason(int32_t current) override {
    ++notReadyRuns;
    return current;
  }
  std::string RunConsultDial() override { return Next(consult, consultRuns); }
  void RunCallBackList() override { ++callBackRuns; }
  void RunDropCallList() override { ++dropCallRuns; }

  std::deque<std::string> dialPad, consult;
  int dialPadRuns = 0, notReadyRuns = 0, consultRuns = 0, callBackRuns = 0, dropCallRuns = 0;

 private:
  static std::string Next(std::deque<std::string>& q, int& runs) {
    ++runs;
    if (q.empty()) return {};
    std::string s = q.front();
    q.pop_front();
    return s;
  }
  RecordingBoxes& boxes_;
};

class WindowFixture : public ::testing::Test {
 protected:
  WindowFixture() : dialogs_(boxes_), window_(96.0) {
    settings_.Override(kServerKey, "127.0.0.1");
    settings_.Override(kServerPortKey, "9709");
  }
  ~WindowFixture() override { window_.Attach(nullptr); }

  // Writes SOFTPHONE.ini, starts the core (Main and the window's load) and shows the window.
  void Start(const std::string& ini) {
    desk_.WriteFile("SOFTPHONE.ini", ini);
    phone_ = std::make_unique<SoftPhone>(desk_.Path(), settings_, clock_,
                                         SoftPhoneParts{window_, dialogs_, timers_});
    phone_->AttachControls(&telx_, &evt_);
    telx_.numbers[telx::GateId] = 1;
    timers_.SetSink(phone_.get());
    window_.Attach(phone_.get());
    phone_->Main();
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  }

  template <typename T = QWidget>
  T* Child(const char* name) {
    T* w = window_.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }

  std::string Ini(const char* section, const char* key) {
    return GetIniValue(desk_.Path(), kSettingsFile, section, key);
  }

  // DISPIDs of the main control's method calls, in order.
  std::vector<DISPID> Methods() const {
    std::vector<DISPID> ids;
    for (const agentphone::test::RecordedCall& c : telx_.calls) {
      // the gate number read back after each command is not one of the commands
      if ((c.flags & DISPATCH_METHOD) && c.id != telx::GateId) ids.push_back(c.id);
    }
    return ids;
  }

  vomtel::test::TempDir desk_;
  ManualClock clock_{{2026, 12, 10, 9, 0, 0}};
  DeskSettings settings_;
  RecordingBoxes boxes_;
  ScriptedDialogs dialogs_;
  ManualTimers timers_;
  agentphone::test::FakeControl telx_, evt_;
  SoftPhoneWindow window_;
  std::unique_ptr<SoftPhone> phone_;
};

}  // namespace agentphone::ui::test
