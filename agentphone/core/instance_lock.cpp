#include "agentphone/core/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace agentphone {

std::unique_ptr<InstanceLock> InstanceLock::Acquire(const std::filesystem::path& deskFolder) {
  const std::filesystem::path file = deskFolder / "agentphone.lock";
  int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<InstanceLock>(new InstanceLock(fd));
}

InstanceLock::~InstanceLock() {
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
}

}  // namespace agentphone
