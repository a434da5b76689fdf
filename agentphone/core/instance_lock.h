// One running program per desk folder: an exclusive lock on "agentphone.lock" in the folder,
// held for the lifetime of the object and released by the system when the process ends.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace agentphone {

class InstanceLock {
 public:
  // Null when another process holds the lock or the lock cannot be made in the folder (a
  // read-only folder, say); in the second case *cannotMake, when given, gets the system's
  // reason, and stays empty in the first.
  static std::unique_ptr<InstanceLock> Acquire(const std::filesystem::path& deskFolder,
                                               std::string* cannotMake = nullptr);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

 private:
  explicit InstanceLock(int fd) : fd_(fd) {}
  int fd_;
};

// What a second start shows before it ends.
inline constexpr const char* kAlreadyRunningText = "이미 실행중입니다.";

// What a start shows, followed by the folder, when the lock cannot be made there.
inline constexpr const char* kFolderNotWritableText = "소프트폰 폴더에 쓸 수 없습니다.";

}  // namespace agentphone
