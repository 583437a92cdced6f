#include "app/pellwick_app.h"

#include "settings/saved_settings.h"
#include "title_clock/title_clock_timer.h"
#include "tray/tray_controller.h"
#include "tray/tray_menu.h"

namespace pellwick {
namespace {

// The day icon comes with the clock's first tick; its own first tick shows it.
constexpr int kTrayStartDelayMs = 500;

}  // namespace

PellwickApp::PellwickApp(AppEnvironment environment) : environment_(std::move(environment)) {
  trayStart_.setSingleShot(true);
  trayStart_.setInterval(kTrayStartDelayMs);
  connect(&trayStart_, &QTimer::timeout, this, [this] { tray_->start(); });
}

PellwickApp::~PellwickApp() {
  delete reminders_.data();
  delete calendar_.data();
}

bool PellwickApp::start() {
  if (environment_.platform.singleInstance->anotherInstanceRunning()) {
    environment_.messages.critical("Drevik[]", "This program is already running !");
    ended_ = true;
    environment_.endProcess(0);
    return false;
  }
  buildParts();
  titleClock_->start();
  trayStart_.start();
  return true;
}

void PellwickApp::buildParts() {
  PlatformServices& platform = environment_.platform;
  const SavedSettings saved = readSavedSettings(environment_.settings);
  titleClock_ = std::make_unique<TitleClockTimer>(*platform.desktopWindows,
                                                  platform.titleRecord.get(), display_,
                                                  environment_.clock, environment_.messages);
  trayMenu_ = std::make_unique<TrayMenu>(
      display_, saved,
      TrayMenu::Services{environment_.settings, *platform.autoRun, environment_.executable,
                         environment_.messages});
  tray_ = std::make_unique<TrayController>(
      TrayController::Services{*platform.trayIcons, *platform.userFolders, environment_.messages,
                               environment_.clock},
      dayPictures_, trayMenu_->menu(), *trayMenu_->trayFolderAction(), *trayMenu_->exitAction());
  connect(trayMenu_->remindersAction(), &QAction::triggered, this, &PellwickApp::showReminders);
  connect(trayMenu_->calendarAction(), &QAction::triggered, this, &PellwickApp::showCalendar);
  connect(trayMenu_->exitAction(), &QAction::triggered, this, &PellwickApp::exitProgram);
}

void PellwickApp::showReminders() {
  if (!reminders_) {
    reminders_ = new RemindersWindow(*environment_.platform.trayIcons, [this] { showReminders(); });
  }
  reminders_->bringToFront();
}

void PellwickApp::showCalendar() {
  if (!calendar_) {
    calendar_ = new Calendar([clock = environment_.clock] { return clock().date(); },
                             dayPictures_.emblem());
  }
  calendar_->open();
}

void PellwickApp::exitProgram() {
  if (ended_) return;
  ended_ = true;
  // In order: the last rewritten caption is given back, the blinking icon goes with the
  // reminders window, the day icon goes, the program ends.
  if (titleClock_) titleClock_->stop();
  delete reminders_.data();
  trayStart_.stop();
  if (tray_) tray_->stop();
  environment_.endProcess(0);
}

}  // namespace pellwick
