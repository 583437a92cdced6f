#include "tray_host/program_windows.h"

#include <QTimer>

#include "flasher/controls_form.h"
#include "title_clock/corvane_time.h"
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

ProgramWindows::~ProgramWindows() = default;

bool ProgramWindows::start() {
  CorvaneTime& clock = corvaneTime();
  if (ended_) return false;
  clock.show();
  return true;
}

CorvaneTime& ProgramWindows::corvaneTime() {
  if (!corvaneTime_) {
    corvaneTime_ = std::make_unique<CorvaneTime>(*this, CorvaneTime::TickHandler());
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

void ProgramWindows::showReminders() {
  // no reminders window to show yet
}

void ProgramWindows::showCalendar() {
  // no calendar to show yet
}

bool ProgramWindows::passesSingleInstanceTest() {
  if (!environment_.platform.singleInstance->anotherInstanceRunning()) return true;
  environment_.messages.critical("Drevik[]", "This program is already running !");
  endAtOnce(0);
  return false;
}

void ProgramWindows::exitProgram() {
  if (ended_) return;
  // In order: the day icon goes, the tray host unloads, the program ends. What other
  // windows must do on the way out (the clock giving back the caption it rewrote last,
  // the flasher removing its icon) goes before the end.
  if (frmSysTray_) {
    frmSysTray_->UpdateTrayIcon(TrayCommand::Delete);
    unloaded_.push_back(std::move(frmSysTray_));
  }
  endAtOnce(0);
}

void ProgramWindows::endAtOnce(int exitCode) {
  ended_ = true;
  // No handler runs after this one, not even a tick that is already due.
  stopTimers(corvaneTime_.get());
  stopTimers(controlsForm_.get());
  for (const auto& window : unloaded_) stopTimers(window.get());
  environment_.endProcess(exitCode);
}

}  // namespace pellwick
