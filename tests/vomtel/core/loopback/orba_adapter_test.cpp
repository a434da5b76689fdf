// The adapter: one instance per process, the request counter, and the server open with its
// log settings and version line.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/version/file_version.h"
#include "tests/support/temp_dir.h"
#include "tests/vomtel/core/loopback/loopback_fixture.h"
#include "vomtel/core/logger.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/core/result_codes.h"
#include "vomtel/requests/call/device_requests.h"

namespace vomtel::test {
namespace {

// The text of the log files in `folder` whose name holds `ip`.
std::string LogOf(const std::string& folder, const std::string& ip) {
  std::string text;
  if (!std::filesystem::is_directory(folder)) return text;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().filename().string().find(ip) != std::string::npos) {
      text += ReadFile(entry.path().string());
    }
  }
  return text;
}

std::size_t CountOf(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

TEST(OrbaAdapter, InstanceIsMadeOnce) {
  std::vector<OrbaAdapter*> seen(8, nullptr);
  std::vector<std::thread> threads;
  for (auto& slot : seen) threads.emplace_back([&slot] { slot = &OrbaAdapter::Instance(); });
  for (auto& thread : threads) thread.join();
  for (OrbaAdapter* adapter : seen) EXPECT_EQ(adapter, &OrbaAdapter::Instance());
}

TEST(OrbaAdapter, RequestNumbers) {
  OrbaAdapter adapter{Settings{}};
  EXPECT_EQ(adapter.NextRequestNumber(), 2);
  EXPECT_EQ(adapter.NextRequestNumber(), 3);
  for (int i = 4; i <= 65535; ++i) adapter.NextRequestNumber();
  EXPECT_EQ(adapter.NextRequestNumber(), 0);
  EXPECT_EQ(adapter.NextRequestNumber(), 1);

  // Taken from several threads at once, no number is handed out twice.
  constexpr int kThreads = 4;
  constexpr int kEach = 5000;
  std::vector<std::vector<std::uint16_t>> taken(kThreads);
  std::vector<std::thread> threads;
  for (auto& mine : taken) {
    threads.emplace_back([&adapter, &mine] {
      for (int i = 0; i < kEach; ++i) mine.push_back(adapter.NextRequestNumber());
    });
  }
  for (auto& thread : threads) thread.join();
  std::set<std::uint16_t> all;
  for (const auto& mine : taken) all.insert(mine.begin(), mine.end());
  EXPECT_EQ(all.size(), static_cast<std::size_t>(kThreads * kEach));
}

// The device requests show the adapter's counter in their log lines without advancing it,
// whichever request took the number before.
TEST(OrbaAdapter, DeviceRequestsLogTheCounterAsItStands) {
  TempDir dir;
  Settings settings;
  settings.logPath = dir.Path();
  settings.level = 1;
  OrbaAdapter adapter(settings, ShortTimings());
  ctisim::SimServer server(SimAt("127.0.0.1"));
  adapter.AddServer("127.0.0.1", server.Port(), 0, 1, "3001", "app", 0, 0);
  int gate = -1;
  ASSERT_EQ(adapter.OpenServer(&gate), kOk);
  EXPECT_EQ(adapter.RequestCounter(), 1);
  for (int i = 0; i < 41; ++i) adapter.NextRequestNumber();  // as the list queries take them
  ASSERT_EQ(adapter.RequestCounter(), 42);

  EXPECT_EQ(AddDevice(adapter, "3001", 1, 0, gate), kOk);
  EXPECT_EQ(RemoveDevice(adapter, "3001", gate), kOk);
  EXPECT_EQ(adapter.RequestCounter(), 42);
  const std::string log = LogOf(dir / kLogFolderName, "127.0.0.1");
  EXPECT_NE(log.find("vomtelAddDevice: gate[0] Inv[42]"), std::string::npos);
  EXPECT_NE(log.find("vomtelRemoveDevice: gate[0] Inv[42]"), std::string::npos);
  adapter.Proxy().CloseAll();
}

TEST(OrbaAdapter, OpenServerWritesTheVersionLineForGateZero) {
  TempDir dir;
  Settings settings;
  settings.logPath = dir.Path();
  settings.level = 1;
  OrbaAdapter adapter(settings, ShortTimings());
  ctisim::SimServer first(SimAt("127.0.0.1"));
  ctisim::SimServer second(SimAt("127.0.0.2"));
  const std::string folder = dir / kLogFolderName;
  const std::string line = "VOMTEL.dll version[" + FileVersionText() + "]\n";

  EXPECT_EQ(adapter.SetLogPath(dir.Path()), 0);  // no server recorded yet
  EXPECT_EQ(adapter.AddServer("127.0.0.1", first.Port(), 0, 1, "3001", "app", 0, 0), 1);
  EXPECT_EQ(first.AcceptedConnections(), 0);  // recorded only
  EXPECT_EQ(adapter.SetLogPath(dir.Path()), 1);
  int gate = -1;
  ASSERT_EQ(adapter.OpenServer(&gate), kOk);
  EXPECT_EQ(gate, 0);
  EXPECT_EQ(CountOf(LogOf(folder, "127.0.0.1"), line), 1u);

  // A second gate: its own log gets no version line, gate 0's gets it.
  adapter.AddServer("127.0.0.2", second.Port(), 0, 1, "3002", "app", 0, 0);
  ASSERT_EQ(adapter.OpenServer(&gate), kOk);
  EXPECT_EQ(gate, 1);
  EXPECT_EQ(CountOf(LogOf(folder, "127.0.0.1"), line), 2u);
  EXPECT_EQ(CountOf(LogOf(folder, "127.0.0.2"), line), 0u);
  EXPECT_NE(LogOf(folder, "127.0.0.2").find("vomtelOpenServer"), std::string::npos);

  adapter.Log("for nobody", 7);  // no such gate: nothing, no harm
  adapter.Proxy().CloseAll();
}

TEST(OrbaAdapter, LogEnabledFollowsTheThresholdOfTheGatesSession) {
  for (int level = 0; level <= 2; ++level) {
    SCOPED_TRACE(level);
    TempDir dir;
    Settings settings;
    settings.logPath = dir.Path();
    settings.level = level;
    OrbaAdapter adapter(settings, ShortTimings());
    ctisim::SimServer server(SimAt("127.0.0.1"));
    adapter.AddServer("127.0.0.1", server.Port(), 0, 1, "3001", "app", 0, 0);
    int gate = -1;
    ASSERT_EQ(adapter.OpenServer(&gate), kOk);
    EXPECT_EQ(adapter.LogEnabled(gate, kLogInfo), level >= kLogInfo);
    EXPECT_EQ(adapter.LogEnabled(gate, kLogDebug), level >= kLogDebug);
    EXPECT_FALSE(adapter.LogEnabled(gate + 1, kLogInfo));  // no such gate
    adapter.Proxy().CloseAll();
    EXPECT_FALSE(adapter.LogEnabled(gate, kLogInfo));
  }
}

TEST(OrbaAdapter, FailedOpenServer) {
  TempDir dir;
  Settings settings;
  settings.logPath = dir.Path();
  OrbaAdapter adapter(settings, ShortTimings());
  adapter.AddServer("127.0.0.1", 1, 0, 1, "3001", "app", 0, 0);  // nothing listens
  int gate = -1;
  EXPECT_EQ(adapter.OpenServer(&gate), kNotConnected);
  EXPECT_EQ(gate, 0);
  EXPECT_EQ(adapter.GetVersion(0), 0);
  EXPECT_EQ(LogOf(dir / kLogFolderName, "127.0.0.1").find("VOMTEL.dll version["),
            std::string::npos);
}

}  // namespace
}  // namespace vomtel::test
