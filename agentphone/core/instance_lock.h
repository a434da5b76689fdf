// One running program per desk folder: an exclusive lock on "agentphone.lock" in the folder,
// held for the lifetime of the object and released by the system when the process ends.
#pragma once

#include <filesystem>
#include <memory>

namespace agentphone {

class InstanceLock {
 public:
  // Null when another process holds the lock or the file cannot be opened.
  static std::unique_ptr<InstanceLock> Acquire(const std::filesystem::path& deskFolder);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

 private:
  explicit InstanceLock(int fd) : fd_(fd) {}
  int fd_;
};

// What a second start shows before it ends.
inline constexpr const char* kAlreadyRunningText = "이미 실행중입니다.";

}  // namespace agentphone
