#include "tests/agentphone/db/mariadb_fixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace agentphone::db::testing {

namespace {

int FreePort() {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return 0;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0) {
    port = ntohs(a.sin_port);
  }
  ::close(fd);
  return port;
}

int Run(const std::string& command, std::string& output) {
  output.clear();
  FILE* p = ::popen((command + " 2>&1").c_str(), "r");
  if (!p) return -1;
  char buf[512];
  while (std::fgets(buf, sizeof buf, p)) output += buf;
  const int status = ::pclose(p);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

void MariaDbServer::EnsureStarted() {
  if (tried_) return;
  tried_ = true;
  char templ[] = "/tmp/agentphone-mariadb-XXXXXX";
  if (!::mkdtemp(templ)) {
    reason = "no temporary folder for the MariaDB server";
    return;
  }
  dir = templ;
  // A port found free may be taken by another program before the server binds it: a start
  // that fails is tried again on another port.
  std::string out;
  int rc = -1;
  for (int attempt = 0; attempt < 3 && rc != 0 && rc != 77; ++attempt) {
    if (attempt > 0) Run(std::string("sh '") + AGENTPHONE_MARIADB_SCRIPT + "' stop '" + dir + "'", out);
    port = FreePort();
    rc = Run(std::string("sh '") + AGENTPHONE_MARIADB_SCRIPT + "' start '" + dir + "' " +
                 std::to_string(port),
             out);
  }
  if (rc == 0) {
    running = true;
    return;
  }
  reason = rc == 77 ? "mariadbd is not installed: the MariaDB cases are skipped"
                    : "the MariaDB server did not start: " + out;
}

void MariaDbServer::Stop() {
  if (dir.empty()) return;
  std::string out;
  // Also after a failed start: a server that answered too late is still stopped.
  Run(std::string("sh '") + AGENTPHONE_MARIADB_SCRIPT + "' stop '" + dir + "'", out);
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  running = false;
}

MariaDbServer& SharedMariaDb() {
  static MariaDbServer server;
  return server;
}

bool FreezeServer(int pid) {
  if (pid <= 0 || ::kill(pid, SIGSTOP) != 0) return false;
  // The state is the field after the command's closing bracket in /proc/PID/stat.
  for (int i = 0; i < 300; ++i) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const std::size_t bracket = line.rfind(')');
    if (bracket != std::string::npos && bracket + 2 < line.size() &&
        (line[bracket + 2] == 'T' || line[bracket + 2] == 't')) {
      return true;
    }
    ::usleep(10000);
  }
  return false;
}

bool MariaDbRequired() {
  const char* require = std::getenv("AGENTPHONE_REQUIRE_MARIADB");
  return require != nullptr && std::string(require) == "1";
}

}  // namespace agentphone::db::testing
