// CLogger: the log of one session, a daily text file per session and process.
//
// Every line is written by opening the file for appending, writing the whole line with one
// write() call and closing the file again, so files may be moved or deleted while the
// library runs, and loggers of two sessions on the same file never tear each other's lines.
// The file is <directory>/VOMTEL_<yyyymmdd>_[DN[<dn>]_]<name>[<pid>].log, the DN part only
// when the threshold is above 3; a new file begins at the first line after local midnight.
// Lines are "[hh:mm:ss:mmm] text\n". Writing never throws: a line that cannot be written is
// dropped.
//
// The texts written by the library are a fixed format that installations' tools read: every
// existing text is kept byte for byte, its spacing, brackets and misspellings included
// (" evet data", "aGtoup", "MicroPhone"). New detail goes on a line of its own.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/fs/file_system.h"
#include "platform/time/local_time.h"

namespace vomtel {

// Levels of Write. A line is written when its level is at most the logger's threshold.
inline constexpr int kLogInfo = 1;
inline constexpr int kLogDebug = 2;
inline constexpr int kLogVerbose = 3;  // written only at the most verbose threshold

// The default base directory of the log folder: ".".
std::string DefaultLogPath();

class CLogger {
 public:
  using Clock = std::function<LocalTime()>;

  // Empty name, DN and directory, threshold 1, plain form, local time from LocalTimeNow.
  CLogger();
  // The same with the time taken from `clock` (tests).
  explicit CLogger(Clock clock);

  CLogger(const CLogger&) = delete;
  CLogger& operator=(const CLogger&) = delete;

  // Sets the directory to <base>/<folder> and creates that folder (one level). The base is
  // `base` when it is a directory the process may read and write, else the current
  // directory. Returns true when the folder was made or already existed; on false the
  // directory is set all the same and later lines are dropped.
  bool SetPath(const std::string& base, const std::string& folder);

  // Writes one line when `level` is at most the threshold. Never throws.
  void Write(std::string_view text, int level) noexcept;

  // Keeps the log to its holder while it lives: the lines written through it, and whatever
  // the holder does between them, come between no lines of another thread (which wait). A
  // line's time is taken as it is written. Never take a second hold, or call Write, on the
  // thread that holds the log. A holder may take other locks (the send and receive queues'
  // do); no thread may take a hold, or write a line, while it holds one of those.
  class Hold {
   public:
    explicit Hold(CLogger& logger) : logger_(logger), lock_(logger.mutex_) {}
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
    // As CLogger::Write.
    void Write(std::string_view text, int level) noexcept;

   private:
    CLogger& logger_;
    std::lock_guard<std::mutex> lock_;
  };

  // Whether Write would write a line of `level`: callers test it before they compose a text
  // that costs something to build.
  bool Enabled(int level) const noexcept {
    return level_.load(std::memory_order_relaxed) >= level;
  }

  void SetLevel(int level);
  int Level() const;
  // The server address part of the file name. '/', NUL and ".." are replaced by '_'.
  void SetName(std::string name);
  // The device number part of the file name (threshold above 3). Replaced as the name.
  void SetDn(std::string dn);
  // On: a new file starts with the UTF-8 byte-order mark EF BB BF.
  void SetUtf8(bool on);

  // The log folder; empty until SetPath (lines then go to the current directory).
  std::string Directory() const;
  // The full path that a line written at `time` goes to.
  std::string FilePath(const LocalTime& time) const;

  // `time` as "hh:mm:ss:mmm".
  static std::string TimeText(const LocalTime& time);
  // The current local time as "hh:mm:ss:mmm".
  static std::string TimeText();
  // The process id in decimal, computed once per process.
  static const std::string& ProcessIdText();

 private:
  std::string FilePathLocked(const LocalTime& time) const;
  // "[hh:mm:ss:mmm] text\n".
  static std::string LineOf(const LocalTime& now, std::string_view text);
  // Writes `line` to the file of `now`; mutex_ held.
  void WriteLocked(const LocalTime& now, const std::string& line);
  static bool WriteLine(const std::string& path, const std::string& line);
  static bool WriteUtf8(const std::string& path, const std::string& line);

  const Clock clock_;
  mutable std::mutex mutex_;
  std::string directory_;
  std::string name_;
  std::atomic<int> level_{1};
  std::string dn_;
  std::atomic<bool> utf8_{false};
};

}  // namespace vomtel
