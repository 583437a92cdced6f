#include "platform/linux/flock_single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace pellwick {

std::string singleInstanceLockPath(const char* runtimeDir, const std::string& program,
                                   unsigned uid) {
  if (runtimeDir != nullptr && runtimeDir[0] == '/') {
    return std::string(runtimeDir) + "/" + program + ".lock";
  }
  return "/tmp/" + program + "-" + std::to_string(uid) + ".lock";
}

FlockSingleInstance::FlockSingleInstance(std::string lockPath) : lockPath_(std::move(lockPath)) {}

FlockSingleInstance::~FlockSingleInstance() {
  if (lockFd_ >= 0) ::close(lockFd_);
}

bool FlockSingleInstance::anotherInstanceRunning() {
  if (lockFd_ >= 0) return false;  // the claim is ours
  // No symlinks: the file may sit in a folder that others can write to.
  const int fd = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  int result;
  do {
    result = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return held;
  }
  lockFd_ = fd;
  return false;
}

}  // namespace pellwick
