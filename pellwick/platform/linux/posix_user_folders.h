#pragma once
// The user and folders on Linux: the login name, the home folder as the profile folder,
// mkdir, and the desktop's file manager (xdg-open) for opening a folder.

#include <functional>

#include "platform/user_folders.h"

namespace pellwick {

class PosixUserFolders : public UserFolders {
 public:
  // `tellUser` shows the user a message (e.g. that no program can open folders).
  explicit PosixUserFolders(std::function<void(const std::string& text)> tellUser);

  std::string userName() override;
  // The home folder ($HOME, else the password database's); the same for every name,
  // since only the logged-on user's folder is ever asked for.
  std::string profileFolder(const std::string& user) override;
  bool createFolder(const std::string& path) override;
  // False for a path that is not a folder: nothing is started then. Without xdg-open
  // (package xdg-utils) the user is told so.
  bool openFolder(const std::string& path) override;

 private:
  std::function<void(const std::string& text)> tellUser_;
};

}  // namespace pellwick
