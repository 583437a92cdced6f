#include "platform/linux/qt_tray_shell.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>

#include "fakes/qt_test_application.h"
#include "platform/notify_icon_record.h"

namespace pellwick {
namespace {

using Codes = std::vector<std::uint32_t>;

std::vector<std::uint8_t> icoFile(QColor colour) {
  QImage image(16, 16, QImage::Format_ARGB32);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter(&buffer, "ico").write(image);
  return {bytes.begin(), bytes.end()};
}

NotifyIconData record(std::uint32_t owner, std::uint32_t icon) {
  NotifyIconData data;
  fillTrayIconRecord(data, owner, icon);
  return data;
}

TEST(QtTrayShell, ClicksBecomeTheShellsMouseCodes) {
  EXPECT_EQ(mouseCodesFor(QSystemTrayIcon::Trigger), Codes{514});
  EXPECT_EQ(mouseCodesFor(QSystemTrayIcon::Context), Codes{517});
  EXPECT_EQ(mouseCodesFor(QSystemTrayIcon::MiddleClick), Codes{520});
  // The second press of a double click: the shell reports it and then its release.
  EXPECT_EQ(mouseCodesFor(QSystemTrayIcon::DoubleClick), (Codes{515, 514}));
  EXPECT_EQ(mouseCodesFor(QSystemTrayIcon::Unknown), Codes{});
}

TEST(QtTrayShell, EqualPicturesShareAHandleAndUnreadableOnesGetNone) {
  QtTrayShell shell;
  const auto red = icoFile(Qt::red);
  const std::uint32_t handle = shell.iconHandle(red);
  EXPECT_NE(handle, 0u);
  EXPECT_EQ(shell.iconHandle(red), handle);
  EXPECT_NE(shell.iconHandle(icoFile(Qt::blue)), handle);
  const std::vector<std::uint8_t> garbage{1, 2, 3};
  EXPECT_EQ(shell.iconHandle(garbage), 0u);
}

TEST(QtTrayShell, RefusesCommandsAsTheShellDoes) {
  QtTrayShell shell;
  const std::uint32_t icon = shell.iconHandle(icoFile(Qt::red));
  EXPECT_FALSE(shell.notifyIcon(TrayCommand::Modify, record(7, icon)));
  EXPECT_TRUE(shell.notifyIcon(TrayCommand::Add, record(7, icon)));
  EXPECT_FALSE(shell.notifyIcon(TrayCommand::Add, record(7, icon)));
  EXPECT_TRUE(shell.notifyIcon(TrayCommand::Add, record(8, icon))) << "another owner's icon";
  EXPECT_TRUE(shell.notifyIcon(TrayCommand::Modify, record(7, icon)));
  EXPECT_TRUE(shell.notifyIcon(TrayCommand::Delete, record(7, icon)));
  EXPECT_FALSE(shell.notifyIcon(TrayCommand::Delete, record(7, icon)));
  EXPECT_TRUE(shell.notifyIcon(TrayCommand::Add, record(7, icon))) << "added again after delete";
}

}  // namespace
}  // namespace pellwick
