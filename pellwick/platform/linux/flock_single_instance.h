#pragma once
// One copy per user: an exclusive flock on a per-user lock file. The kernel drops the lock
// when the process ends in any way, so a crashed copy never blocks the next start.

#include <string>

#include "platform/single_instance.h"

namespace pellwick {

// <runtime folder>/<program>.lock when $XDG_RUNTIME_DIR (`runtimeDir`, may be null) is an
// absolute path, else /tmp/<program>-<uid>.lock.
std::string singleInstanceLockPath(const char* runtimeDir, const std::string& program,
                                   unsigned uid);

class FlockSingleInstance : public SingleInstance {
 public:
  explicit FlockSingleInstance(std::string lockPath);
  ~FlockSingleInstance() override;
  FlockSingleInstance(const FlockSingleInstance&) = delete;
  FlockSingleInstance& operator=(const FlockSingleInstance&) = delete;

  // A lock file that cannot be opened says nothing about other copies: false.
  bool anotherInstanceRunning() override;

 private:
  std::string lockPath_;
  int lockFd_ = -1;
};

}  // namespace pellwick
