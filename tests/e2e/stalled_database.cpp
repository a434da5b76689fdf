#include "tests/e2e/stalled_database.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>

#include "tests/agentphone/db/mariadb_fixture.h"

namespace desk::test {
namespace {

using agentphone::db::testing::SharedMariaDb;

// Stops the shared server when the test program ends.
class ServerEnvironment final : public ::testing::Environment {
 public:
  void TearDown() override { SharedMariaDb().Stop(); }
};
[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ServerEnvironment);

// Runs an SQL text as root through the server's socket; its output, or nullopt.
bool AskServer(const std::string& sql, std::string* out) {
  const std::string command = "mariadb --no-defaults --socket='" + SharedMariaDb().dir +
                              "/mysqld.sock' -uroot -N -B -e \"" + sql + "\" 2>&1";
  FILE* p = ::popen(command.c_str(), "r");
  if (!p) return false;
  std::string text;
  char buf[256];
  while (std::fgets(buf, sizeof buf, p)) text += buf;
  const int status = ::pclose(p);
  if (out) *out = text;
  return status == 0;
}

}  // namespace

bool StalledDatabase::Start(std::string* why) {
  auto& server = SharedMariaDb();
  server.EnsureStarted();
  if (!server.running) {
    *why = server.reason;
    return false;
  }
  std::string out;
  if (!AskServer("CREATE DATABASE IF NOT EXISTS desk CHARACTER SET utf8mb4", &out)) {
    *why = "the database could not be made: " + out;
    return false;
  }
  std::ifstream pidFile(server.dir + "/server.pid");
  if (!(pidFile >> pid_) || pid_ <= 0) {
    *why = "the server's process id is unknown";
    return false;
  }
  return true;
}

std::string StalledDatabase::ConnectionText(int loginSeconds, int querySeconds) const {
  return "MARIADB=127.0.0.1;PORT=" + std::to_string(SharedMariaDb().port) +
         ";DATABASE=desk;UID=root;PWD=;LOGIN_TIMEOUT=" + std::to_string(loginSeconds) +
         ";QUERY_TIMEOUT=" + std::to_string(querySeconds);
}

int StalledDatabase::Connections() const {
  std::string out;
  if (!AskServer("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE DB='desk'", &out)) {
    return -1;
  }
  try {
    return std::stoi(out);
  } catch (...) {
    return -1;
  }
}

bool StalledDatabase::Freeze() {
  if (!agentphone::db::testing::FreezeServer(pid_)) return false;
  frozen_ = true;
  return true;
}

void StalledDatabase::Resume() {
  if (frozen_ && pid_ > 0) ::kill(pid_, SIGCONT);
  frozen_ = false;
}

}  // namespace desk::test
