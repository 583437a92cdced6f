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
  PosixUserFolders folders;
  const passwd* own = ::getpwuid(::geteuid());
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(folders.userName(), own->pw_name);
  EXPECT_EQ(folders.profileFolder(folders.userName()), std::getenv("HOME"));
}

TEST(PosixUserFolders, CreatesTheLastFolderOnlyAndNeverTouchesAnExistingOne) {
  QTemporaryDir dir;
  PosixUserFolders folders;
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
  PosixUserFolders folders;
  EXPECT_FALSE(folders.openFolder(dir.filePath("missing").toStdString()));
}

}  // namespace
}  // namespace pellwick
