#include "tests/e2e/harness/desk_log.h"

#include <algorithm>
#include <fstream>
#include <thread>

namespace desk {

DeskLog::DeskLog(std::filesystem::path deskFolder)
    : folder_(std::move(deskFolder) / "SoftPhoneLOG") {}

std::vector<LogLine> DeskLog::Lines() const {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder_, ec)) {
    if (entry.path().extension() == ".Log") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::vector<LogLine> lines;
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::string raw;
    while (std::getline(in, raw)) {
      if (!raw.empty() && raw.back() == '\r') raw.pop_back();
      LogLine line;
      line.raw = raw;
      if (raw.size() >= 13 && raw[0] == '[' && raw.compare(9, 4, "] : ") == 0) {
        line.stamp = raw.substr(1, 8);
        line.text = raw.substr(13);
      } else {
        line.text = raw;  // a line the program did not write in its form: kept whole
      }
      lines.push_back(std::move(line));
    }
  }
  return lines;
}

std::vector<LogLine> DeskLog::Matching(const std::string& part) const {
  std::vector<LogLine> out;
  for (LogLine& l : Lines()) {
    if (l.text.find(part) != std::string::npos) out.push_back(std::move(l));
  }
  return out;
}

std::optional<LogLine> DeskLog::WaitFor(const std::function<bool(const LogLine&)>& match,
                                        std::chrono::milliseconds timeout, std::size_t nth) const {
  std::optional<LogLine> found;
  PollUntil(
      [&] {
        std::size_t seen = 0;
        for (LogLine& l : Lines()) {
          if (match(l) && ++seen == nth) {
            found = std::move(l);
            return true;
          }
        }
        return false;
      },
      timeout);
  return found;
}

std::optional<LogLine> DeskLog::WaitForText(const std::string& part,
                                            std::chrono::milliseconds timeout,
                                            std::size_t nth) const {
  return WaitFor([&](const LogLine& l) { return l.text.find(part) != std::string::npos; }, timeout,
                 nth);
}

std::optional<LogLine> DeskLog::WaitForPrefix(const std::string& prefix,
                                              std::chrono::milliseconds timeout,
                                              std::size_t nth) const {
  return WaitFor([&](const LogLine& l) { return l.text.rfind(prefix, 0) == 0; }, timeout, nth);
}

std::string DeskLog::Tail(std::size_t count) const {
  const std::vector<LogLine> lines = Lines();
  std::string out;
  for (std::size_t i = lines.size() > count ? lines.size() - count : 0; i < lines.size(); ++i) {
    out += lines[i].raw + "\n";
  }
  return out;
}

bool PollUntil(const std::function<bool()>& probe, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  auto pause = std::chrono::milliseconds(1);
  for (;;) {
    if (probe()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(20));
  }
}

}  // namespace desk
