#include "bench/work_dir.h"

#include <stdlib.h>

#include <fstream>
#include <system_error>
#include <vector>

namespace vomtel::bench {
namespace {

BenchIni run_ini;

}  // namespace

const BenchIni& RunIni() { return run_ini; }

WorkDir::WorkDir(const BenchIni& ini) {
  std::error_code error;
  previous_ = std::filesystem::current_path(error);
  std::string pattern =
      (std::filesystem::temp_directory_path(error) / "vomtel-bench-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (::mkdtemp(name.data()) == nullptr) return;
  path_ = name.data();
  {
    std::ofstream file(path_ / "vomtel.ini");
    file << "LEVEL=" << ini.level << "\n"
         << "HEARTBEAT_PERIOD=" << ini.heartbeatMs << "\n"
         << "LOGPATH=" << path_.string() << "\n";
    if (!file) return;
  }
  std::filesystem::current_path(path_, error);
  if (error) return;
  run_ini = ini;
  ok_ = true;
}

WorkDir::~WorkDir() {
  std::error_code error;
  if (!previous_.empty()) std::filesystem::current_path(previous_, error);
  if (!path_.empty()) std::filesystem::remove_all(path_, error);
}

}  // namespace vomtel::bench
