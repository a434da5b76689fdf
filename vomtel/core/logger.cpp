#include "vomtel/core/logger.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "platform/process/process_id.h"

namespace vomtel {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// A server address or DN made safe as part of a file name: '/', NUL and every dot of a
// run of two or more dots become '_'.
std::string FileNamePart(std::string text) {
  const std::string original = text;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = original[i];
    const bool inDotRun = c == '.' && ((i + 1 < original.size() && original[i + 1] == '.') ||
                                       (i > 0 && original[i - 1] == '.'));
    if (c == '/' || c == '\0' || inDotRun) text[i] = '_';
  }
  return text;
}

// Writes all of `data` (one write() unless the system takes only part of it).
bool WriteAll(int fd, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool AppendTo(int fd, const std::string& data) {
  const bool written = WriteAll(fd, data);
  return ::close(fd) == 0 && written;
}

}  // namespace

std::string DefaultLogPath() { return "."; }

CLogger::CLogger() : CLogger(Clock(LocalTimeNow)) {}

CLogger::CLogger(Clock clock) : clock_(clock ? std::move(clock) : Clock(LocalTimeNow)) {}

bool CLogger::SetPath(const std::string& base, const std::string& folder) {
  std::string chosen = base;
  if (chosen.empty() || !IsDirectory(chosen) || !CanReadWrite(chosen)) chosen = CurrentDirectory();
  if (chosen.empty()) chosen = DefaultLogPath();
  const std::string directory = WithSeparator(chosen) + folder;
  std::lock_guard lock(mutex_);
  directory_ = directory;
  return MakeDirectory(directory_);
}

void CLogger::Write(std::string_view text, int level) noexcept {
  if (!Enabled(level)) return;
  try {
    const LocalTime now = clock_();
    const std::string line = LineOf(now, text);
    std::lock_guard lock(mutex_);
    WriteLocked(now, line);
  } catch (...) {
    // A log line must never change the outcome of what is being logged: drop it.
  }
}

void CLogger::Hold::Write(std::string_view text, int level) noexcept {
  if (!logger_.Enabled(level)) return;
  try {
    const LocalTime now = logger_.clock_();
    logger_.WriteLocked(now, LineOf(now, text));
  } catch (...) {
    // As CLogger::Write: the line is dropped.
  }
}

std::string CLogger::LineOf(const LocalTime& now, std::string_view text) {
  std::string line;
  line.reserve(text.size() + 18);
  line.append("[").append(TimeText(now)).append("] ").append(text).append("\n");
  return line;
}

void CLogger::WriteLocked(const LocalTime& now, const std::string& line) {
  const std::string path = FilePathLocked(now);
  if (utf8_.load()) {
    WriteUtf8(path, line);
  } else {
    WriteLine(path, line);
  }
}

void CLogger::SetLevel(int level) {
  std::lock_guard lock(mutex_);
  level_ = level;
}

int CLogger::Level() const { return level_.load(); }

void CLogger::SetName(std::string name) {
  std::string safe = FileNamePart(std::move(name));
  std::lock_guard lock(mutex_);
  name_ = std::move(safe);
}

void CLogger::SetDn(std::string dn) {
  std::string safe = FileNamePart(std::move(dn));
  std::lock_guard lock(mutex_);
  dn_ = std::move(safe);
}

void CLogger::SetUtf8(bool on) { utf8_ = on; }

std::string CLogger::Directory() const {
  std::lock_guard lock(mutex_);
  return directory_;
}

std::string CLogger::FilePath(const LocalTime& time) const {
  std::lock_guard lock(mutex_);
  return FilePathLocked(time);
}

std::string CLogger::FilePathLocked(const LocalTime& time) const {
  char date[40];
  std::snprintf(date, sizeof date, "%04d%02d%02d", time.year, time.month, time.day);
  std::string path = directory_.empty() ? std::string() : WithSeparator(directory_);
  path.append("VOMTEL_").append(date).append("_");
  if (level_.load() > 3) path.append("DN[").append(dn_).append("]_");
  path.append(name_).append("[").append(ProcessIdText()).append("].log");
  return path;
}

std::string CLogger::TimeText(const LocalTime& time) {
  char text[48];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d:%03d", time.hour, time.minute, time.second,
                time.millisecond);
  return text;
}

std::string CLogger::TimeText() { return TimeText(LocalTimeNow()); }

const std::string& CLogger::ProcessIdText() {
  static const std::string text = std::to_string(ProcessId());
  return text;
}

bool CLogger::WriteLine(const std::string& path, const std::string& line) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  return fd >= 0 && AppendTo(fd, line);
}

bool CLogger::WriteUtf8(const std::string& path, const std::string& line) {
  // Whoever creates the file writes the mark, in the same write() as its first line, so a
  // second logger on the same file can neither repeat the mark nor slip a line before it.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0644);
  if (fd >= 0) return AppendTo(fd, kByteOrderMark + line);
  return errno == EEXIST && WriteLine(path, line);
}

}  // namespace vomtel
