// A MariaDB server of the desk tests (the database tests' private server, started once per
// test program and stopped at its end) and a way to make it stop answering: SIGSTOP freezes
// the server with its connections open, as a server that hangs does; SIGCONT lets it go on.
#pragma once

#include <string>

#include "tests/agentphone/db/mariadb_fixture.h"

namespace desk::test {

class StalledDatabase {
 public:
  // Starts the shared server when needed and makes the database `desk`; false with the reason.
  bool Start(std::string* why);
  // The connection text of the desk settings, with the given driver time-outs in seconds.
  std::string ConnectionText(int loginSeconds, int querySeconds) const;
  // Connections that the server holds on the database `desk` (-1 when it cannot be asked).
  int Connections() const;

  // Freezes the server; Resume (also run by the destructor) lets it go on.
  bool Freeze();
  void Resume();
  ~StalledDatabase() { Resume(); }

 private:
  int pid_ = -1;
  bool frozen_ = false;
};

// Skips the test with the reason when the server cannot run, unless
// AGENTPHONE_REQUIRE_MARIADB=1 makes that a failure (as CI sets it).
#define DESK_REQUIRE_MARIADB(server)                                   \
  do {                                                                 \
    std::string why_;                                                  \
    if (!(server).Start(&why_)) {                                      \
      if (agentphone::db::testing::MariaDbRequired()) FAIL() << why_;  \
      GTEST_SKIP() << why_;                                            \
    }                                                                  \
  } while (0)

}  // namespace desk::test
