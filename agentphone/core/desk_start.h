// The program's start before the main window: the command line, the desk folder (created with
// a first SOFTPHONE.ini when new), the installation settings, and the one-instance check, which
// shows "이미 실행중입니다." under "소프트폰" to a second start, and names the folder instead
// when the lock cannot be made there (a read-only folder).
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "agentphone/core/desk_folder.h"
#include "agentphone/core/desk_settings.h"
#include "agentphone/core/dialogs.h"
#include "agentphone/core/instance_lock.h"

namespace agentphone {

struct DeskStart {
  std::filesystem::path folder;
  DeskSettings settings;
  std::unique_ptr<InstanceLock> lock;
};

enum class StartResult {
  kStarted,         // *out is filled; the program goes on
  kAlreadyRunning,  // the message was shown; the program ends
  kFolderNotWritable,  // the folder message was shown, *error says why; the program ends
  kBadCommandLine,  // *error says why
  kNoDeskFolder,    // *error says why
};

StartResult StartDesk(const std::vector<std::string>& args, Dialogs& dialogs, DeskStart* out,
                      std::string* error, const EnvLookup& env = ProcessEnv);

}  // namespace agentphone
