#include "vomtel/core/orba_adapter.h"

#include <memory>
#include <string>

#include "platform/version/file_version.h"
#include "vomtel/core/established_waiters.h"
#include "vomtel/core/logger.h"
#include "vomtel/core/session.h"

namespace vomtel {

OrbaAdapter& OrbaAdapter::Instance() {
  // What the sessions' threads reach is made first, so that it is destroyed after the
  // adapter, whose destruction joins those threads at exit.
  static const bool dependencies = [] {
    EstablishedWaiters::Instance();
    CLogger::ProcessIdText();
    return true;
  }();
  (void)dependencies;
  static OrbaAdapter adapter(LoadSettings());
  return adapter;
}

OrbaAdapter::OrbaAdapter(Settings settings, const Timings& timings)
    : settings_(std::move(settings)), proxy_(timings) {
  QueueLimits limits = proxy_.GetQueueLimits();
  if (settings_.eventQueueMax > 0) limits.events = static_cast<std::size_t>(settings_.eventQueueMax);
  proxy_.SetQueueLimits(limits);
}

int OrbaAdapter::AddServer(const std::string& ip, std::uint16_t port, std::uint8_t ext,
                           std::uint8_t dType, const std::string& dn, const std::string& app,
                           std::uint8_t version, std::uint16_t headerWord) {
  proxy_.AddSession(port, ext, dType, version, headerWord, ip, dn, app);
  return 1;
}

int OrbaAdapter::OpenServer(int* gate) {
  proxy_.SetLogLevel(settings_.level);
  proxy_.SetLogFile(settings_.logPath, kLogFolderName);
  proxy_.SetLogUtf8(settings_.jpUtf);
  const int result =
      proxy_.Open(settings_.heartbeatPeriod, settings_.ioContextSec, settings_.ioContextUsec, gate);
  Log("VOMTEL.dll version[" + FileVersionText() + "]\n", 0);
  return result;
}

void OrbaAdapter::Log(std::string_view text, int gate) {
  if (const std::shared_ptr<CSession> session = proxy_.FindActive(gate)) {
    session->Logger().Write(text, kLogInfo);
  }
}

bool OrbaAdapter::LogEnabled(int gate, int level) {
  const std::shared_ptr<CSession> session = proxy_.FindActive(gate);
  return session && session->Logger().Enabled(level);
}

int OrbaAdapter::SetLogPath(const std::string& directory) {
  return proxy_.SetLogFile(directory, kLogFolderName);
}

}  // namespace vomtel
