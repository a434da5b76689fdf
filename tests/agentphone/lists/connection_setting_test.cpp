#include "agentphone/core/lists/connection_setting.h"

#include <gtest/gtest.h>

namespace agentphone::lists {
namespace {

const std::filesystem::path kDesk = "/desk";

TEST(ConnectionSetting, TheThreeFormsAndTheEmbeddedDefault) {
  ConnectionSetting s = ParseConnectionSetting("", kDesk);
  EXPECT_EQ(s.driver, DbDriver::kSqlite);
  EXPECT_EQ(s.file, kDesk / "softphone.db");
  EXPECT_TRUE(s.demoRows);

  s = ParseConnectionSetting("SQLITE=lists/cb.db;QUERY_TIMEOUT=3", kDesk);
  EXPECT_EQ(s.driver, DbDriver::kSqlite);
  EXPECT_EQ(s.file, kDesk / "lists/cb.db");
  EXPECT_FALSE(s.demoRows);
  EXPECT_EQ(s.queryTimeoutSeconds, 3);
  EXPECT_EQ(ParseConnectionSetting("SQLITE=/var/cc.db", kDesk).file, "/var/cc.db");

  s = ParseConnectionSetting(
      "MARIADB=db.local; PORT=3307;DATABASE=cc;UID=상담원;PWD={p;w}};d};LOGIN_TIMEOUT=2", kDesk);
  EXPECT_EQ(s.driver, DbDriver::kMariaDb);
  EXPECT_EQ(s.host, "db.local");
  EXPECT_EQ(s.port, 3307);
  EXPECT_EQ(s.database, "cc");
  EXPECT_EQ(s.user, "상담원");
  EXPECT_EQ(s.password, "p;w};d");
  EXPECT_EQ(s.loginTimeoutSeconds, 2);
  EXPECT_TRUE(s.error.empty()) << s.error;

  s = ParseConnectionSetting(
      "DRIVER={MariaDB Unicode};SERVER=10.0.0.5;UID=agent;PWD={a;b};DATABASE=cc;"
      "LOGIN_TIMEOUT=4;QUERY_TIMEOUT=9",
      kDesk);
  EXPECT_EQ(s.driver, DbDriver::kOdbc);
  EXPECT_EQ(s.odbcText, "DRIVER={MariaDB Unicode};SERVER=10.0.0.5;UID=agent;PWD={a;b};DATABASE=cc");
  EXPECT_EQ(s.loginTimeoutSeconds, 4);
  EXPECT_EQ(s.queryTimeoutSeconds, 9);
}

TEST(ConnectionSetting, BadTextsAreRefusedWithAReason) {
  for (const char* text : {"DRIVER={MariaDB Unicode;SERVER=x", "MARIADB=;DATABASE=cc",
                           "MARIADB=h;PORT=99999", "MARIADB=h;PORT=12x", "MARIADB=h;COLOR=red",
                           "SQLITE=", "DSN=cc;LOGIN_TIMEOUT=-1", "DSN=cc;QUERY_TIMEOUT=soon"}) {
    EXPECT_FALSE(ParseConnectionSetting(text, kDesk).error.empty()) << text;
  }
}

}  // namespace
}  // namespace agentphone::lists
