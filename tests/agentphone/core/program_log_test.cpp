#include "agentphone/core/program_log.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace agentphone {
namespace {

TEST(ProgramLog, LinesGoToTheFileOfTheirDay) {
  vomtel::test::TempDir dir;
  ManualClock clock({2026, 12, 31, 23, 59, 59});
  ProgramLog log(dir.Path(), clock);
  log.WriteLog("SoftPhone Login Start");
  log.WriteLog("[CTI OPENSERVER 실패]3014");
  clock.Set({2027, 1, 1, 0, 0, 0});
  log.WriteLog("next day");
  EXPECT_EQ(vomtel::test::ReadFile(dir / "SoftPhoneLOG/20261231.Log"),
            "[23:59:59] : SoftPhone Login Start\r\n[23:59:59] : [CTI OPENSERVER 실패]3014\r\n");
  EXPECT_EQ(vomtel::test::ReadFile(dir / "SoftPhoneLOG/20270101.Log"), "[00:00:00] : next day\r\n");
}

TEST(ProgramLog, AFolderThatCannotBeMadeLosesTheLineQuietly) {
  vomtel::test::TempDir dir;
  dir.WriteFile("blocker", "a file where the desk folder should be");
  ManualClock clock;
  ProgramLog log(dir / "blocker", clock);
  log.WriteLog("lost");  // no throw, no crash
  EXPECT_EQ(vomtel::test::ReadFile(dir / "blocker"), "a file where the desk folder should be");
}

}  // namespace
}  // namespace agentphone
