#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "agentphone/core/desk_folder.h"
#include "agentphone/core/desk_settings.h"
#include "agentphone/core/desk_start.h"
#include "agentphone/core/instance_lock.h"
#include "agentphone/core/start_options.h"
#include "agentphone/core/text_routines.h"
#include "core_fixture.h"
#include "support/temp_dir.h"

namespace agentphone {
namespace {

TEST(DeskFolder, ChosenByOptionThenEnvironment) {
  std::map<std::string, std::string> env;
  auto lookup = [&env](const char* name) -> std::optional<std::string> {
    auto it = env.find(name);
    if (it == env.end()) return std::nullopt;
    return it->second;
  };
  EXPECT_EQ(ResolveDeskFolder(std::nullopt, lookup), "");
  env["HOME"] = "/home/a";
  EXPECT_EQ(ResolveDeskFolder(std::nullopt, lookup), "/home/a/.config/agentphone");
  env["XDG_CONFIG_HOME"] = "/cfg";
  EXPECT_EQ(ResolveDeskFolder(std::nullopt, lookup), "/cfg/agentphone");
  env["AGENTPHONE_HOME"] = "/desk";
  EXPECT_EQ(ResolveDeskFolder(std::nullopt, lookup), "/desk");
  EXPECT_EQ(ResolveDeskFolder(std::string("/opt/desk"), lookup), "/opt/desk");
}

TEST(DeskFolder, FirstStartWritesDefaultsThatReadBack) {
  vomtel::test::TempDir dir;
  const std::string desk = dir / "new/desk";
  ASSERT_TRUE(PrepareDeskFolder(desk));
  EXPECT_EQ(GetIniValue(desk, "SOFTPHONE.ini", "SOFTPHONE", "LOGIN"), "0");
  EXPECT_EQ(GetIniValue(desk, "SOFTPHONE.ini", "AGENTPHONE", "SERVER"), "127.0.0.1");
  DeskSettings settings(desk);
  EXPECT_EQ(settings.Get(kServerPortKey), "9709");
  // An existing file is left alone.
  ASSERT_TRUE(WriteIniValue(desk, "SOFTPHONE.ini", "AGENTPHONE", "SERVER_PORT", "7000"));
  ASSERT_TRUE(PrepareDeskFolder(desk));
  EXPECT_EQ(DeskSettings(desk).Get(kServerPortKey), "7000");
  EXPECT_FALSE(PrepareDeskFolder(vomtel::test::TempDir().WriteFile("f", "x") + "/sub"));
}

TEST(DeskSettings, EveryKeyIsInTheFirstFileAndOnTheCommandLine) {
  vomtel::test::TempDir dir;
  ASSERT_TRUE(PrepareDeskFolder(dir.Path()));
  const std::string text = vomtel::test::ReadFile(dir / "SOFTPHONE.ini");
  const DeskSettings fromFile(dir.Path());
  const DeskSettings defaults;
  for (const DeskSetting& s : DeskSettingTable()) {
    SCOPED_TRACE(std::string(s.key));
    const std::string key(s.key);
    // Written with its default and its option named in the comment above it.
    EXPECT_NE(text.find("(--" + std::string(s.option) + ")\r\n" + key + "=" +
                        std::string(s.defaultValue) + "\r\n"),
              std::string::npos);
    EXPECT_EQ(GetIniValue(dir.Path(), "SOFTPHONE.ini", "AGENTPHONE", key), s.defaultValue);
    EXPECT_EQ(fromFile.Get(key), defaults.Get(key));
    StartOptions options;
    std::string error;
    ASSERT_TRUE(ParseStartOptions({"--" + std::string(s.option), "v"}, &options, &error)) << error;
    ASSERT_EQ(options.settings.size(), 1u);
    EXPECT_EQ(options.settings[0].first, key);
  }
  // The keys that the other modules of the program read.
  for (std::string_view key : {kCallbackDbKey, kStatsDbKey, kLoginTimeoutKey, kQueryTimeoutKey,
                               kDbCheckKey, kDialBindKey, kBrowserKey, kPageBrowserKey, kHttpTimeoutKey}) {
    EXPECT_TRUE(std::any_of(DeskSettingTable().begin(), DeskSettingTable().end(),
                            [key](const DeskSetting& s) { return s.key == key; }))
        << key;
  }
  EXPECT_EQ(defaults.Get(kBrowserKey), "");  // a browser is looked for on the PATH
  EXPECT_EQ(defaults.Get(kHttpTimeoutKey), "5000");
}

TEST(DeskSettings, CommandLineWinsOverTheFile) {
  vomtel::test::TempDir dir;
  dir.WriteFile("SOFTPHONE.ini", "[AGENTPHONE]\nSERVER=10.1.1.1\nSERVER_PORT=\n");
  DeskSettings settings(dir.Path());
  EXPECT_EQ(settings.Get(kServerKey), "10.1.1.1");
  EXPECT_EQ(settings.Get(kServerPortKey), "9709");  // empty in the file: the default
  StartOptions options;
  std::string error;
  ASSERT_TRUE(ParseStartOptions({"--home", "/d", "--server=10.2.2.2", "--dial-bind", "0.0.0.0"},
                                &options, &error));
  EXPECT_EQ(options.home, std::optional<std::string>("/d"));
  for (const auto& [key, value] : options.settings) settings.Override(key, value);
  EXPECT_EQ(settings.Get(kServerKey), "10.2.2.2");
  EXPECT_EQ(settings.Get(kDialBindKey), "0.0.0.0");
  EXPECT_EQ(settings.Get("NOT_A_KEY"), "");

  EXPECT_FALSE(ParseStartOptions({"--colour", "red"}, &options, &error));
  EXPECT_EQ(error, "unknown option: --colour");
  EXPECT_FALSE(ParseStartOptions({"--server"}, &options, &error));
  EXPECT_FALSE(ParseStartOptions({"stray"}, &options, &error));
}

TEST(InstanceLock, OneHolderPerDeskFolder) {
  vomtel::test::TempDir dir;
  auto first = InstanceLock::Acquire(dir.Path());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(InstanceLock::Acquire(dir.Path()), nullptr);
  vomtel::test::TempDir other;
  EXPECT_NE(InstanceLock::Acquire(other.Path()), nullptr);
  first.reset();
  EXPECT_NE(InstanceLock::Acquire(dir.Path()), nullptr);
}

TEST(DeskStart, ALockThatCannotBeMadeNamesTheFolderAndOnlyAHeldOneIsAnotherInstance) {
  struct Case {
    const char* what;
    bool needsPermissionBits;  // root writes a read-only folder all the same
    // Makes the lock unobtainable in the prepared folder; what it holds lives as long as the case.
    std::function<std::shared_ptr<void>(const std::filesystem::path&)> prepare;
    StartResult result;
  } cases[] = {
      {"another instance holds the lock", false,
       [](const std::filesystem::path& desk) -> std::shared_ptr<void> {
         return InstanceLock::Acquire(desk);
       },
       StartResult::kAlreadyRunning},
      {"a read-only folder", true,
       [](const std::filesystem::path& desk) -> std::shared_ptr<void> {
         ::chmod(desk.c_str(), 0555);
         return std::shared_ptr<void>(nullptr, [desk](void*) { ::chmod(desk.c_str(), 0755); });
       },
       StartResult::kFolderNotWritable},
      {"the lock's name taken by a folder", false,
       [](const std::filesystem::path& desk) -> std::shared_ptr<void> {
         std::filesystem::create_directory(desk / "agentphone.lock");
         return nullptr;
       },
       StartResult::kFolderNotWritable},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.needsPermissionBits && ::geteuid() == 0) continue;
    vomtel::test::TempDir dir;
    const std::filesystem::path desk = dir / "desk";
    ASSERT_TRUE(PrepareDeskFolder(desk));
    const std::shared_ptr<void> held = c.prepare(desk);
    test::FakeDialogs boxes;  // a start shows message boxes only
    DeskStart out;
    std::string error;
    EXPECT_EQ(StartDesk({"--home", desk.string()}, boxes, &out, &error), c.result);
    EXPECT_EQ(out.lock, nullptr);
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].title, kProgramTitle);
    EXPECT_EQ(boxes.messages[0].icon, MessageIcon::kExclamation);
    if (c.result == StartResult::kAlreadyRunning) {
      EXPECT_EQ(boxes.messages[0].text, kAlreadyRunningText);
    } else {
      EXPECT_EQ(boxes.messages[0].text.rfind(kFolderNotWritableText, 0), 0u) << boxes.messages[0].text;
      EXPECT_NE(boxes.messages[0].text.find(desk.string()), std::string::npos) << boxes.messages[0].text;
      EXPECT_NE(error.find(desk.string()), std::string::npos) << error;
    }
  }
}

}  // namespace
}  // namespace agentphone
