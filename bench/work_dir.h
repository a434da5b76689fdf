// The benchmark's working directory: a fresh folder under the system's temporary directory,
// made the current directory for the whole run, holding the vomtel.ini that the library reads
// at its first call and the log folder. Removed again, with all it holds, at the end.
#pragma once

#include <filesystem>
#include <string>

namespace vomtel::bench {

// Settings the run gives the library through vomtel.ini.
struct BenchIni {
  int level = 0;           // LEVEL: no log lines unless a benchmark asks for them
  int heartbeatMs = 1000;  // HEARTBEAT_PERIOD: the silence limit of the fail-over figure
};

class WorkDir {
 public:
  explicit WorkDir(const BenchIni& ini);
  ~WorkDir();
  WorkDir(const WorkDir&) = delete;
  WorkDir& operator=(const WorkDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  bool ok() const { return ok_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
  bool ok_ = false;
};

// The ini values in force for this run (what WorkDir wrote).
const BenchIni& RunIni();

}  // namespace vomtel::bench
