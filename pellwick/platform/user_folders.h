#pragma once
// The logged-on user and folders of the file system.

#include <string>

namespace pellwick {

class UserFolders {
 public:
  virtual ~UserFolders() = default;

  // The user's login name; empty when it cannot be read.
  virtual std::string userName() = 0;
  // The folder the user's tray folder lives in, for `user` (no trailing separator).
  virtual std::string profileFolder(const std::string& user) = 0;
  // Creates the last folder of `path` only; false when it exists or its parent is missing.
  virtual bool createFolder(const std::string& path) = 0;
  // Opens `path` in the file manager; false when that could not be started.
  virtual bool openFolder(const std::string& path) = 0;
};

}  // namespace pellwick
