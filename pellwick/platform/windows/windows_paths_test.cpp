#include "platform/windows/windows_paths.h"

#include <gtest/gtest.h>

namespace pellwick::win32 {
namespace {

std::string utf8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

TEST(WindowsPaths, CommandIsTheNativePathInQuotes) {
  EXPECT_EQ(quotedCommand("C:/Program Files/Pellwick/Pellwick.exe"),
            "\"C:\\Program Files\\Pellwick\\Pellwick.exe\"");
  EXPECT_EQ(quotedCommand("D:\\Pellwick.exe"), "\"D:\\Pellwick.exe\"");
  EXPECT_EQ(quotedCommand(utf8(u8"C:\\Werkzeuge \u03a9\\P.exe")),
            utf8(u8"\"C:\\Werkzeuge \u03a9\\P.exe\""));
}

TEST(WindowsPaths, NoCommandForAnEmptyPathOrOneWithAQuote) {
  EXPECT_EQ(quotedCommand(""), std::nullopt);
  EXPECT_EQ(quotedCommand("C:\\a\" & evil.exe \"b.exe"), std::nullopt);
}

TEST(WindowsPaths, StemIsTheFileNameWithoutItsLastExtension) {
  EXPECT_EQ(fileStem("C:\\Tools\\Pellwick.exe"), "Pellwick");
  EXPECT_EQ(fileStem("C:/My.Tools/Other Name.exe"), "Other Name");
  EXPECT_EQ(fileStem("C:\\My.Tools\\Pellwick"), "Pellwick");
  EXPECT_EQ(fileStem("archive.tar.exe"), "archive.tar");
  EXPECT_EQ(fileStem("C:\\.hidden"), ".hidden");
}

TEST(WindowsPaths, EmptyFolderNamesAreFoundButNotTheNetworkPrefix) {
  EXPECT_TRUE(hasEmptyFolderName("C:\\Documents and Settings\\\\'s Tray Folder"));
  EXPECT_TRUE(hasEmptyFolderName("C:/a//b"));
  EXPECT_FALSE(
      hasEmptyFolderName("C:\\Documents and Settings\\Test User\\Test User's Tray Folder"));
  EXPECT_FALSE(hasEmptyFolderName("\\\\server\\share\\folder"));
  EXPECT_TRUE(hasEmptyFolderName("\\\\server\\\\folder"));
}

TEST(WindowsPaths, SingleInstanceNameIsTheUsersOwnInTheSession) {
  const std::string mine = singleInstanceName("Pellwick", "S-1-5-21-1004336348-1177238915-1001");
  EXPECT_EQ(mine, "Local\\Pellwick.SingleInstance.S-1-5-21-1004336348-1177238915-1001");
  EXPECT_NE(mine, singleInstanceName("Pellwick", "S-1-5-21-1004336348-1177238915-1002"));
  // No SID, or text that is none, names the program alone: never another namespace.
  for (const char* notASid : {"", "S-", "S-1-", "S-1--5", "s-1-5", "S-1-5\\..\\Global\\x",
                              "S-1-5-21 ", "Global\\S-1-5"}) {
    EXPECT_EQ(singleInstanceName("Pellwick", notASid), "Local\\Pellwick.SingleInstance") << notASid;
  }
}

}  // namespace
}  // namespace pellwick::win32
