#include "tests/e2e/harness/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <thread>

extern char** environ;

namespace desk {
namespace {

// Everything the child needs is built before fork: after it only async-signal-safe calls.
struct ExecImage {
  std::vector<std::string> argStore, envStore;
  std::vector<char*> argv, envp;
};

ExecImage MakeImage(const ChildOptions& o) {
  ExecImage img;
  img.argStore.push_back(o.program);
  img.argStore.insert(img.argStore.end(), o.args.begin(), o.args.end());
  std::map<std::string, std::string> env;
  for (char** e = environ; e && *e; ++e) {
    const char* eq = std::strchr(*e, '=');
    if (eq) env[std::string(*e, static_cast<std::size_t>(eq - *e))] = eq + 1;
  }
  for (const std::string& name : o.unsetEnv) env.erase(name);
  for (const auto& [name, value] : o.env) env[name] = value;
  for (const auto& [name, value] : env) img.envStore.push_back(name + "=" + value);
  for (std::string& s : img.argStore) img.argv.push_back(s.data());
  img.argv.push_back(nullptr);
  for (std::string& s : img.envStore) img.envp.push_back(s.data());
  img.envp.push_back(nullptr);
  return img;
}

}  // namespace

ChildProcess::ChildProcess(const ChildOptions& options) {
  ExecImage img = MakeImage(options);
  const std::string out = options.outputFile.empty() ? "/dev/null" : options.outputFile;
  const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (outFd < 0) {
    error_ = "cannot open " + out + ": " + std::strerror(errno);
    return;
  }
  int pipeFds[2];  // reports a failed exec to the parent
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
    error_ = std::string("pipe: ") + std::strerror(errno);
    ::close(outFd);
    return;
  }
  const char* dir = options.workDir.empty() ? nullptr : options.workDir.c_str();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setpgid(0, 0);  // its own group, so that what it starts can be ended with it
    const int devNull = ::open("/dev/null", O_RDONLY);
    if (devNull >= 0) ::dup2(devNull, 0);
    ::dup2(outFd, 1);
    ::dup2(outFd, 2);
    int err = 0;
    if (dir && ::chdir(dir) != 0) {
      err = errno;
    } else {
      ::execve(img.argv[0], img.argv.data(), img.envp.data());
      err = errno;
    }
    ssize_t ignored = ::write(pipeFds[1], &err, sizeof err);
    (void)ignored;
    ::_exit(127);
  }
  ::close(outFd);
  ::close(pipeFds[1]);
  if (pid < 0) {
    error_ = std::string("fork: ") + std::strerror(errno);
    ::close(pipeFds[0]);
    return;
  }
  int childErr = 0;
  ssize_t n;
  do {
    n = ::read(pipeFds[0], &childErr, sizeof childErr);
  } while (n < 0 && errno == EINTR);
  ::close(pipeFds[0]);
  pid_ = pid;
  if (n == static_cast<ssize_t>(sizeof childErr)) {
    error_ = "cannot start " + options.program + ": " + std::strerror(childErr);
    int status = 0;
    ::waitpid(pid, &status, 0);
    pid_ = -1;
  }
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0) Stop();
}

bool ChildProcess::Running() {
  if (pid_ <= 0 || status_) return false;
  int status = 0;
  const pid_t r = ::waitpid(pid_, &status, WNOHANG);
  if (r == pid_) {
    status_ = status;
    ::kill(-pid_, SIGKILL);  // whatever it left behind in its group
    return false;
  }
  return r == 0;
}

std::optional<int> ChildProcess::WaitExit(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  auto pause = std::chrono::milliseconds(1);
  while (Running()) {
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(20));
  }
  return status_;
}

void ChildProcess::Signal(int signo) {
  if (Running()) ::kill(pid_, signo);
}

int ChildProcess::Stop(std::chrono::milliseconds grace) {
  if (pid_ <= 0) return -1;
  if (Running()) {
    ::kill(pid_, SIGTERM);
    if (!WaitExit(grace)) {
      ::kill(-pid_, SIGKILL);
      ::kill(pid_, SIGKILL);
      WaitExit(std::chrono::seconds(30));
    }
  }
  return status_.value_or(-1);
}

std::string ChildProcess::Describe(int status) {
  if (status < 0) return "not reaped";
  if (WIFEXITED(status)) return "exit " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return "signal " + std::to_string(WTERMSIG(status));
  return "status " + std::to_string(status);
}

}  // namespace desk
