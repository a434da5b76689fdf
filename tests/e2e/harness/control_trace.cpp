#include "tests/e2e/harness/control_trace.h"

#include <algorithm>
#include <fstream>

namespace desk {

std::vector<std::string> ControlTrace::Lines() const {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder_, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() > 9 && name.compare(name.size() - 9, 9, "KWLog.log") == 0) {
      files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  std::vector<std::string> lines;
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::string raw;
    while (std::getline(in, raw)) {
      if (!raw.empty() && raw.back() == '\r') raw.pop_back();
      const std::size_t text = raw.find("] <> ");
      lines.push_back(text == std::string::npos ? raw : raw.substr(text + 5));
    }
  }
  return lines;
}

bool ControlTrace::Handled(int kind) const {
  const std::string start = "startfire ..........! " + std::to_string(kind);
  bool fired = false;
  for (const std::string& line : Lines()) {
    if (line == start) fired = true;
    if (fired && line == "endfire..........!") return true;
  }
  return false;
}

}  // namespace desk
