#include "platform/linux/posix_user_folders.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

namespace pellwick {
namespace {

TEST(PosixUserFolders, NameIsTheLoginAndProfileIsHome) {
  PosixUserFolders folders{[](const std::string&) {}};
  const passwd* own = ::getpwuid(::geteuid());
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(folders.userName(), own->pw_name);
  EXPECT_EQ(folders.profileFolder(folders.userName()), std::getenv("HOME"));
}

TEST(PosixUserFolders, CreatesTheLastFolderOnlyAndNeverTouchesAnExistingOne) {
  QTemporaryDir dir;
  PosixUserFolders folders{[](const std::string&) {}};
  const std::string tray = dir.filePath("Test User's Tray Folder").toStdString();
  EXPECT_TRUE(folders.createFolder(tray));
  QFile kept(QString::fromStdString(tray) + "/kept.txt");
  ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
  kept.close();
  EXPECT_FALSE(folders.createFolder(tray));
  EXPECT_TRUE(kept.exists());
  EXPECT_FALSE(folders.createFolder(dir.filePath("no parent/child").toStdString()));
  EXPECT_FALSE(QDir(dir.filePath("no parent")).exists());
}

TEST(PosixUserFolders, OpensNothingThatIsNotAFolder) {
  QTemporaryDir dir;
  PosixUserFolders folders{[](const std::string&) {}};
  EXPECT_FALSE(folders.openFolder(dir.filePath("missing").toStdString()));
}

TEST(PosixUserFolders, SaysSoWhenNoProgramCanOpenTheFolder) {
  QTemporaryDir emptyPath;
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", emptyPath.path().toLocal8Bit());
  std::string told;
  PosixUserFolders folders{[&told](const std::string& text) { told = text; }};
  const bool opened = folders.openFolder(emptyPath.path().toStdString());
  qputenv("PATH", path);
  EXPECT_FALSE(opened);
  EXPECT_NE(told.find("xdg-open is missing"), std::string::npos) << told;
  EXPECT_NE(told.find(emptyPath.path().toStdString()), std::string::npos) << told;
}

}  // namespace
}  // namespace pellwick
