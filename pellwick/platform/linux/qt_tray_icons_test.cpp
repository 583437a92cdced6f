#include "platform/linux/qt_tray_icons.h"

#include <gtest/gtest.h>

namespace pellwick {
namespace {

TEST(QtTrayIcons, ReleasesAndSecondPressesAreClicksAndDoubleClicks) {
  const auto left = TrayClick{MouseButton::Left};
  // What a D-Bus tray's host reports.
  EXPECT_EQ(trayClickFor(QSystemTrayIcon::Trigger), left);
  EXPECT_EQ(trayClickFor(QSystemTrayIcon::DoubleClick), (TrayClick{MouseButton::Left, true}));
  EXPECT_EQ(trayClickFor(QSystemTrayIcon::Context), TrayClick{MouseButton::Right});
  EXPECT_EQ(trayClickFor(QSystemTrayIcon::MiddleClick), TrayClick{MouseButton::Middle});
  EXPECT_EQ(trayClickFor(QSystemTrayIcon::Unknown), std::nullopt);
  // The buttons on an embedded icon: presses report nothing.
  EXPECT_EQ(trayClickFor(QEvent::MouseButtonPress, Qt::LeftButton), std::nullopt);
  EXPECT_EQ(trayClickFor(QEvent::MouseButtonRelease, Qt::LeftButton), left);
  EXPECT_EQ(trayClickFor(QEvent::MouseButtonDblClick, Qt::LeftButton),
            (TrayClick{MouseButton::Left, true}));
  EXPECT_EQ(trayClickFor(QEvent::MouseButtonRelease, Qt::RightButton),
            TrayClick{MouseButton::Right});
  EXPECT_EQ(trayClickFor(QEvent::MouseButtonDblClick, Qt::MiddleButton),
            (TrayClick{MouseButton::Middle, true}));
  EXPECT_EQ(trayClickFor(QEvent::MouseButtonRelease, Qt::BackButton), std::nullopt);
}

}  // namespace
}  // namespace pellwick
