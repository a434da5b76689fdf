#include "vomtel_ocx/log/trace_log.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "vomtel_ocx/log/trace_log_hooks.h"

namespace {

namespace fs = std::filesystem;
using vomtel::test::ReadFile;
using vomtel::test::TempDir;

// A drive root in a scratch folder, a clock the test sets and a sink that keeps what the
// debugger would have shown.
class TraceLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("VOMTEL_DRIVE_ROOT", root_.Path().c_str(), 1);
    fs::create_directories(root_ / "C/softphone");
    SetTraceLogClock([this] { return now_; });
    SetTraceLogSink([this](const char* text) { debugger_.push_back(text); });
  }
  void TearDown() override {
    SetTraceLogEnabled(0);
    SetTraceLogDirectory(nullptr);
    SetTraceLogClock({});
    SetTraceLogSink({});
    ::unsetenv("VOMTEL_DRIVE_ROOT");
  }
  std::string DayFile(const std::string& folder, const std::string& date) const {
    return root_ / (folder + "/" + date + "KWLog.log");
  }
  size_t FilesUnderRoot() const {
    size_t n = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root_.Path())) {
      if (entry.is_regular_file()) ++n;
    }
    return n;
  }

  TempDir root_;
  TraceLogTime now_{2026, 12, 9, 10, 11, 12, 7};
  std::vector<std::string> debugger_;
};

TEST_F(TraceLogTest, NeverEnabledWritesNothingAnywhere) {
  SetTraceLogDirectory("C:\\softphone");
  EXPECT_EQ(TraceLog("getevent return [%d]", 3010), 1);
  EXPECT_TRUE(debugger_.empty());
  EXPECT_EQ(FilesUnderRoot(), 0u);
}

TEST_F(TraceLogTest, LineGoesToDebuggerAndDayFileWithTheirOwnStamps) {
  SetTraceLogEnabled(1);
  SetTraceLogDirectory("C:\\softphone");
  EXPECT_EQ(TraceLog("event timer id [%u]", 3333u), 1);
  now_.millisecond = 123;
  EXPECT_EQ(TraceLog("endfire..........!"), 1);

  // Three strings per line, no blank after the stamp; two-digit milliseconds at least.
  EXPECT_EQ(debugger_, (std::vector<std::string>{
                           "[2026-12-09 10:11:12:07]", "event timer id [3333]", "\n",
                           "[2026-12-09 10:11:12:123]", "endfire..........!", "\n"}));
  // Three-digit milliseconds, an empty tag, CR LF; lines appended in order.
  EXPECT_EQ(ReadFile(DayFile("C/softphone", "20261209")),
            "[2026-12-09 10:11:12:007] <> event timer id [3333]\r\n"
            "[2026-12-09 10:11:12:123] <> endfire..........!\r\n");
}

// The file is written as a text-mode append writes: a CR before every LF of the message, one
// before a CR LF's LF too, and a bare CR as it is; the debugger gets the message unchanged.
TEST_F(TraceLogTest, LineFeedsInAMessageBecomeCrLfInTheFile) {
  SetTraceLogEnabled(1);
  SetTraceLogDirectory("C:\\softphone");
  const char* const messages[] = {"two\nlines\n", "crlf\r\nend", "bare\rcr"};
  for (const char* message : messages) EXPECT_EQ(TraceLog("%s", message), 1);
  EXPECT_EQ(debugger_[1], "two\nlines\n");
  EXPECT_EQ(debugger_[4], "crlf\r\nend");
  EXPECT_EQ(ReadFile(DayFile("C/softphone", "20261209")),
            "[2026-12-09 10:11:12:007] <> two\r\nlines\r\n\r\n"
            "[2026-12-09 10:11:12:007] <> crlf\r\r\nend\r\n"
            "[2026-12-09 10:11:12:007] <> bare\rcr\r\n");
}

TEST_F(TraceLogTest, LinesOnEitherSideOfMidnightLandInTwoFiles) {
  SetTraceLogEnabled(1);
  SetTraceLogDirectory("C:\\softphone");
  now_ = {2026, 12, 31, 23, 59, 59, 999};
  TraceLog("before");
  now_ = {2027, 1, 1, 0, 0, 0, 1};
  TraceLog("after");
  EXPECT_EQ(ReadFile(DayFile("C/softphone", "20261231")),
            "[2026-12-31 23:59:59:999] <> before\r\n");
  EXPECT_EQ(ReadFile(DayFile("C/softphone", "20270101")),
            "[2027-01-01 00:00:00:001] <> after\r\n");
}

TEST_F(TraceLogTest, MissingFolderOrNoFolderKeepsTheDebuggerLineAndCreatesNothing) {
  SetTraceLogEnabled(1);
  SetTraceLogDirectory("C:\\nowhere\\logs");
  EXPECT_EQ(TraceLog("one"), 1);
  SetTraceLogDirectory(nullptr);
  EXPECT_EQ(TraceLog("two"), 1);
  EXPECT_EQ(debugger_.size(), 6u);
  EXPECT_EQ(debugger_[4], "two");
  EXPECT_FALSE(fs::exists(root_ / "C/nowhere"));
  EXPECT_EQ(FilesUnderRoot(), 0u);
}

TEST_F(TraceLogTest, TurnedOffAgainWritesNoMore) {
  SetTraceLogEnabled(5);
  TraceLog("on");
  SetTraceLogEnabled(0);
  TraceLog("off");
  EXPECT_EQ(debugger_.size(), 3u);
}

TEST_F(TraceLogTest, OverlongMessageIsCutNotDropped) {
  SetTraceLogEnabled(1);
  SetTraceLogDirectory("C:\\softphone");
  const std::string big(kTraceMessageMax + 500, 'x');
  EXPECT_EQ(TraceLog("%s", big.c_str()), 1);
  ASSERT_EQ(debugger_.size(), 3u);
  EXPECT_EQ(debugger_[1], std::string(kTraceMessageMax, 'x'));
  EXPECT_EQ(ReadFile(DayFile("C/softphone", "20261209")),
            "[2026-12-09 10:11:12:007] <> " + std::string(kTraceMessageMax, 'x') + "\r\n");
}

TEST_F(TraceLogTest, UnformattableMessageIsDroppedWithZero) {
  SetTraceLogEnabled(1);
  // A wide character that the C locale cannot encode makes the formatting fail.
  EXPECT_EQ(TraceLog("%ls", L"\u00e9"), 0);
  EXPECT_TRUE(debugger_.empty());
}

// "C:\" + a + "\" + b + "\20261209KWLog.log": 259 characters fit, 260 skip the file.
TEST_F(TraceLogTest, PathLongerThanTheLimitSkipsTheFileInsteadOfCuttingIt) {
  SetTraceLogEnabled(1);
  const std::string a(120, 'a');
  for (const size_t bLength : {117u, 118u}) {
    SCOPED_TRACE(bLength);
    const std::string b(bLength, 'b');
    const std::string windows = "C:\\" + a + "\\" + b;
    ASSERT_EQ(windows.size() + std::string("\\20261209KWLog.log").size(), 142 + bLength);
    fs::create_directories(root_ / ("C/" + a + "/" + b));
    SetTraceLogDirectory(windows.c_str());
    TraceLog("long path");
    const bool written = fs::exists(DayFile("C/" + a + "/" + b, "20261209"));
    EXPECT_EQ(written, 142 + bLength <= static_cast<size_t>(kTracePathMax));
  }
  EXPECT_EQ(debugger_.size(), 6u);
}

}  // namespace
