#include "vomtel/core/settings.h"

#include <gtest/gtest.h>

#include <ostream>
#include <tuple>

#include "support/temp_dir.h"

namespace vomtel {

static auto Fields(const Settings& s) {
  return std::tie(s.ioContextSec, s.ioContextUsec, s.heartbeatPeriod, s.dial, s.answer, s.sst,
                  s.level, s.encryption, s.logPath, s.jpUtf);
}

static bool operator==(const Settings& a, const Settings& b) { return Fields(a) == Fields(b); }

static std::ostream& operator<<(std::ostream& out, const Settings& s) {
  return out << "{sec " << s.ioContextSec << ", usec " << s.ioContextUsec << ", heartbeat "
             << s.heartbeatPeriod << ", dial " << s.dial << ", answer " << s.answer << ", sst "
             << s.sst << ", level " << s.level << ", encryption '" << s.encryption
             << "', logPath '" << s.logPath << "', jpUtf " << s.jpUtf << "}";
}

namespace {

// Settings with the defaults changed by `change`.
template <typename Change>
Settings Expect(Change change) {
  Settings s;
  change(s);
  return s;
}

struct FileCase {
  const char* what;
  const char* content;
  Settings expected;
};

const FileCase kFileCases[] = {
    {"empty file gives the defaults", "", Settings{}},
    {"every key",
     "IOCONTEXT_SEC=1\nIOCONTEXT_USEC=500\nHEARTBEAT_PERIOD=60000\nDIAL=4\nANSWER=5\nSST=6\n"
     "LEVEL=4\nENCRYPTION=aria\nLOGPATH=/var/log/cti\nJPUTF=1\n",
     Expect([](Settings& s) {
       std::tie(s.ioContextSec, s.ioContextUsec, s.heartbeatPeriod, s.dial, s.answer, s.sst,
                s.level, s.jpUtf) = std::make_tuple(1, 500, 60000, 4, 5, 6, 4, 1);
       s.encryption = "aria";
       s.logPath = "/var/log/cti";
     })},
    {"CRLF line ends, an empty CRLF line does not end the reading",
     "HEARTBEAT_PERIOD=50000\r\n\r\nLEVEL=1\r\nLOGPATH=logs\r\n",
     Expect([](Settings& s) { s.heartbeatPeriod = 50000, s.level = 1, s.logPath = "logs"; })},
    {"just past the 32-bit range gives the default", "HEARTBEAT_PERIOD=2147483648\n", Settings{}},
    {"largest 32-bit value is taken", "HEARTBEAT_PERIOD=2147483647\n",
     Expect([](Settings& s) { s.heartbeatPeriod = 2147483647; })},
    {"negative and non-numbers give the default", "SST=-4\nDIAL=abc\nANSWER=-2147483648\n",
     Settings{}},
    {"SST not a number", "SST=abc\n", Settings{}},
    {"leading number of a value", "SST=7 seconds\nHEARTBEAT_PERIOD=40000ms\nDIAL=0x10\n",
     Expect([](Settings& s) { s.sst = 7, s.dial = 0; })},
    {"SST above one byte is clamped", "SST=300\n", Expect([](Settings& s) { s.sst = 255; })},
    {"SST of one byte stays", "SST=255\n", Expect([](Settings& s) { s.sst = 255; })},
    {"LEVEL has no upper limit", "LEVEL=9\nHEARTBEAT_PERIOD=1\nIOCONTEXT_USEC=0\n",
     Expect([](Settings& s) { s.level = 9, s.heartbeatPeriod = 1, s.ioContextUsec = 0; })},
    {"first occurrence of a key wins", "LEVEL = 3\nDIAL=5\nLEVEL=1\n",
     Expect([](Settings& s) { s.level = 3, s.dial = 5; })},
    {"a line without '=' ends the reading", "HEARTBEAT_PERIOD=60000\nword\nLEVEL=3\n",
     Expect([](Settings& s) { s.heartbeatPeriod = 60000; })},
    {"a line of blanks ends the reading", "DIAL=5\n   \nLEVEL=3\n",
     Expect([](Settings& s) { s.dial = 5; })},
    {"section and comment lines are skipped", "[general]\n#LEVEL=3\nDIAL=5\n",
     Expect([](Settings& s) { s.dial = 5; })},
    {"a blank before '#' makes a key, not a comment", " #LEVEL=3\nDIAL=5\n",
     Expect([](Settings& s) { s.dial = 5; })},
    {"empty LOGPATH gives '.'", "LOGPATH=\n", Settings{}},
    {"LOGPATH trimmed", "LOGPATH = \t /srv/logs \t\n",
     Expect([](Settings& s) { s.logPath = "/srv/logs"; })},
    {"later '=' belong to the value", "ENCRYPTION=a=b\n",
     Expect([](Settings& s) { s.encryption = "a=b"; })},
    {"keys are case-sensitive", "level=3\n", Settings{}},
};

TEST(Settings, ReadsTheFileCases) {
  for (const FileCase& c : kFileCases) {
    test::TempDir dir;
    EXPECT_EQ(ReadSettings(dir.WriteFile("vomtel.ini", c.content)), c.expected) << c.what;
  }
}

TEST(Settings, MissingFileGivesTheDefaults) {
  test::TempDir dir;
  EXPECT_EQ(ReadSettings(dir / "vomtel.ini"), Settings{});
}

// The file of the current directory wins over the one of the system directory; the system
// file is read only when there is none in the current directory.
TEST(Settings, LoadLooksInTheCurrentThenTheSystemDirectory) {
  struct Case {
    bool local;
    bool system;
    int level;
  };
  const Case cases[] = {{true, true, 4}, {false, true, 5}, {false, false, 2}};
  for (const Case& c : cases) {
    test::TempDir current;
    test::TempDir system;
    if (c.local) current.WriteFile("vomtel.ini", "LEVEL=4\n");
    if (c.system) system.WriteFile("vomtel.ini", "LEVEL=5\n");
    EXPECT_EQ(LoadSettings(current.Path(), system.Path()).level, c.level)
        << "local " << c.local << " system " << c.system;
    // With no directory given, the search starts in the process's current directory.
    test::CurrentDirectoryScope scope(current.Path());
    EXPECT_EQ(LoadSettings("", system.Path()).level, c.level)
        << "cwd; local " << c.local << " system " << c.system;
  }
}

}  // namespace
}  // namespace vomtel
