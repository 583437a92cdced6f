#include "platform/linux/xdg_autorun.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <thread>

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
  EXPECT_EQ(desktopEntryCommand("/opt/line\nbreak"), "\"/opt/line\\nbreak\"");
  // The shell runs a path with a percent sign, which comes as its $0.
  EXPECT_EQ(desktopEntryCommand("/opt/100%/pellwick"),
            "/bin/sh -c \"exec \\\\\"\\\\$0\\\\\"\" /opt/100%%/pellwick");
  EXPECT_EQ(desktopEntryCommand("/opt/100% sure/pellwick"),
            "/bin/sh -c \"exec \\\\\"\\\\$0\\\\\"\" \"/opt/100%% sure/pellwick\"");
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
  XdgAutoRun autoRun(config.path().toStdString(), "/home/u");
  const std::string entry = autoRun.entryPath("pellwick");
  EXPECT_EQ(entry, config.path().toStdString() + "/autostart/pellwick.desktop");

  ASSERT_TRUE(autoRun.setEntry("pellwick", "/old/pellwick").done);
  ASSERT_TRUE(autoRun.setEntry("pellwick", "/new place/pellwick").done);
  EXPECT_EQ(readAll(entry), autostartEntry("pellwick", "/new place/pellwick"));

  QFile other(config.filePath("autostart/other.desktop"));
  ASSERT_TRUE(other.open(QIODevice::WriteOnly));
  other.close();
  EXPECT_TRUE(autoRun.clearEntry("pellwick").done);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(entry)));
  EXPECT_TRUE(other.exists());
  EXPECT_TRUE(autoRun.clearEntry("pellwick").done) << "nothing to remove is no failure";
}

TEST(XdgAutoRun, APathItCannotWriteFaithfullyIsRefusedAndNothingIsWritten) {
  QTemporaryDir config;
  XdgAutoRun autoRun(config.path().toStdString(), config.path().toStdString());
  const AutoRunResult notUtf8 = autoRun.setEntry("pellwick",
                                                 "/tmp/bad\xff"
                                                 "dir/pellwick");
  EXPECT_FALSE(notUtf8.done);
  EXPECT_EQ(notUtf8.entry, "~/autostart/pellwick.desktop");
  EXPECT_EQ(notUtf8.reason,
            "the path of Pellwick's program file, /tmp/bad\uFFFD"
            "dir/pellwick, is not valid UTF-8");
  const AutoRunResult none = autoRun.setEntry("", "");
  EXPECT_FALSE(none.done);
  EXPECT_EQ(none.reason, "the system tells no path of Pellwick's program file");
  EXPECT_FALSE(QDir(config.filePath("autostart")).exists());
}

TEST(XdgAutoRun, FailuresNameThePlaceAndTheSystemsReason) {
  QTemporaryDir home;
  QFile blocker(home.filePath("not-a-folder"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  XdgAutoRun blocked(blocker.fileName().toStdString(), home.path().toStdString());
  const AutoRunResult noFolder = blocked.setEntry("pellwick", "/usr/bin/pellwick");
  EXPECT_FALSE(noFolder.done);
  EXPECT_EQ(noFolder.entry, "~/not-a-folder/autostart/pellwick.desktop");
  EXPECT_EQ(noFolder.reason, "Not a directory");

  // A folder where the entry should be: neither written nor removed.
  XdgAutoRun autoRun(home.path().toStdString(), "/elsewhere");
  ASSERT_TRUE(QDir(home.path()).mkpath("autostart/pellwick.desktop/inside"));
  const AutoRunResult notWritten = autoRun.setEntry("pellwick", "/usr/bin/pellwick");
  EXPECT_FALSE(notWritten.done);
  EXPECT_EQ(notWritten.entry, autoRun.entryPath("pellwick")) << "outside the home in full";
  EXPECT_EQ(notWritten.reason, "Filename refers to a directory");
  const AutoRunResult notRemoved = autoRun.clearEntry("pellwick");
  EXPECT_FALSE(notRemoved.done);
  EXPECT_EQ(notRemoved.reason, "Is a directory");
}

// GLib's launcher (GNOME, Cinnamon, Xfce and MATE start autostart entries with it) and
// the desktop entry rules both run the very file, whatever its folder holds.
TEST(XdgAutoRun, GLibsLauncherStartsTheEntryFromAwkwardFolders) {
  QTemporaryDir dir;
  const QString ran = dir.filePath("ran");
  const QStringList folders{"plain", "100%", "a%b c", "say \"hi\" it's", "$HOME `x` \\ 50%"};
  for (const QString& folder : folders) {
    SCOPED_TRACE(folder.toStdString());
    ASSERT_TRUE(QDir(dir.path()).mkpath(folder));
    const QString program = dir.filePath(folder + "/pellwick");
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nprintf '%s' \"$0\" > \"$RAN\"\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::remove(ran);

    XdgAutoRun autoRun(dir.filePath("config").toStdString(), dir.path().toStdString());
    ASSERT_TRUE(autoRun.setEntry("pellwick", program.toStdString()).done);
    QProcess gio;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("RAN", ran);
    gio.setProcessEnvironment(environment);
    gio.start("gio", {"launch", QString::fromStdString(autoRun.entryPath("pellwick"))});
    ASSERT_TRUE(gio.waitForFinished(10000));
    EXPECT_EQ(gio.exitCode(), 0) << gio.readAllStandardError().toStdString();
    // The launcher does not wait for the program; the script writes its path and ends.
    const auto waitedFor = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (readAll(ran.toStdString()) != program.toStdString() &&
           std::chrono::steady_clock::now() < waitedFor) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(readAll(ran.toStdString()), program.toStdString());
  }
}

}  // namespace
}  // namespace pellwick
