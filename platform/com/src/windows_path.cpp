// Windows-form paths mapped below a folder of drives.
#include <cstring>
#include <string>

#include "paths.h"
#include "vomcom/automation.h"

extern "C" int VcMapWindowsPath(const char* path, char* out, size_t outSize) {
  if (!path || !out || outSize == 0) return 0;
  std::string rest(path);
  std::string mapped;
  const bool drive = rest.size() >= 2 && rest[1] == ':' &&
                     ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= 'a' && rest[0] <= 'z'));
  if (drive) {
    std::string root = vomcom::detail::UserPath("VOMTEL_DRIVE_ROOT", "XDG_STATE_HOME",
                                                ".local/state", "vomtel/drives");
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    // Drive letters name one folder whatever their case.
    char letter = rest[0] >= 'a' ? static_cast<char>(rest[0] - 'a' + 'A') : rest[0];
    mapped = root + "/" + letter + "/";
    rest.erase(0, 2);
  }
  for (char c : rest) {
    if (c == '\\') c = '/';
    if (c == '/' && !mapped.empty() && mapped.back() == '/') continue;
    mapped.push_back(c);
  }
  // "C:" alone is the drive's folder.
  if (drive && rest.empty()) mapped.pop_back();
  if (mapped.size() + 1 > outSize) {
    out[0] = '\0';
    return 0;
  }
  std::memcpy(out, mapped.c_str(), mapped.size() + 1);
  return 1;
}
