// The end of the desktop session as the program hears of it, and the event loop that it ends.
// SIGTERM and SIGHUP (a logout or a shut-down) and a request to quit from outside while the
// window is open (the session manager's "die") each end the desk as closing its window does,
// without the question. The signals reach the loop through a pipe: the handler only writes one
// byte to it. After the first, the signals take their default action again, so a second one
// ends a program whose shut-down hangs. (A display connection that breaks is not heard: the
// platform ends the process in exit() at once, where the desk's parts can no longer be used.)
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace agentphone::app {

class SessionEnd {
 public:
  using WindowOpen = std::function<bool()>;
  using EndDesk = std::function<void(std::string_view cause)>;

  // Catches the signals from here on; one at a time. Made on the thread of the running
  // QApplication. `windowOpen` says whether the desk's window is still open (not yet closed by
  // the agent); `endDesk` runs the shut-down, told the cause.
  SessionEnd(WindowOpen windowOpen, EndDesk endDesk);
  // The signals take their default action again.
  ~SessionEnd();
  SessionEnd(const SessionEnd&) = delete;
  SessionEnd& operator=(const SessionEnd&) = delete;

  // Runs the application's event loop until the window is closed or the session ends (then the
  // shut-down runs and the status is 0); the program's exit status.
  int Run();

  // "SIGTERM", "SIGHUP", "quit request"; empty while the session goes on.
  const std::string& Cause() const { return cause_; }

 private:
  class Watch;
  void End(std::string cause);

  WindowOpen windowOpen_;
  EndDesk endDesk_;
  std::unique_ptr<Watch> watch_;
  std::string cause_;
};

}  // namespace agentphone::app
