#pragma once
// The user and folders on Linux: the login name, the home folder as the profile folder,
// mkdir, and the desktop's file manager (xdg-open) for opening a folder.

#include "platform/user_folders.h"

namespace pellwick {

class PosixUserFolders : public UserFolders {
 public:
  std::string userName() override;
  // The home folder ($HOME, else the password database's); the same for every name,
  // since only the logged-on user's folder is ever asked for.
  std::string profileFolder(const std::string& user) override;
  bool createFolder(const std::string& path) override;
  // False for a path that is not a folder: nothing is started then.
  bool openFolder(const std::string& path) override;
};

}  // namespace pellwick
