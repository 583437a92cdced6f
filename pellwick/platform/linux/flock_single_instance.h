#pragma once
// One copy per user: an exclusive flock on a lock file in a folder that only this user can
// write to. The kernel drops the lock when the process ends in any way, so a crashed copy
// never blocks the next start, and no other user can create or hold the file.

#include <string>
#include <vector>

#include "platform/single_instance.h"

namespace pellwick {

// Where the lock may go, best first: $XDG_RUNTIME_DIR (`runtimeDir`, may be null) when it is
// an absolute path, then /tmp/<program>-<uid>.
std::vector<std::string> singleInstanceLockFolders(const char* runtimeDir,
                                                   const std::string& program, unsigned uid);

class FlockSingleInstance : public SingleInstance {
 public:
  // The lock is `fileName` in the first of `folders` that belongs to `uid` and that no one
  // else may write to; a missing folder is made so (mode 0700). A folder of someone else's,
  // a link, or one that group or others may write to is passed over.
  FlockSingleInstance(std::vector<std::string> folders, std::string fileName, unsigned uid);
  ~FlockSingleInstance() override;
  FlockSingleInstance(const FlockSingleInstance&) = delete;
  FlockSingleInstance& operator=(const FlockSingleInstance&) = delete;

  // Without a fit folder, or with a lock file that cannot be opened, nothing is known
  // about other copies: false (and a line on standard error).
  bool anotherInstanceRunning() override;

 private:
  int openLockFile() const;

  std::vector<std::string> folders_;
  std::string fileName_;
  unsigned uid_;
  int lockFd_ = -1;
};

}  // namespace pellwick
