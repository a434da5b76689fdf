// The program's log: one file per local day, "SoftPhoneLOG/YYYYMMDD.Log" under the desk folder,
// one line per WriteLog: "[hh:mm:ss] : text" and CR LF, in UTF-8. The file is opened for
// appending, written and closed for every line, so other programs may read it at any time.
#pragma once

#include <filesystem>
#include <string_view>

#include "agentphone/core/clock.h"

namespace agentphone {

class ProgramLog {
 public:
  ProgramLog(std::filesystem::path deskFolder, const Clock& clock);

  // Appends one line. Never fails towards the caller: a folder that cannot be created or a
  // file that cannot be opened loses the line. Date and time come from one reading of the
  // clock, so a line always lands in the file of its own day.
  void WriteLog(std::string_view text) const noexcept;

  std::filesystem::path Folder() const { return folder_; }
  std::filesystem::path FileFor(const LocalTime& t) const;

 private:
  std::filesystem::path folder_;
  const Clock& clock_;
};

}  // namespace agentphone
