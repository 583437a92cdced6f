#include "platform/windows/win32_user_folders.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/windows/wide_text.h"
#include "win32_test_support.h"

namespace pellwick::win32 {
namespace {

using testing::utf8;

using testing::isFolder;

constexpr const wchar_t* kProfileRoot = L"C:\\Documents and Settings";

// Wine has no "C:\Documents and Settings"; each test starts without it and leaves none.
class UserFoldersTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(isFolder(kProfileRoot)) << "left over by an earlier run"; }
  void TearDown() override { removeTree(kProfileRoot); }

  static void removeTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          removeTree(path);
        } else {
          DeleteFileW(path.c_str());
        }
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
  }

  Win32UserFolders folders_;
};

TEST_F(UserFoldersTest, UserNameIsTheLoginName) {
  wchar_t expected[256] = {};
  ASSERT_GT(GetEnvironmentVariableW(L"USERNAME", expected, 256), 0u);
  EXPECT_EQ(folders_.userName(), toUtf8(expected));
}

TEST_F(UserFoldersTest, TrayFolderIsMadeOnlyInAnExistingProfileAndNeverTwice) {
  const std::string user = folders_.userName();
  const std::string profile = folders_.profileFolder(user);
  EXPECT_EQ(profile, "C:\\Documents and Settings\\" + user);
  const std::string tray = profile + "\\" + user + "'s Tray Folder";

  EXPECT_FALSE(folders_.createFolder(tray));
  EXPECT_FALSE(isFolder(toWide(tray)));

  ASSERT_TRUE(CreateDirectoryW(kProfileRoot, nullptr));
  ASSERT_TRUE(CreateDirectoryW(toWide(profile).c_str(), nullptr));
  EXPECT_TRUE(folders_.createFolder(tray));
  EXPECT_TRUE(isFolder(toWide(tray)));

  const std::wstring note = toWide(tray) + L"\\note.txt";
  std::ofstream(note.c_str()) << "keep me";
  EXPECT_FALSE(folders_.createFolder(tray));
  std::string kept;
  std::getline(std::ifstream(note.c_str()), kept);
  EXPECT_EQ(kept, "keep me");
}

TEST_F(UserFoldersTest, FolderNamesOutsideTheAnsiCodePageSurvive) {
  ASSERT_TRUE(CreateDirectoryW(kProfileRoot, nullptr));
  EXPECT_TRUE(
      folders_.createFolder(utf8(u8"C:/Documents and Settings/\u03a9\u65e5's Tray Folder")));
  EXPECT_TRUE(isFolder(L"C:\\Documents and Settings\\\u03a9\u65e5's Tray Folder"));
}

TEST_F(UserFoldersTest, AnEmptyUserNameMakesNoFolder) {
  ASSERT_TRUE(CreateDirectoryW(kProfileRoot, nullptr));
  const std::string profile = folders_.profileFolder("");
  EXPECT_FALSE(folders_.createFolder(profile + "\\" + "'s Tray Folder"));
  EXPECT_FALSE(isFolder(L"C:\\Documents and Settings\\'s Tray Folder"));
}

TEST_F(UserFoldersTest, OnlyAnExistingFolderIsOpened) {
  ASSERT_TRUE(CreateDirectoryW(kProfileRoot, nullptr));
  const std::wstring file = std::wstring(kProfileRoot) + L"\\run me.bat";
  std::ofstream(file.c_str()) << "exit 0\r\n";
  EXPECT_FALSE(folders_.openFolder("C:\\Documents and Settings\\missing"));
  EXPECT_FALSE(folders_.openFolder("C:\\Documents and Settings\\run me.bat"));
  EXPECT_TRUE(folders_.openFolder("C:/Documents and Settings"));
}

}  // namespace
}  // namespace pellwick::win32
