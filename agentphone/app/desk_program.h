// The agent program put together: the desk folder and its one-instance lock, the settings, the
// two CTI controls on the window's client site, the main window with its dialogs and timers,
// the dial-request listener, the screen pops and the lists' databases. Made and started on the
// thread of the running QApplication, whose event loop then runs the desk; ended by its owner,
// the controls first.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "agentphone/core/desk_start.h"

namespace agentphone::ui {
class MessageBoxes;
class SoftPhoneWindow;
}  // namespace agentphone::ui

namespace agentphone::app {

class DeskProgram {
 public:
  // `boxes` shows every message box of the desk and outlives it.
  explicit DeskProgram(ui::MessageBoxes& boxes);
  ~DeskProgram();
  DeskProgram(const DeskProgram&) = delete;
  DeskProgram& operator=(const DeskProgram&) = delete;

  // Starts the desk from the command line's arguments (without the program's name): the window
  // shown, the automatic login begun, the databases opened when the desk uses them. Empty when
  // the desk runs; otherwise the program's exit status (1: another instance runs or the
  // controls could not be made, 2: a wrong command line, no desk folder or one that cannot
  // be written).
  std::optional<int> Start(const std::vector<std::string>& args);

  // The main window of a started desk (null before).
  ui::SoftPhoneWindow* Window();

  // The desktop session ends under the open window: the window's shut-down without the
  // question (log out, monitor stop, close), after a log line naming the cause.
  void EndSession(std::string_view cause);

 private:
  struct Parts;

  ui::MessageBoxes& boxes_;
  DeskStart desk_;
  std::unique_ptr<Parts> parts_;
};

}  // namespace agentphone::app
