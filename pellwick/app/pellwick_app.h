#pragma once
// Pellwick as a whole: after making sure it is the only copy, it reads the settings and
// builds its parts in order. The title-bar clock runs from the start; the day icon follows
// with the clock's first tick; the reminders and the calendar windows are made when first
// opened. exitProgram() is the one orderly way out.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

#include "calendar/calendar.h"
#include "platform/clock.h"
#include "platform/executable_file.h"
#include "platform/platform_services.h"
#include "platform/user_messages.h"
#include "reminders/reminders_window.h"
#include "resources/day_pictures.h"
#include "settings/display_settings.h"
#include "settings/settings_store.h"

namespace pellwick {

class TitleClockTimer;
class TrayController;
class TrayMenu;

struct AppEnvironment {
  PlatformServices& platform;
  SettingsStore& settings;
  UserMessages& messages;
  Clock clock;
  ExecutableFile executable;
  // Ends the process once the current handler has returned (QCoreApplication::exit).
  std::function<void(int exitCode)> endProcess;
};

class PellwickApp : public QObject {
  Q_OBJECT

 public:
  explicit PellwickApp(AppEnvironment environment);
  ~PellwickApp() override;

  // False when another copy is running: the user is told, and the program ends.
  bool start();

  // "&Exit Program", a logout and termination requests all end here. The window the
  // title-bar clock rewrote last gets its own caption back before anything else ends.
  void exitProgram();

  void showReminders();
  void showCalendar();

  // The parts, for tests; null before start().
  TitleClockTimer* titleClock() const { return titleClock_.get(); }
  TrayMenu* trayMenu() const { return trayMenu_.get(); }
  TrayController* tray() const { return tray_.get(); }
  // Null until opened and after being closed.
  RemindersWindow* remindersWindow() const { return reminders_.data(); }
  Calendar* calendar() const { return calendar_.data(); }

 private:
  void buildParts();

  AppEnvironment environment_;
  bool ended_ = false;
  DisplaySettings display_;
  DayPictures dayPictures_;
  std::unique_ptr<TitleClockTimer> titleClock_;
  std::unique_ptr<TrayMenu> trayMenu_;
  std::unique_ptr<TrayController> tray_;
  QTimer trayStart_;
  QPointer<RemindersWindow> reminders_;
  QPointer<Calendar> calendar_;
};

}  // namespace pellwick
