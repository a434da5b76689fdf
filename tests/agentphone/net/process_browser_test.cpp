// The screen-pop browser as a real process: a small script stands in for the browser, writes
// the words it was started with to a file named after its process id and stays until ended.
#include "agentphone/net/process_browser.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "agentphone/core/manual_timers.h"
#include "agentphone/core/screen_pop/pop_urls.h"
#include "agentphone/core/screen_pop/screen_pop_service.h"
#include "agentphone/dial_server/recording_phone.h"
#include "tests/agentphone/net/wait_until.h"

namespace agentphone {
namespace {

using net_testing::WaitUntil;

class NoBrowser : public Browser {
 public:
  int64_t Open(const std::string&) override { return 0; }
  void End(int64_t) override {}
};

class NoHttp : public HttpClient {
 public:
  void Get(const HttpRequest&, std::function<void(const HttpResult&)>) override {}
};

bool Alive(pid_t pid) { return ::kill(pid, 0) == 0; }

struct ProcessBrowserTest : ::testing::Test {
  ProcessBrowserTest() {
    script = std::filesystem::path(dir.path().toStdString()) / "browser.sh";
    std::ofstream(script) << "#!/bin/sh\n"
                             "printf '%s' \"$1\" > \"$(dirname \"$0\")/opened.$$\"\n"
                             "exec sleep 600\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  }

  // The pages opened so far: process id and the word the script was given.
  std::map<pid_t, std::string> Opened() const {
    std::map<pid_t, std::string> pages;
    for (const auto& e : std::filesystem::directory_iterator(script.parent_path())) {
      const std::string name = e.path().filename().string();
      if (name.rfind("opened.", 0) != 0) continue;
      std::ifstream in(e.path());
      std::stringstream text;
      text << in.rdbuf();
      if (text.str().empty()) continue;  // not written yet
      pages[static_cast<pid_t>(std::stol(name.substr(7)))] = text.str();
    }
    return pages;
  }

  QTemporaryDir dir;
  std::filesystem::path script;
  std::vector<std::string> log;
  ProcessBrowser::LogFn logFn = [this](std::string_view l) { log.emplace_back(l); };
};

TEST_F(ProcessBrowserTest, APopStartsTheBrowserWithTheUrlAndTheNextPopEndsIt) {
  testing::RecordingPhone phone;
  NoBrowser pages;
  NoHttp http;
  ManualTimers timers;
  pid_t first = 0, second = 0;
  {
    ProcessBrowser browser({"\"" + script.string() + "\" --app=%u", true}, logFn);
    ScreenPopService service(phone, browser, pages, http, timers,
                             ScreenPopSettings{"http://crm", "http://rec", 3000});
    std::string reg = "R1", rec = CustomerFieldUpdateUrl("http://rec", "CN1"),
                tel = "0212345678", ingb = "0006";
    service.Screenpopup(reg, rec, tel, ingb);
    const std::string url1 = InboundPopUrl("http://crm", "R1", tel, rec, "0006");
    ASSERT_TRUE(WaitUntil([&] { return Opened().size() == 1; }));
    first = Opened().begin()->first;
    EXPECT_EQ(Opened().begin()->second, "--app=" + url1) << "one word, blanks and & kept";
    EXPECT_TRUE(Alive(first));
    EXPECT_NE(phone.vars.mPOPHWND, 0);

    reg = "R2";
    service.Screenpopup(reg, rec, tel, ingb);
    ASSERT_TRUE(WaitUntil([&] { return Opened().size() == 2 && browser.Running() == 1; }));
    for (const auto& [pid, word] : Opened()) {
      if (pid != first) second = pid;
    }
    EXPECT_EQ(Opened()[second], "--app=" + InboundPopUrl("http://crm", "R2", tel, rec, "0006"));
    EXPECT_FALSE(Alive(first)) << "the first pop's browser was ended";
    EXPECT_TRUE(Alive(second));
    EXPECT_TRUE(log.empty()) << log.front();
  }
  EXPECT_FALSE(Alive(second)) << "nothing outlives the browser object";
}

TEST_F(ProcessBrowserTest, CommandsThatCannotBeEndedOrStartedAreLoggedOnce) {
  {
    ProcessBrowser opener({"\"" + script.string() + "\"", false}, logFn);
    EXPECT_EQ(opener.Open("http://crm/a"), 0);
    EXPECT_EQ(opener.Open("http://crm/b"), 0);
    ASSERT_TRUE(WaitUntil([&] { return Opened().size() == 2; })) << "the pages still open";
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], std::string(kBrowserNotClosableLog) + "\"" + script.string() + "\"");
  }
  log.clear();
  ProcessBrowser missing({"/nonexistent/browser %u", true}, logFn);
  const int64_t handle = missing.Open("http://crm/c");
  ASSERT_TRUE(WaitUntil([&] { return missing.Running() == 0; }));
  missing.End(handle);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].rfind("[SCREENPOP] 브라우저 실행 실패: /nonexistent/browser", 0), 0u) << log[0];
}

}  // namespace
}  // namespace agentphone
