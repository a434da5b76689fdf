// The agent program on a desk of its own: a scratch folder holding the desk folder, the
// component registry with the control module registered in it, the mapped drive with the
// folder of the control's trace log and the library's working folder; the program started there as a child
// process (offscreen), ended by its owner.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/harness/child_process.h"
#include "tests/e2e/harness/control_trace.h"
#include "tests/e2e/harness/desk_log.h"
#include "tests/e2e/harness/desk_setup.h"
#include "tests/e2e/harness/scratch_dir.h"

namespace desk {

struct DeskPrograms {
  std::string agentphone;    // the program
  std::string module;        // vomtelx.so
  std::string registerTool;  // vomcom-register
};

class AgentDesk {
 public:
  // Writes the desk folder and registers the module; the program is not started yet.
  AgentDesk(DeskPrograms programs, DeskConfig config);
  ~AgentDesk();
  AgentDesk(const AgentDesk&) = delete;
  AgentDesk& operator=(const AgentDesk&) = delete;

  // False with the reason when the module could not be registered.
  bool Ready(std::string* why) const;

  // Starts the program with `extraArgs` after --home; false with the reason.
  bool Start(std::string* why, std::vector<std::string> extraArgs = {},
             std::vector<std::pair<std::string, std::string>> extraEnv = {});
  // Ends it (SIGTERM, then SIGKILL); its wait status.
  int Stop();
  bool Running() const { return process_ && process_->Running(); }
  ChildProcess* Process() { return process_.get(); }
  pid_t Pid() const { return process_ ? process_->Pid() : -1; }

  // The dial-request port the program listens on (read from /proc), waiting up to `timeout`.
  std::optional<std::uint16_t> DialPort(std::chrono::milliseconds timeout);

  const std::filesystem::path& Folder() const { return folder_; }
  // The scratch folder: registry.reg, drives/ (the control's trace log), work/ (the library's).
  const std::filesystem::path& Root() const { return scratch_.Path(); }
  const DeskConfig& Config() const { return config_; }
  DeskConfig& MutableConfig() { return config_; }
  // Rewrites SOFTPHONE.ini from the configuration (before Start).
  void Rewrite();
  const DeskLog& Log() const { return log_; }
  // The control module's trace log (C:\softphone on the mapped drive).
  const ControlTrace& Trace() const { return trace_; }
  std::vector<std::vector<std::string>> BrowserCalls() const { return desk::BrowserCalls(folder_); }
  // The program's standard output and error so far.
  std::string Output() const;
  // The log's tail and the program's output, for a failure message.
  std::string Report() const;

 private:
  DeskPrograms programs_;
  DeskConfig config_;
  ScratchDir scratch_;
  std::filesystem::path folder_;
  DeskLog log_;
  ControlTrace trace_;
  std::string registerError_;
  std::unique_ptr<ChildProcess> process_;
};

}  // namespace desk
