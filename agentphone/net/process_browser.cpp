#include "agentphone/net/process_browser.h"

#include <QStandardPaths>
#include <QStringList>
#include <QTimer>
#include <string>
#include <vector>

namespace agentphone {

bool IsOnPath(std::string_view program) {
  return !QStandardPaths::findExecutable(
              QString::fromUtf8(program.data(), static_cast<qsizetype>(program.size())))
              .isEmpty();
}

ProcessBrowser::ProcessBrowser(BrowserCommand command, LogFn log, int endGraceMs, QObject* parent)
    : QObject(parent), command_(std::move(command)), log_(std::move(log)), endGraceMs_(endGraceMs) {}

ProcessBrowser::~ProcessBrowser() {
  // the processes are children and are ended with us; no signal may reach a half-gone object
  for (QProcess* p : findChildren<QProcess*>()) p->disconnect(this);
}

int64_t ProcessBrowser::Open(const std::string& url) {
  const std::vector<std::string> words = ExpandBrowserCommand(command_.command, url);
  if (words.empty()) {
    if (log_) log_("[SCREENPOP] 브라우저 명령이 비어 있습니다");
    return 0;
  }
  if (!command_.closable && !notClosableLogged_) {
    notClosableLogged_ = true;
    if (log_) log_(std::string(kBrowserNotClosableLog) + command_.command);
  }
  QStringList args;
  for (size_t i = 1; i < words.size(); ++i) args << QString::fromStdString(words[i]);

  auto* process = new QProcess(this);
  process->setProgram(QString::fromStdString(words[0]));
  process->setArguments(args);
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(QProcess::nullDevice());
  const int64_t handle = command_.closable ? NextBrowserHandle() : 0;
  ++running_;
  auto gone = [this, process, handle] {
    if (handle != 0 && open_.value(handle) == process) open_.remove(handle);
    --running_;
    process->deleteLater();
  };
  connect(process, &QProcess::finished, this, gone);
  connect(process, &QProcess::errorOccurred, this, [this, process, gone](QProcess::ProcessError e) {
    if (e != QProcess::FailedToStart) return;
    if (log_) {
      log_("[SCREENPOP] 브라우저 실행 실패: " + process->program().toStdString() + " " +
           process->errorString().toStdString());
    }
    gone();
  });
  if (handle != 0) open_.insert(handle, process);
  process->start();
  return handle;
}

void ProcessBrowser::End(int64_t handle) {
  if (handle == 0) return;
  QProcess* process = open_.take(handle);
  if (!process || process->state() == QProcess::NotRunning) return;
  process->terminate();
  QTimer::singleShot(endGraceMs_, process, [process] {
    if (process->state() != QProcess::NotRunning) process->kill();
  });
}

}  // namespace agentphone
