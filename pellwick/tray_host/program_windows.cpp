#include "tray_host/program_windows.h"

#include <QTimer>

#include "calendar/calendar.h"
#include "flasher/controls_form.h"
#include "flasher/reminders.h"
#include "resources/built_in_pictures.h"
#include "title_clock/corvane_time.h"
#include "title_clock/title_clock.h"
#include "tray_host/frm_sys_tray.h"

namespace pellwick {
namespace {

void stopTimers(QObject* window) {
  if (window == nullptr) return;
  for (QTimer* timer : window->findChildren<QTimer*>()) timer->stop();
}

}  // namespace

ProgramWindows::ProgramWindows(ProgramEnvironment environment)
    : environment_(std::move(environment)) {}

ProgramWindows::~ProgramWindows() {
  delete reminders_.data();
  delete calendar_.data();
}

bool ProgramWindows::start() {
  CorvaneTime& clock = corvaneTime();
  if (ended_) return false;
  clock.show();
  return true;
}

CorvaneTime& ProgramWindows::corvaneTime() {
  if (!corvaneTime_) {
    corvaneTime_ = std::make_unique<CorvaneTime>(
        *this, [this](const DisplayMarks& marks) { tickTitleClock(marks); });
    // The clock window's font in whole points is the width the room rule gives a character,
    // in logical pixels of the clock window's screen.
    titleClock_ = std::make_unique<TitleClock>(
        *environment_.platform.desktopWindows, qRound(corvaneTime_->font().pointSizeF()),
        QLocale::system(), [clock = corvaneTime_.get()] { return clock->devicePixelRatioF(); });
    corvaneTime_->load();
  }
  return *corvaneTime_;
}

FrmSysTray& ProgramWindows::frmSysTray() {
  if (!frmSysTray_) {
    PlatformServices& platform = environment_.platform;
    frmSysTray_ = std::make_unique<FrmSysTray>(
        *this, FrmSysTray::Services{*platform.trayShell, environment_.settings, *platform.autoRun,
                                    *platform.userFolders, environment_.messages,
                                    environment_.clock, environment_.executable});
    frmSysTray_->load();
  }
  return *frmSysTray_;
}

ControlsForm& ProgramWindows::controlsForm() {
  if (!controlsForm_) {
    controlsForm_ = std::make_unique<ControlsForm>(*this);
    controlsForm_->load();
  }
  return *controlsForm_;
}

void ProgramWindows::unloadControlsForm() {
  if (controlsForm_) unloaded_.push_back(std::move(controlsForm_));
}

Reminders& ProgramWindows::reminders() {
  if (!reminders_) {
    reminders_ = new Reminders(*environment_.platform.trayShell, [this] { showReminders(); });
  }
  return *reminders_;
}

Calendar& ProgramWindows::calendar() {
  if (!calendar_) {
    // the C picture of the icon store, Pellwick's own emblem
    calendar_ = new Calendar([clock = environment_.clock] { return clock().date(); },
                             QIcon(builtInPicturePath("dayC.ico")));
  }
  return *calendar_;
}

void ProgramWindows::showReminders() { reminders().bringToFront(); }

void ProgramWindows::showCalendar() { calendar().open(); }

bool ProgramWindows::passesSingleInstanceTest() {
  if (!environment_.platform.singleInstance->anotherInstanceRunning()) return true;
  environment_.messages.critical("Drevik[]", "This program is already running !");
  endAtOnce(0);
  return false;
}

void ProgramWindows::tickTitleClock(const DisplayMarks& marks) {
  titleClock_->tick(marks, environment_.clock());
  const QString notice = titleClock_->takeUnavailableNotice(marks);
  if (!notice.isEmpty()) environment_.messages.notice("Pellwick", notice);
}

void ProgramWindows::stopTitleClock() {
  if (!corvaneTime_) return;
  corvaneTime_->timer().stop();
  titleClock_->restoreLastCaption();
}

void ProgramWindows::exitProgram() {
  if (ended_) return;
  // In order: the last rewritten caption is given back, the blinking icon goes with the
  // reminders window, the day icon goes, the tray host unloads, the program ends.
  stopTitleClock();
  delete reminders_.data();
  if (frmSysTray_) {
    frmSysTray_->UpdateTrayIcon(TrayCommand::Delete);
    unloaded_.push_back(std::move(frmSysTray_));
  }
  endAtOnce(0);
}

void ProgramWindows::endAtOnce(int exitCode) {
  ended_ = true;
  // No handler runs after this one, not even a tick that is already due.
  stopTitleClock();
  stopTimers(controlsForm_.get());
  for (const auto& window : unloaded_) stopTimers(window.get());
  environment_.endProcess(exitCode);
}

}  // namespace pellwick
