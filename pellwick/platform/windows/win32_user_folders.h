#pragma once
// The logged-on user, the old-style profile folder "C:\Documents and Settings\<user>", and
// folders made and opened through the wide Win32 calls.

#include "platform/user_folders.h"

namespace pellwick::win32 {

class Win32UserFolders : public UserFolders {
 public:
  std::string userName() override;
  std::string profileFolder(const std::string& user) override;
  // Also false for a path with an empty folder name in it (from an empty user name), which
  // would otherwise put the folder one level up, shared by everyone.
  bool createFolder(const std::string& path) override;
  // The shell's "Open" on the folder; false when it is missing or no window could be opened.
  bool openFolder(const std::string& path) override;
};

}  // namespace pellwick::win32
