#include "agentphone/core/desk_start.h"

#include "agentphone/core/start_options.h"

namespace agentphone {

StartResult StartDesk(const std::vector<std::string>& args, Dialogs& dialogs, DeskStart* out,
                      std::string* error, const EnvLookup& env) {
  StartOptions options;
  if (!ParseStartOptions(args, &options, error)) return StartResult::kBadCommandLine;
  std::filesystem::path folder = ResolveDeskFolder(options.home, env);
  if (folder.empty()) {
    *error = "no desk folder: give --home DIR or set AGENTPHONE_HOME";
    return StartResult::kNoDeskFolder;
  }
  if (!PrepareDeskFolder(folder)) {
    *error = "the desk folder " + folder.string() + " cannot be created";
    return StartResult::kNoDeskFolder;
  }
  std::string cannotLock;
  std::unique_ptr<InstanceLock> lock = InstanceLock::Acquire(folder, &cannotLock);
  if (!lock && !cannotLock.empty()) {
    *error = "the desk folder " + folder.string() + " cannot be written: " + cannotLock;
    dialogs.ShowMessage(std::string(kFolderNotWritableText) + "\n" + folder.string(),
                        kProgramTitle, MessageIcon::kExclamation);
    return StartResult::kFolderNotWritable;
  }
  if (!lock) {
    dialogs.ShowMessage(kAlreadyRunningText, kProgramTitle, MessageIcon::kExclamation);
    return StartResult::kAlreadyRunning;
  }
  out->folder = folder;
  out->settings = DeskSettings(folder);
  for (const auto& [key, value] : options.settings) out->settings.Override(key, value);
  out->lock = std::move(lock);
  return StartResult::kStarted;
}

}  // namespace agentphone
