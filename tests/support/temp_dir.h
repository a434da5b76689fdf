// Scratch directories for tests: made under /tmp with mkdtemp, removed with all they hold.
#pragma once

#include <string>

namespace vomtel::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  // Path() + "/" + name.
  std::string operator/(const std::string& name) const;
  // Writes `content` (bytes as given) to the file `name` in the directory; returns its path.
  std::string WriteFile(const std::string& name, const std::string& content) const;

 private:
  std::string path_;
};

// The whole content of the file at `path`; empty when it cannot be read.
std::string ReadFile(const std::string& path);

// Changes the current directory for its lifetime and restores the previous one after.
class CurrentDirectoryScope {
 public:
  explicit CurrentDirectoryScope(const std::string& path);
  ~CurrentDirectoryScope();
  CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
  CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;

 private:
  std::string previous_;
};

}  // namespace vomtel::test
