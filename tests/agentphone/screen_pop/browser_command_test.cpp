#include "agentphone/core/screen_pop/browser_command.h"

#include <gtest/gtest.h>

#include <set>

namespace agentphone {
namespace {

using Words = std::vector<std::string>;

TEST(BrowserCommand, ExpandsPlaceholderAndQuotes) {
  const std::string url = "http://crm/x?a=1&b= 2";
  EXPECT_EQ(ExpandBrowserCommand("chromium --app=%u", url), (Words{"chromium", "--app=" + url}));
  EXPECT_EQ(ExpandBrowserCommand("  open  ", url), (Words{"open", url}));  // no %u: appended
  EXPECT_EQ(ExpandBrowserCommand("\"/opt/my browser/run\" \"--profile=a b\" %u %u", url),
            (Words{"/opt/my browser/run", "--profile=a b", url, url}));
  EXPECT_EQ(ExpandBrowserCommand("b \"\" %u", "%u"), (Words{"b", "", "%u"}));  // URL not re-expanded
  EXPECT_TRUE(ExpandBrowserCommand("   ", url).empty());
}

TEST(BrowserCommand, ChoosesConfiguredThenAppBrowserThenOpener) {
  std::set<std::string, std::less<>> path;
  auto onPath = [&path](std::string_view exe) { return path.count(exe) > 0; };

  BrowserCommand own = ChooseBrowserCommand(" firefox --new-window %u ", onPath, "/p");
  EXPECT_EQ(own.command, "firefox --new-window %u");
  EXPECT_TRUE(own.closable);
  EXPECT_FALSE(ChooseBrowserCommand("xdg-open", onPath, "/p").closable);

  BrowserCommand none = ChooseBrowserCommand("", onPath, "/p");
  EXPECT_EQ(none.command, "xdg-open %u");
  EXPECT_FALSE(none.closable);

  path = {"google-chrome", "chromium-browser"};
  BrowserCommand app = ChooseBrowserCommand("", onPath, "/home/a b/pop");
  EXPECT_TRUE(app.closable);
  EXPECT_EQ(ExpandBrowserCommand(app.command, "U"),
            (Words{"chromium-browser", "--user-data-dir=/home/a b/pop", "--no-first-run",
                   "--no-default-browser-check", "--app=U"}));
}

}  // namespace
}  // namespace agentphone
