#pragma once
// The tray icon's menu. Its check marks are the title-bar clock's display modes, which it
// writes into the display settings, and start at login; each choice is saved at once.

#include <QMenu>
#include <QObject>
#include <array>

#include "platform/autorun.h"
#include "platform/executable_file.h"
#include "platform/user_messages.h"
#include "settings/display_settings.h"
#include "settings/saved_settings.h"
#include "settings/settings_store.h"

namespace pellwick {

class TrayMenu : public QObject {
  Q_OBJECT

 public:
  struct Services {
    SettingsStore& settings;
    AutoRun& autoRun;
    ExecutableFile executable;
    UserMessages& messages;
  };

  // The marks start as saved; `display` is set to them.
  TrayMenu(DisplaySettings& display, const SavedSettings& saved, Services services);

  QMenu& menu() { return menu_; }
  QAction* trayFolderAction() const { return trayFolderAction_; }
  QAction* remindersAction() const { return remindersAction_; }
  QAction* calendarAction() const { return calendarAction_; }
  QAction* displayModeAction(DisplayMode mode) const;
  QAction* startAtLoginAction() const { return startAtLoginAction_; }
  QAction* exitAction() const { return exitAction_; }

 private:
  void addSeparatorEntry();
  void chooseDisplayMode(DisplayMode mode);
  void chooseStartAtLogin();
  void reportUnsavedSetting(bool saved);

  DisplaySettings& display_;
  Services services_;
  QMenu menu_;
  QAction* trayFolderAction_;
  QAction* remindersAction_;
  QAction* calendarAction_;
  std::array<QAction*, kDisplayModes.size()> displayModeActions_{};
  QAction* startAtLoginAction_;
  QAction* exitAction_;
};

}  // namespace pellwick
