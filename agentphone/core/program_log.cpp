#include "agentphone/core/program_log.h"

#include <cstdio>
#include <string>
#include <system_error>

namespace agentphone {

ProgramLog::ProgramLog(std::filesystem::path deskFolder, const Clock& clock)
    : folder_(std::move(deskFolder) / "SoftPhoneLOG"), clock_(clock) {}

std::filesystem::path ProgramLog::FileFor(const LocalTime& t) const {
  char name[32];
  std::snprintf(name, sizeof name, "%04d%02d%02d.Log", t.year % 10000, t.month % 100, t.day % 100);
  return folder_ / name;
}

void ProgramLog::WriteLog(std::string_view text) const noexcept {
  try {
    const LocalTime t = clock_.Now();
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "[%02d:%02d:%02d] : ", t.hour % 100, t.minute % 100,
                  t.second % 100);
    std::string line = stamp;
    line.append(text);
    line += "\r\n";
    std::FILE* f = std::fopen(FileFor(t).c_str(), "ab");
    if (!f) return;
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
  } catch (...) {
    // the line is lost; the caller goes on
  }
}

}  // namespace agentphone
