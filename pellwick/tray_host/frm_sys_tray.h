#pragma once
// The tray host: a hidden window that owns Pellwick's day icon in the notification area,
// turns the shell's mouse codes into actions and carries the popup menu whose check marks
// are the program's settings.

#include <QMenu>
#include <QTimer>
#include <array>
#include <memory>

#include "platform/autorun.h"
#include "platform/executable_file.h"
#include "platform/tray_shell.h"
#include "platform/user_folders.h"
#include "title_clock/display_marks.h"
#include "tray_host/clock.h"
#include "tray_host/hidden_window.h"
#include "tray_host/saved_settings.h"
#include "tray_host/settings_store.h"
#include "tray_host/user_messages.h"

namespace pellwick {

class ProgramWindows;

class FrmSysTray : public HiddenWindow {
  Q_OBJECT

 public:
  struct Services {
    TrayShell& shell;
    SettingsStore& settings;
    AutoRun& autoRun;
    UserFolders& folders;
    UserMessages& messages;
    Clock clock;
    ExecutableFile executable;
  };

  FrmSysTray(ProgramWindows& windows, Services services);
  ~FrmSysTray() override;

  void load();

  // Re-sends the last record, shows today's picture, then sends `command` with the new record.
  void UpdateTrayIcon(TrayCommand command);
  // Each second: the icon, and a word to the user when the desktop has no tray for it.
  void timerTick();
  // One mouse code the shell reported for the icon.
  void trayCallback(std::uint32_t id);

  DisplayMarks displayMarks() const;
  const NotifyIconData& trayIconRecord() const { return TIcon; }
  QMenu& popupMenu() { return *mPopupMenu; }
  QTimer& timer() { return Timer1; }

  QAction* mmytrayfolder;
  QAction* mreminders;
  QAction* mCalender;
  QAction* mseparator1;
  QAction* mesldate;
  QAction* messdate;
  QAction* mestime;
  QAction* mesdate;
  QAction* mseparator2;
  QAction* mautorun;
  QAction* mExit;

 signals:
  void TrayMouse(const QString& name);
  void IconChanged(FrmSysTray* window);

 private:
  QAction* addEntry(const QString& caption);
  QAction* displayModeEntry(DisplayMode mode) const;
  void showTodaysPicture();
  void hideClockWindow();
  void chooseDisplayMode(DisplayMode mode);
  void chooseAutorun();
  void reportUnsavedSetting(bool saved);
  void watchForTray();

  ProgramWindows& windows_;
  Services services_;
  std::uint32_t handle_;
  NotifyIconData TIcon;
  QTimer Timer1{this};
  std::unique_ptr<QMenu> mPopupMenu;
  int shownDay_ = 0;
  std::uint32_t shownIconHandle_ = 0;
  int ticksWithoutTray_ = 0;
};

}  // namespace pellwick
