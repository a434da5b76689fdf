// The agent program's daily log as a test reads it: SoftPhoneLOG/YYYYMMDD.Log in the desk
// folder, one "[hh:mm:ss] : text" line each, read across day files in name order. Waits poll
// the files (the program opens and closes them per line) until a bounded deadline.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace desk {

struct LogLine {
  std::string stamp;  // "hh:mm:ss"
  std::string text;   // after "] : "
  std::string raw;    // the whole line without its CR LF
};

class DeskLog {
 public:
  explicit DeskLog(std::filesystem::path deskFolder);

  // Every line so far, in file order.
  std::vector<LogLine> Lines() const;
  // Lines whose text contains `part`.
  std::vector<LogLine> Matching(const std::string& part) const;
  std::size_t Count(const std::string& part) const { return Matching(part).size(); }

  // The nth (1-based) line whose text satisfies `match`, waiting up to `timeout`.
  std::optional<LogLine> WaitFor(const std::function<bool(const LogLine&)>& match,
                                 std::chrono::milliseconds timeout, std::size_t nth = 1) const;
  // The nth line whose text contains `part`.
  std::optional<LogLine> WaitForText(const std::string& part, std::chrono::milliseconds timeout,
                                     std::size_t nth = 1) const;
  // The nth line whose text begins with `prefix`.
  std::optional<LogLine> WaitForPrefix(const std::string& prefix, std::chrono::milliseconds timeout,
                                       std::size_t nth = 1) const;

  // The last lines, for a failure message.
  std::string Tail(std::size_t count = 30) const;

 private:
  std::filesystem::path folder_;
};

// Repeats `probe` until it holds or `timeout` has passed; true when it held. The pauses between
// tries grow from 1 ms to 20 ms.
bool PollUntil(const std::function<bool()>& probe, std::chrono::milliseconds timeout);

}  // namespace desk
