#include "tests/e2e/harness/scratch_dir.h"

#include <stdlib.h>

#include <stdexcept>
#include <vector>

namespace desk {

ScratchDir::ScratchDir(const std::string& prefix) {
  std::string base = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
  std::vector<char> name(base.begin(), base.end());
  name.push_back('\0');
  if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed for " + base);
  path_ = name.data();
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

}  // namespace desk
