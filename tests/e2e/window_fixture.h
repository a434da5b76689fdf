// The fixture of the window tests: the agent program assembled in this process exactly as the
// program assembles it (the real control module from a scratch registry, the real library),
// offscreen, against the switch and the web server of the desk tests. The tests press the
// window's buttons by their names; message boxes are answered by the fixture and dialogs are
// answered when they open. Every wait runs the event loop until its condition holds.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QTimer>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "agentphone/app/desk_program.h"
#include "agentphone/ui/message_boxes.h"
#include "agentphone/ui/soft_phone_window.h"
#include "tests/e2e/harness/agent_desk.h"
#include "tests/e2e/harness/desk_server.h"
#include "tests/e2e/harness/http_recorder.h"

namespace desk::test {

inline constexpr std::chrono::milliseconds kWindowWait{30000};

// Message boxes that keep what they showed and answer questions with `yes`.
class KeptBoxes final : public agentphone::ui::MessageBoxes {
 public:
  void Inform(QWidget*, const QString&, const QString& text, agentphone::MessageIcon) override {
    informed.push_back(text.toStdString());
  }
  bool Ask(QWidget*, const QString&, const QString& text) override {
    asked.push_back(text.toStdString());
    return yes;
  }
  std::vector<std::string> informed, asked;
  bool yes = true;
};

// The call id and the device, the first two fields of a call-control request.
struct CallParty {
  std::uint32_t call = 0;
  std::string device;
};
CallParty FirstParty(const ctisim::Request& r);

class WindowTest : public ::testing::Test {
 public:
  // What the window shows: a control's state, a button's picture, the status caption.
  bool Enabled(const char* name);
  std::string Picture(const char* name);
  std::string Caption();

 protected:
  WindowTest();
  ~WindowTest() override;

  // Assembles and starts the program on a desk made from the default configuration changed by
  // `edit`.
  void StartDesk(const std::function<void(DeskConfig&)>& edit = {});
  // Starts it and waits until the automatic login has brought the agent to `mode`.
  void StartLoggedIn(int mode, const std::function<void(DeskConfig&)>& edit = {});

  // Runs the event loop until `probe` holds; false after the wait.
  bool Until(const std::function<bool()>& probe,
             std::chrono::milliseconds wait = kWindowWait);

  // Presses and releases the mouse on the window's control `name`.
  void Press(const char* name);

  // The nth request (class 0x41, `code`), running the event loop until it has come.
  std::optional<ctisim::Request> Request(std::uint8_t code, std::size_t nth = 1);
  std::size_t Count(std::uint8_t code) const;

  // Runs `answer` on the modal window `name` once it is shown (in the order asked).
  void WhenShown(const char* name, std::function<void(QWidget*)> answer);
  bool AllAnswered() const { return pending_.empty(); }

  std::string Report() const;

  KeptBoxes boxes_;
  std::unique_ptr<DeskServer> server_;
  HttpRecorder web_;
  std::unique_ptr<AgentDesk> desk_;
  std::unique_ptr<agentphone::app::DeskProgram> program_;
  agentphone::ui::SoftPhoneWindow* window_ = nullptr;

 private:
  void WatchDialogs();

  std::filesystem::path startDir_;
  std::deque<std::pair<QString, std::function<void(QWidget*)>>> pending_;
  QTimer watch_;
};

}  // namespace desk::test
