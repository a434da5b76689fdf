// A scratch folder under the temporary directory, removed with everything in it.
#pragma once

#include <filesystem>
#include <string>

namespace desk {

class ScratchDir {
 public:
  explicit ScratchDir(const std::string& prefix = "desk");
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

}  // namespace desk
