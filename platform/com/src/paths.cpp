// Per-user file locations.
#include "paths.h"

#include <errno.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace vomcom::detail {

std::string UserPath(const char* name, const char* fallbackVar, const char* homeSuffix,
                     const char* suffix) {
  const char* v = std::getenv(name);
  if (v && *v) return v;
  const char* base = std::getenv(fallbackVar);
  if (base && *base == '/') return std::string(base) + "/" + suffix;
  const char* home = std::getenv("HOME");
  std::string h;
  if (home && *home) {
    h = home;
  } else if (const passwd* pw = getpwuid(getuid())) {
    h = pw->pw_dir;
  } else {
    h = "/tmp";
  }
  return h + "/" + homeSuffix + "/" + suffix;
}

bool MakeParentDirs(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos || slash == 0) return true;
  std::string dir = path.substr(0, slash);
  struct stat st;
  if (stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  if (!MakeParentDirs(dir)) return false;
  return mkdir(dir.c_str(), 0755) == 0 || errno == EEXIST;
}

}  // namespace vomcom::detail
