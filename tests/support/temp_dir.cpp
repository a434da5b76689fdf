#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vomtel::test {

TempDir::TempDir() {
  std::string pattern = "/tmp/vomtel_test_XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = name.data();
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Give back write permission that a test may have taken away, then remove everything.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_directory(ignored)) ::chmod(it->path().c_str(), 0700);
  }
  ::chmod(path_.c_str(), 0700);
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::operator/(const std::string& name) const { return path_ + "/" + name; }

std::string TempDir::WriteFile(const std::string& name, const std::string& content) const {
  const std::string path = *this / name;
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

CurrentDirectoryScope::CurrentDirectoryScope(const std::string& path)
    : previous_(std::filesystem::current_path().string()) {
  if (::chdir(path.c_str()) != 0) throw std::runtime_error("chdir failed: " + path);
}

CurrentDirectoryScope::~CurrentDirectoryScope() {
  if (::chdir(previous_.c_str()) != 0) std::abort();
}

}  // namespace vomtel::test
