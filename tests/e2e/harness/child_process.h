// A program run as a child process for as long as its owner lives: standard output and error
// go to one file, the environment is the parent's with some variables replaced, and the
// destructor ends the program (SIGTERM, then SIGKILL after a grace period) and reaps it.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace desk {

struct ChildOptions {
  std::string program;
  std::vector<std::string> args;                         // after the program's name
  std::vector<std::pair<std::string, std::string>> env;  // set (or replaced) in the child
  std::vector<std::string> unsetEnv;                     // removed in the child
  std::string workDir;                                   // empty: the parent's
  std::string outputFile;                                // empty: /dev/null
};

class ChildProcess {
 public:
  explicit ChildProcess(const ChildOptions& options);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // False with Error() when the program could not be started.
  bool Started() const { return pid_ > 0; }
  const std::string& Error() const { return error_; }
  pid_t Pid() const { return pid_; }

  // True while the program has not ended (an ended program is reaped here).
  bool Running();
  // The wait status once the program has ended within `timeout`; nothing while it runs.
  std::optional<int> WaitExit(std::chrono::milliseconds timeout);
  // SIGTERM, then SIGKILL when it has not ended within `grace`; the wait status.
  int Stop(std::chrono::milliseconds grace = std::chrono::seconds(10));
  void Signal(int signo);

  // A readable account of a wait status: "exit 0", "signal 11", ...
  static std::string Describe(int status);

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
  std::string error_;
};

}  // namespace desk
