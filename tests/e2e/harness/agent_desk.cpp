#include "tests/e2e/harness/agent_desk.h"

#include <fstream>

#include "tests/e2e/harness/process_stats.h"

namespace desk {
namespace {

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

AgentDesk::AgentDesk(DeskPrograms programs, DeskConfig config)
    : programs_(std::move(programs)),
      config_(std::move(config)),
      scratch_("agentdesk"),
      folder_(scratch_ / "desk"),
      log_(folder_),
      trace_(scratch_ / "drives/C/softphone") {
  for (const char* dir : {"desk", "drives/C/softphone", "work", "home"}) {
    std::filesystem::create_directories(scratch_ / dir);
  }
  WriteDeskFolder(folder_, config_);

  ChildOptions reg;
  reg.program = programs_.registerTool;
  reg.args = {programs_.module};
  reg.env = {{"VOMTEL_REGISTRY", (scratch_ / "registry.reg").string()}};
  reg.outputFile = (scratch_ / "register.out").string();
  ChildProcess tool(reg);
  if (!tool.Started()) {
    registerError_ = tool.Error();
    return;
  }
  const std::optional<int> status = tool.WaitExit(std::chrono::seconds(60));
  if (!status || *status != 0) {
    registerError_ = "vomcom-register " + programs_.module + ": " +
                     ChildProcess::Describe(status.value_or(-1)) + "\n" +
                     ReadWhole(scratch_ / "register.out");
  }
}

AgentDesk::~AgentDesk() { Stop(); }

bool AgentDesk::Ready(std::string* why) const {
  if (registerError_.empty()) return true;
  if (why) *why = registerError_;
  return false;
}

void AgentDesk::Rewrite() { WriteDeskFolder(folder_, config_); }

bool AgentDesk::Start(std::string* why, std::vector<std::string> extraArgs,
                      std::vector<std::pair<std::string, std::string>> extraEnv) {
  if (!Ready(why)) return false;
  ChildOptions o;
  o.program = programs_.agentphone;
  o.args = {"--home", folder_.string()};
  o.args.insert(o.args.end(), extraArgs.begin(), extraArgs.end());
  o.env = {
      {"VOMTEL_REGISTRY", (scratch_ / "registry.reg").string()},
      {"VOMTEL_DRIVE_ROOT", (scratch_ / "drives").string()},
      {"QT_QPA_PLATFORM", "offscreen"},
      {"HOME", (scratch_ / "home").string()},
      {"XDG_CONFIG_HOME", (scratch_ / "home/.config").string()},
      {"XDG_STATE_HOME", (scratch_ / "home/.state").string()},
      {"XDG_RUNTIME_DIR", (scratch_ / "home").string()},
  };
  o.unsetEnv = {"AGENTPHONE_HOME", "DISPLAY", "WAYLAND_DISPLAY"};
  o.env.insert(o.env.end(), extraEnv.begin(), extraEnv.end());
  o.workDir = (scratch_ / "work").string();  // the library writes its logs here
  o.outputFile = (scratch_ / "agentphone.out").string();
  process_ = std::make_unique<ChildProcess>(o);
  if (!process_->Started()) {
    if (why) *why = process_->Error();
    return false;
  }
  return true;
}

int AgentDesk::Stop() {
  if (!process_) return -1;
  return process_->Stop();
}

std::optional<std::uint16_t> AgentDesk::DialPort(std::chrono::milliseconds timeout) {
  if (config_.dialPort != 0) return config_.dialPort;
  std::optional<std::uint16_t> port;
  PollUntil(
      [&] {
        if (!Running()) return true;
        const std::vector<std::uint16_t> ports = ListeningTcpPorts(Pid());
        if (!ports.empty()) port = ports.front();
        return port.has_value();
      },
      timeout);
  return port;
}

std::string AgentDesk::Output() const { return ReadWhole(scratch_ / "agentphone.out"); }

std::string AgentDesk::Report() const {
  return "--- desk log ---\n" + log_.Tail() + "--- program output ---\n" + Output();
}

}  // namespace desk
