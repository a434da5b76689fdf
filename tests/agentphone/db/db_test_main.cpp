#include <gtest/gtest.h>

#include <QCoreApplication>

#include "tests/agentphone/db/mariadb_fixture.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  const int rc = RUN_ALL_TESTS();
  agentphone::db::testing::SharedMariaDb().Stop();
  return rc;
}
