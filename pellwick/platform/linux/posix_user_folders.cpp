#include "platform/linux/posix_user_folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDesktopServices>
#include <QFile>
#include <QStandardPaths>
#include <QUrl>
#include <cstdlib>
#include <utility>
#include <vector>

namespace pellwick {
namespace {

// The password database entry of the effective user, read into `buffer`.
const passwd* ownEntry(passwd& entry, std::vector<char>& buffer) {
  buffer.resize(16384);
  passwd* result = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &result) != 0) {
    return nullptr;
  }
  return result;
}

bool isFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

PosixUserFolders::PosixUserFolders(std::function<void(const std::string& text)> tellUser)
    : tellUser_(std::move(tellUser)) {}

std::string PosixUserFolders::userName() {
  passwd entry{};
  std::vector<char> buffer;
  const passwd* own = ownEntry(entry, buffer);
  return own != nullptr && own->pw_name != nullptr ? own->pw_name : "";
}

std::string PosixUserFolders::profileFolder(const std::string&) {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return home;
  passwd entry{};
  std::vector<char> buffer;
  const passwd* own = ownEntry(entry, buffer);
  return own != nullptr && own->pw_dir != nullptr ? own->pw_dir : "";
}

bool PosixUserFolders::createFolder(const std::string& path) {
  return ::mkdir(path.c_str(), 0777) == 0;
}

bool PosixUserFolders::openFolder(const std::string& path) {
  if (!isFolder(path)) return false;
  if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()) {
    tellUser_("The folder " + path +
              " cannot be opened: the program xdg-open is missing. Install the package "
              "xdg-utils to open folders from the tray.");
    return false;
  }
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(path.c_str())));
}

}  // namespace pellwick
