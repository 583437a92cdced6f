#include "tray/tray_folder.h"

#include <filesystem>

namespace pellwick {

std::string trayFolderPath(UserFolders& folders) {
  const std::string user = folders.userName();
  if (user.empty()) return {};
  const std::filesystem::path profile(folders.profileFolder(user));
  return (profile / (user + "'s Tray Folder")).string();
}

void createTrayFolder(UserFolders& folders) {
  if (const std::string path = trayFolderPath(folders); !path.empty()) folders.createFolder(path);
}

void openTrayFolder(UserFolders& folders) {
  if (const std::string path = trayFolderPath(folders); !path.empty()) folders.openFolder(path);
}

}  // namespace pellwick
