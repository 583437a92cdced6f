#include "platform/linux/xdg_autorun.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace pellwick {
namespace {

std::string readAll(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return "<missing>";
  return file.readAll().toStdString();
}

TEST(XdgAutoRun, ConfigFolderFollowsAnAbsoluteXdgConfigHomeOnly) {
  EXPECT_EQ(xdgConfigHome("/cfg", "/home/u"), "/cfg");
  EXPECT_EQ(xdgConfigHome(nullptr, "/home/u"), "/home/u/.config");
  EXPECT_EQ(xdgConfigHome("", "/home/u"), "/home/u/.config");
  EXPECT_EQ(xdgConfigHome("relative/cfg", "/home/u"), "/home/u/.config");
}

TEST(XdgAutoRun, CommandIsThePathQuotedWhenItHoldsBlanksOrShellCharacters) {
  EXPECT_EQ(desktopEntryCommand("/usr/bin/pellwick"), "/usr/bin/pellwick");
  EXPECT_EQ(desktopEntryCommand("/opt/My Tools/pellwick"), "\"/opt/My Tools/pellwick\"");
  EXPECT_EQ(desktopEntryCommand("/opt/a$b/pellwick"), "\"/opt/a\\\\$b/pellwick\"");
  EXPECT_EQ(desktopEntryCommand("/opt/say \"hi\"/x"), "\"/opt/say \\\\\"hi\\\\\"/x\"");
  // A backslash is escaped inside the quotes, then again as a string value: four in the file.
  EXPECT_EQ(desktopEntryCommand("/opt/back\\slash"), "\"/opt/back\\\\\\\\slash\"");
  EXPECT_EQ(desktopEntryCommand("/opt/100%/pellwick"), "/opt/100%%/pellwick");
  EXPECT_EQ(desktopEntryCommand("/opt/line\nbreak"), "\"/opt/line\\nbreak\"");
}

TEST(XdgAutoRun, EntryStartsTheGivenExecutable) {
  EXPECT_EQ(autostartEntry("pellwick", "/home/u/My Apps/pellwick"),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=pellwick\n"
            "Exec=\"/home/u/My Apps/pellwick\"\n"
            "Terminal=false\n");
}

TEST(XdgAutoRun, SetWritesTheEntryAndClearRemovesOnlyIt) {
  QTemporaryDir config;
  XdgAutoRun autoRun(config.path().toStdString());
  const std::string entry = autoRun.entryPath("pellwick");
  EXPECT_EQ(entry, config.path().toStdString() + "/autostart/pellwick.desktop");

  ASSERT_TRUE(autoRun.setEntry("pellwick", "/old/pellwick"));
  ASSERT_TRUE(autoRun.setEntry("pellwick", "/new place/pellwick"));
  EXPECT_EQ(readAll(entry), autostartEntry("pellwick", "/new place/pellwick"));

  QFile other(config.filePath("autostart/other.desktop"));
  ASSERT_TRUE(other.open(QIODevice::WriteOnly));
  other.close();
  EXPECT_TRUE(autoRun.clearEntry("pellwick"));
  EXPECT_FALSE(QFile::exists(QString::fromStdString(entry)));
  EXPECT_TRUE(other.exists());
  EXPECT_TRUE(autoRun.clearEntry("pellwick")) << "nothing to remove is no failure";
}

TEST(XdgAutoRun, ReportsAnEntryThatCannotBeWritten) {
  QTemporaryDir dir;
  QFile blocker(dir.filePath("not-a-folder"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  XdgAutoRun autoRun(blocker.fileName().toStdString());
  EXPECT_FALSE(autoRun.setEntry("pellwick", "/usr/bin/pellwick"));
}

}  // namespace
}  // namespace pellwick
