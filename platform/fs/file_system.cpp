#include "platform/fs/file_system.h"

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vomtel {

std::string CurrentDirectory() {
  std::vector<char> buffer(PATH_MAX);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() >= 1024 * 1024) return {};
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

std::string SystemDirectory() { return "/etc"; }

std::string WithSeparator(std::string directory) {
  directory += kPathSeparator;
  return directory;
}

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool CanReadWrite(const std::string& path) {
  // Making or opening anything inside a directory also takes search permission.
  const int mode = IsDirectory(path) ? R_OK | W_OK | X_OK : R_OK | W_OK;
  return ::access(path.c_str(), mode) == 0;
}

bool MakeDirectory(const std::string& path) {
  if (::mkdir(path.c_str(), 0755) == 0) return true;
  return errno == EEXIST && IsDirectory(path);
}

}  // namespace vomtel
