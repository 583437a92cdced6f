#include "tray/tray_folder.h"

#include <gtest/gtest.h>

#include "fakes/fake_services.h"

namespace pellwick {
namespace {

TEST(TrayFolder, PathNamesTheUserTwiceBlanksIncluded) {
  testing::FakeUserFolders folders;
  EXPECT_EQ(trayFolderPath(folders), "/home/user1/user1's Tray Folder");
  folders.user = "Test User";
  EXPECT_EQ(trayFolderPath(folders), "/home/Test User/Test User's Tray Folder");
}

TEST(TrayFolder, IsCreatedAndOpenedAtThatPath) {
  testing::FakeUserFolders folders;
  createTrayFolder(folders);
  openTrayFolder(folders);
  const std::vector<std::string> expected{"/home/user1/user1's Tray Folder"};
  EXPECT_EQ(folders.created, expected);
  EXPECT_EQ(folders.opened, expected);
}

TEST(TrayFolder, WithoutAUserNameNothingIsMadeOrOpened) {
  testing::FakeUserFolders folders;
  folders.user = "";
  EXPECT_EQ(trayFolderPath(folders), "");
  createTrayFolder(folders);
  openTrayFolder(folders);
  EXPECT_TRUE(folders.created.empty());
  EXPECT_TRUE(folders.opened.empty());
}

}  // namespace
}  // namespace pellwick
