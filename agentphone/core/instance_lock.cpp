#include "agentphone/core/instance_lock.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstring>

namespace agentphone {

std::unique_ptr<InstanceLock> InstanceLock::Acquire(const std::filesystem::path& deskFolder,
                                                    std::string* cannotMake) {
  const std::filesystem::path file = deskFolder / "agentphone.lock";
  int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (cannotMake) *cannotMake = std::strerror(errno);
    return nullptr;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    // only a lock held elsewhere is another instance; any other failure is the folder's
    const int error = errno;
    ::close(fd);
    if (error != EWOULDBLOCK && cannotMake) *cannotMake = std::strerror(error);
    return nullptr;
  }
  return std::unique_ptr<InstanceLock>(new InstanceLock(fd));
}

InstanceLock::~InstanceLock() {
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
}

}  // namespace agentphone
