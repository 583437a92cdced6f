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
  // What a D-Bus tray's host reports.
  EXPECT_EQ(mouseCodeFor(QSystemTrayIcon::Trigger), 514u);
  EXPECT_EQ(mouseCodeFor(QSystemTrayIcon::Context), 517u);
  EXPECT_EQ(mouseCodeFor(QSystemTrayIcon::MiddleClick), 520u);
  EXPECT_EQ(mouseCodeFor(QSystemTrayIcon::Unknown), std::nullopt);
  // The buttons on an embedded icon: presses report nothing.
  EXPECT_EQ(mouseCodeFor(QEvent::MouseButtonPress, Qt::LeftButton), std::nullopt);
  EXPECT_EQ(mouseCodeFor(QEvent::MouseButtonRelease, Qt::LeftButton), 514u);
  EXPECT_EQ(mouseCodeFor(QEvent::MouseButtonDblClick, Qt::LeftButton), 515u);
  EXPECT_EQ(mouseCodeFor(QEvent::MouseButtonRelease, Qt::RightButton), 517u);
  EXPECT_EQ(mouseCodeFor(QEvent::MouseButtonDblClick, Qt::MiddleButton), 521u);
  EXPECT_EQ(mouseCodeFor(QEvent::MouseButtonRelease, Qt::BackButton), std::nullopt);
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
