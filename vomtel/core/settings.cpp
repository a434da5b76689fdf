#include "vomtel/core/settings.h"

#include <algorithm>
#include <fstream>
#include <utility>

#include "platform/fs/file_system.h"
#include "vomtel/core/ini_file.h"

namespace vomtel {
namespace {

// The single-step wait travels as one byte.
constexpr int kMaxSingleStepWait = 255;

// Reads `key` into `target`, which keeps its default when the file's value is missing,
// not a number or negative.
void ReadInt(const CIniFile& file, const char* key, int& target) {
  const int value = file.GetInt(key);
  if (value >= 0) target = value;
}

std::string InDirectory(const std::string& directory) {
  if (directory.empty()) return kSettingsFileName;
  return WithSeparator(directory) + kSettingsFileName;
}

}  // namespace

Settings ReadSettings(const std::string& path) {
  const CIniFile file(path);
  Settings settings;
  ReadInt(file, "IOCONTEXT_SEC", settings.ioContextSec);
  ReadInt(file, "IOCONTEXT_USEC", settings.ioContextUsec);
  ReadInt(file, "HEARTBEAT_PERIOD", settings.heartbeatPeriod);
  ReadInt(file, "DIAL", settings.dial);
  ReadInt(file, "ANSWER", settings.answer);
  ReadInt(file, "SST", settings.sst);
  ReadInt(file, "LEVEL", settings.level);
  ReadInt(file, "JPUTF", settings.jpUtf);
  if (const int events = file.GetInt("EVENT_QUEUE_MAX"); events > 0) settings.eventQueueMax = events;
  settings.sst = std::min(settings.sst, kMaxSingleStepWait);
  settings.encryption = file.GetString("ENCRYPTION");
  // An empty LOGPATH keeps the default.
  if (std::string logPath = file.GetString("LOGPATH"); !logPath.empty()) {
    settings.logPath = std::move(logPath);
  }
  return settings;
}

Settings LoadSettings(const std::string& currentDirectory, const std::string& systemDirectory) {
  const std::string local = InDirectory(currentDirectory);
  if (std::ifstream(local).is_open()) return ReadSettings(local);
  return ReadSettings(InDirectory(systemDirectory));
}

Settings LoadSettings() { return LoadSettings(std::string(), SystemDirectory()); }

}  // namespace vomtel
