#pragma once
// The user's own tray folder, "<profile folder>/<user>'s Tray Folder".

#include <string>

#include "platform/user_folders.h"

namespace pellwick {

// Empty when the user name cannot be read: there is no folder to make or open then.
std::string trayFolderPath(UserFolders& folders);

// Makes the folder if its parent exists; an existing folder is left as it is.
void createTrayFolder(UserFolders& folders);
// Opens it in the file manager; nothing is reported when that fails.
void openTrayFolder(UserFolders& folders);

}  // namespace pellwick
