#pragma once
// Pellwick's day icon in the notification area. A 1-second timer keeps it showing today's
// picture; a left click opens the tray folder, a right click the menu. When the desktop has
// no notification area the user is told, and the icon waits for one; the message goes
// when the tray comes.

#include <QMenu>
#include <QObject>
#include <QTimer>
#include <memory>

#include "platform/clock.h"
#include "platform/tray_icons.h"
#include "platform/user_folders.h"
#include "platform/user_messages.h"
#include "resources/day_pictures.h"

namespace pellwick {

class TrayController : public QObject {
  Q_OBJECT

 public:
  struct Services {
    TrayIcons& trayIcons;
    UserFolders& folders;
    UserMessages& messages;
    Clock clock;
  };

  // `trayFolderAction` is the menu's entry that opens the tray folder, `exitAction` the one
  // that ends the program, which the message about a missing tray offers too.
  TrayController(Services services, const DayPictures& pictures, QMenu& menu,
                 QAction& trayFolderAction, QAction& exitAction);
  ~TrayController() override;

  // Makes the tray folder and starts the timer; its first tick shows the icon.
  void start();
  // The timer stops, the icon leaves the tray and the message about a missing tray goes.
  void stop();
  // Each second: today's picture, and a word to the user when the tray is missing.
  void tick();

  const QTimer& timer() const { return timer_; }

 private:
  void clicked(MouseButton button);
  void watchForTray();

  Services services_;
  const DayPictures& pictures_;
  QAction& exitAction_;
  std::unique_ptr<TrayIcon> icon_;
  std::unique_ptr<ShownMessage> noTrayMessage_;
  QTimer timer_;
  int ticksWithoutTray_ = 0;
};

}  // namespace pellwick
