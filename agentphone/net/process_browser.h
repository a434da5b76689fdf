// A browser started as a process of its own for every page: the command's "%u" takes the URL.
// Ending a page ends its process (politely first, then by force after a grace time). A command
// whose process cannot be the window (the desktop's opener) still opens the page, but its
// handle is 0 and the program's log says once that such windows stay open.
#pragma once

#include <QHash>
#include <QObject>
#include <QProcess>
#include <functional>
#include <string_view>

#include "agentphone/core/screen_pop/browser.h"
#include "agentphone/core/screen_pop/browser_command.h"

namespace agentphone {

inline constexpr std::string_view kBrowserNotClosableLog =
    "[SCREENPOP] 화면 팝업 창을 닫을 수 없는 명령으로 엽니다: ";

// True when the program is found on the PATH.
bool IsOnPath(std::string_view program);

class ProcessBrowser final : public QObject, public Browser {
  Q_OBJECT

 public:
  using LogFn = std::function<void(std::string_view)>;
  static constexpr int kDefaultEndGraceMs = 2000;

  ProcessBrowser(BrowserCommand command, LogFn log, int endGraceMs = kDefaultEndGraceMs,
                 QObject* parent = nullptr);
  ~ProcessBrowser() override;

  int64_t Open(const std::string& url) override;
  void End(int64_t handle) override;

  // Processes started and not yet finished (ended ones included until they are gone).
  int Running() const { return running_; }

 private:
  BrowserCommand command_;
  LogFn log_;
  int endGraceMs_;
  bool notClosableLogged_ = false;
  QHash<int64_t, QProcess*> open_;
  int running_ = 0;
};

}  // namespace agentphone
