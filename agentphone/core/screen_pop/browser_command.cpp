#include "agentphone/core/screen_pop/browser_command.h"

#include "agentphone/core/text_routines.h"

namespace agentphone {

std::vector<std::string> ExpandBrowserCommand(std::string_view command, std::string_view url) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false, quoted = false;
  for (char c : command) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if (c == ' ' && !quoted) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word.push_back(c);
      inWord = true;
    }
  }
  if (inWord) words.push_back(std::move(word));
  if (words.empty()) return words;

  bool placed = false;
  for (std::string& w : words) {
    for (std::size_t at = w.find("%u"); at != std::string::npos; at = w.find("%u", at + url.size())) {
      w.replace(at, 2, url);
      placed = true;
    }
  }
  if (!placed) words.emplace_back(url);
  return words;
}

BrowserCommand ChooseBrowserCommand(std::string_view configured,
                                    const std::function<bool(std::string_view)>& onPath,
                                    std::string_view profileDir) {
  const std::string own = Trim(configured);
  if (!own.empty()) {
    const std::vector<std::string> words = ExpandBrowserCommand(own, "");
    return {own, words.empty() || words[0] != kDesktopOpener};
  }
  static constexpr std::string_view kAppBrowsers[] = {
      "chromium", "chromium-browser", "google-chrome", "google-chrome-stable",
      "microsoft-edge", "brave-browser"};
  for (std::string_view exe : kAppBrowsers) {
    if (onPath(exe)) {
      std::string cmd(exe);
      cmd += " \"--user-data-dir=";
      cmd += profileDir;
      cmd += "\" --no-first-run --no-default-browser-check --app=%u";
      return {cmd, true};
    }
  }
  return {std::string(kDesktopOpener) + " %u", false};
}

}  // namespace agentphone
