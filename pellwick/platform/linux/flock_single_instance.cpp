#include "platform/linux/flock_single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace pellwick {
namespace {

// An open folder that belongs to `uid` alone (no links followed), made when missing; -1 when
// there is none such.
int openPrivateFolder(const std::string& path, unsigned uid) {
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return -1;
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat status {};
  // Checked on what we opened, so the folder cannot be swapped after the check.
  if (::fstat(fd, &status) != 0 || status.st_uid != uid || (status.st_mode & (S_IWGRP | S_IWOTH))) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

std::vector<std::string> singleInstanceLockFolders(const char* runtimeDir,
                                                   const std::string& program, unsigned uid) {
  std::vector<std::string> folders;
  if (runtimeDir != nullptr && runtimeDir[0] == '/') folders.emplace_back(runtimeDir);
  folders.push_back("/tmp/" + program + "-" + std::to_string(uid));
  return folders;
}

FlockSingleInstance::FlockSingleInstance(std::vector<std::string> folders, std::string fileName,
                                         unsigned uid)
    : folders_(std::move(folders)), fileName_(std::move(fileName)), uid_(uid) {}

FlockSingleInstance::~FlockSingleInstance() {
  if (lockFd_ >= 0) ::close(lockFd_);
}

int FlockSingleInstance::openLockFile() const {
  for (const std::string& folder : folders_) {
    const int folderFd = openPrivateFolder(folder, uid_);
    if (folderFd < 0) continue;
    const int fd =
        ::openat(folderFd, fileName_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    ::close(folderFd);
    if (fd >= 0) return fd;
  }
  std::fprintf(stderr, "No private folder for the lock file %s; another copy may be running.\n",
               fileName_.c_str());
  return -1;
}

bool FlockSingleInstance::anotherInstanceRunning() {
  if (lockFd_ >= 0) return false;  // the claim is ours
  const int fd = openLockFile();
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
