// The command line that a browser is started with. A command is split into words at blanks
// (double quotes keep blanks inside a word); every "%u" in a word is replaced by the URL, and a
// command without "%u" gets the URL as its last word.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace agentphone {

// Program first, then its arguments; empty when the command holds no word.
std::vector<std::string> ExpandBrowserCommand(std::string_view command, std::string_view url);

struct BrowserCommand {
  std::string command;    // with %u
  bool closable = false;  // what it starts is the window itself and can be ended again
};

// The desktop's opener: it hands the page to whatever the desktop chooses and returns, so the
// window it leads to cannot be closed again.
inline constexpr std::string_view kDesktopOpener = "xdg-open";

// The screen-pop browser: the configured command when there is one (taken as closable unless
// it is the desktop's opener); else the first browser found on the PATH that opens a window
// without address and tool bars, on a profile of its own in profileDir so that its process is
// the window; else the desktop's opener.
BrowserCommand ChooseBrowserCommand(std::string_view configured,
                                    const std::function<bool(std::string_view)>& onPath,
                                    std::string_view profileDir);

}  // namespace agentphone
