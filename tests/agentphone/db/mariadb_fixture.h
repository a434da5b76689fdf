// A private MariaDB server for the database tests, started by the first test that needs it
// (through mariadb_server.sh) and stopped by its process id at the end of the program. When mariadbd is not installed
// the MariaDB cases are skipped with the reason, unless AGENTPHONE_REQUIRE_MARIADB=1 (as CI
// sets it) makes that a failure.
#pragma once

#include <string>

namespace agentphone::db::testing {

struct MariaDbServer {
  bool running = false;
  int port = 0;
  std::string reason;  // why it is not running
  std::string dir;

  // Starts the server at the first call; later calls return at once.
  void EnsureStarted();
  void Stop();

 private:
  bool tried_ = false;
};

MariaDbServer& SharedMariaDb();

// Whether a server that cannot run fails the test instead of skipping it
// (AGENTPHONE_REQUIRE_MARIADB=1, as CI sets it).
bool MariaDbRequired();

// Stops the server process `pid` with SIGSTOP, as a server that hangs, and returns once the
// system shows it stopped (false when it does not within a few seconds).
bool FreezeServer(int pid);

}  // namespace agentphone::db::testing
