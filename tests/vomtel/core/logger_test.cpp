#include "vomtel/core/logger.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "support/temp_dir.h"

namespace vomtel {
namespace {

const std::string kPid = std::to_string(::getpid());
const std::string kBom = "\xEF\xBB\xBF";

// Names of the files in `directory`, sorted.
std::vector<std::string> FilesIn(const std::string& directory) {
  std::vector<std::string> names;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(directory, ignored)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A logger of the server 10.1.2.3 with its folder "vomtellog" in a scratch directory and a
// clock that the test sets.
struct LogBench {
  LogBench() : logger([this] { return now; }) {
    logger.SetName("10.1.2.3");
    logger.SetDn("5001");
    EXPECT_TRUE(logger.SetPath(dir.Path(), "vomtellog"));
  }
  std::string Folder() const { return dir / "vomtellog"; }
  std::string Read(const std::string& name) const { return test::ReadFile(Folder() + "/" + name); }

  test::TempDir dir;
  LocalTime now{2026, 12, 10, 9, 5, 3, 7};
  CLogger logger;
};

TEST(Logger, ThresholdFiltersLinesAndPutsTheDnIntoTheNameAboveThree) {
  const std::string plain = "VOMTEL_20261210_10.1.2.3[" + kPid + "].log";
  const std::string withDn = "VOMTEL_20261210_DN[5001]_10.1.2.3[" + kPid + "].log";
  const std::string info = "[09:05:03:007] info\n";
  const std::string debug = "[09:05:03:007] debug\n";
  const std::string error = "[09:05:03:007] error\n";
  struct Case {
    int threshold;
    std::string file;  // empty: nothing is written
    std::string content;
  };
  const Case cases[] = {
      {0, "", ""},
      {1, plain, info},
      {2, plain, info + debug},
      {3, plain, info + debug + error},
      {4, withDn, info + debug + error},
  };
  for (const Case& c : cases) {
    LogBench bench;
    bench.logger.SetLevel(c.threshold);
    bench.logger.Write("info", kLogInfo);
    bench.logger.Write("debug", kLogDebug);
    bench.logger.Write("error", kLogVerbose);
    const auto files = FilesIn(bench.Folder());
    if (c.file.empty()) {
      EXPECT_TRUE(files.empty()) << "threshold " << c.threshold;
      continue;
    }
    EXPECT_EQ(files, std::vector<std::string>{c.file}) << "threshold " << c.threshold;
    EXPECT_EQ(bench.Read(c.file), c.content) << "threshold " << c.threshold;
  }
}

TEST(Logger, EnabledTellsWhetherALineOfTheLevelIsWritten) {
  CLogger logger;
  EXPECT_TRUE(logger.Enabled(kLogInfo));  // threshold 1 until set
  EXPECT_FALSE(logger.Enabled(kLogDebug));
  for (int threshold = 0; threshold <= 4; ++threshold) {
    logger.SetLevel(threshold);
    for (int level = kLogInfo; level <= kLogVerbose; ++level) {
      EXPECT_EQ(logger.Enabled(level), level <= threshold)
          << "threshold " << threshold << " level " << level;
    }
  }
}

TEST(Logger, NewFileAfterMidnightAndAfterTheFileIsRemoved) {
  LogBench bench;
  bench.now = {2026, 12, 9, 23, 59, 59, 999};
  bench.logger.Write("before", kLogInfo);
  bench.now = {2026, 12, 10, 0, 0, 0, 0};
  bench.logger.Write("after", kLogInfo);
  const std::string before = "VOMTEL_20261209_10.1.2.3[" + kPid + "].log";
  const std::string after = "VOMTEL_20261210_10.1.2.3[" + kPid + "].log";
  EXPECT_EQ(FilesIn(bench.Folder()), (std::vector<std::string>{before, after}));
  EXPECT_EQ(bench.Read(before), "[23:59:59:999] before\n");
  EXPECT_EQ(bench.Read(after), "[00:00:00:000] after\n");

  // No handle is kept: a removed file is made again by the next line.
  std::filesystem::remove(bench.Folder() + "/" + after);
  bench.logger.Write("again", kLogInfo);
  EXPECT_EQ(bench.Read(after), "[00:00:00:000] again\n");
}

TEST(Logger, Utf8FormMarksOnlyANewFile) {
  LogBench bench;
  const std::string file = "VOMTEL_20261210_10.1.2.3[" + kPid + "].log";
  bench.logger.SetUtf8(true);
  bench.logger.Write("a", kLogInfo);
  bench.logger.Write("\xA2\xB7\xA2\xB7 b", kLogInfo);  // bytes go out as handed in
  EXPECT_EQ(bench.Read(file), kBom + "[09:05:03:007] a\n[09:05:03:007] \xA2\xB7\xA2\xB7 b\n");

  // A file begun in the plain form gets no mark later on.
  bench.now.day = 11;
  const std::string next = "VOMTEL_20261211_10.1.2.3[" + kPid + "].log";
  bench.logger.SetUtf8(false);
  bench.logger.Write("plain", kLogInfo);
  bench.logger.SetUtf8(true);
  bench.logger.Write("utf8", kLogInfo);
  EXPECT_EQ(bench.Read(next), "[09:05:03:007] plain\n[09:05:03:007] utf8\n");
}

TEST(Logger, AddressAndDnCannotLeaveTheLogFolder) {
  struct Case {
    std::string name;
    std::string dn;
    std::string file;
  };
  using namespace std::string_literals;
  const Case cases[] = {
      {"../../x", "5001", "VOMTEL_20261210_DN[5001]_______x[" + kPid + "].log"},
      {"10.1.2.3", "/..", "VOMTEL_20261210_DN[___]_10.1.2.3[" + kPid + "].log"},
      {"a\0b"s, "...", "VOMTEL_20261210_DN[___]_a_b[" + kPid + "].log"},
  };
  for (const Case& c : cases) {
    LogBench bench;
    bench.logger.SetLevel(4);
    bench.logger.SetName(c.name);
    bench.logger.SetDn(c.dn);
    bench.logger.Write("x", kLogInfo);
    EXPECT_EQ(FilesIn(bench.Folder()), std::vector<std::string>{c.file}) << c.name << " " << c.dn;
    EXPECT_EQ(FilesIn(bench.dir.Path()), std::vector<std::string>{"vomtellog"});
  }
}

TEST(Logger, UnwritableFolderDropsLinesWithoutThrowing) {
  test::TempDir dir;
  dir.WriteFile("plain", "x");
  for (const bool utf8 : {false, true}) {
    CLogger logger;
    logger.SetLevel(3);
    logger.SetUtf8(utf8);
    EXPECT_FALSE(logger.SetPath(dir.Path(), "plain/vomtellog"));  // under a file
    EXPECT_EQ(logger.Directory(), dir / "plain/vomtellog");         // set all the same
    EXPECT_NO_THROW(logger.Write("dropped", kLogVerbose));
  }
  EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"plain"});
  EXPECT_EQ(test::ReadFile(dir / "plain"), "x");
}

TEST(Logger, SetPathFallsBackToTheCurrentDirectory) {
  test::TempDir base;
  test::TempDir current;
  base.WriteFile("file", "x");
  ::mkdir((base / "readonly").c_str(), 0500);
  ::mkdir((base / "unsearchable").c_str(), 0600);  // read and write, but no entry can be made
  test::CurrentDirectoryScope scope(current.Path());
  struct Case {
    std::string base;
    std::string expected;
  };
  const Case cases[] = {
      {base.Path(), base / "vomtellog"},
      {base / "missing", current / "vomtellog"},
      {base / "file", current / "vomtellog"},
      {"", current / "vomtellog"},
      // Root may write anywhere, so this one falls back only for other users.
      {base / "readonly",
       ::geteuid() == 0 ? base / "readonly/vomtellog" : current / "vomtellog"},
      {base / "unsearchable",
       ::geteuid() == 0 ? base / "unsearchable/vomtellog" : current / "vomtellog"},
  };
  for (const Case& c : cases) {
    CLogger logger;
    EXPECT_TRUE(logger.SetPath(c.base, "vomtellog")) << c.base;
    EXPECT_EQ(logger.Directory(), c.expected) << c.base;
    EXPECT_TRUE(IsDirectory(c.expected)) << c.base;
    EXPECT_TRUE(logger.SetPath(c.base, "vomtellog")) << "existing folder " << c.base;
  }
}

TEST(Logger, WithoutFolderLinesGoToTheCurrentDirectory) {
  test::TempDir current;
  test::CurrentDirectoryScope scope(current.Path());
  CLogger logger;
  logger.SetName("h");
  logger.Write("x", kLogInfo);
  const auto files = FilesIn(current.Path());
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].rfind("VOMTEL_", 0), 0u) << files[0];
  EXPECT_EQ(files[0].substr(files[0].size() - kPid.size() - 7), "h[" + kPid + "].log");
}

// Two loggers of sessions on the same server write to one file: every line stays whole.
TEST(Logger, LoggersSharingAFileNeverTearLines) {
  LogBench bench;
  CLogger second([&bench] { return bench.now; });
  second.SetName("10.1.2.3");
  ASSERT_TRUE(second.SetPath(bench.dir.Path(), "vomtellog"));
  const std::string text(200, 'q');
  constexpr int kLinesPerThread = 300;
  std::vector<std::thread> writers;
  for (CLogger* logger : {&bench.logger, &second, &bench.logger, &second}) {
    writers.emplace_back([logger, &text] {
      for (int i = 0; i < kLinesPerThread; ++i) logger->Write(text, kLogInfo);
    });
  }
  for (std::thread& writer : writers) writer.join();

  std::istringstream lines(bench.Read("VOMTEL_20261210_10.1.2.3[" + kPid + "].log"));
  int count = 0;
  for (std::string line; std::getline(lines, line); ++count) {
    ASSERT_EQ(line, "[09:05:03:007] " + text) << "line " << count;
  }
  EXPECT_EQ(count, 4 * kLinesPerThread);
}

}  // namespace
}  // namespace vomtel
