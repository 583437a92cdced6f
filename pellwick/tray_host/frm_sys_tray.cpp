#include "tray_host/frm_sys_tray.h"

#include <QCoreApplication>
#include <QCursor>

#include "flasher/controls_form.h"
#include "platform/notify_icon_record.h"
#include "title_clock/corvane_time.h"
#include "tray_host/bas_auto_run.h"
#include "tray_host/program_windows.h"
#include "tray_host/tray_folder.h"
#include "tray_host/tray_mouse.h"
#include "tray_host/window_handle.h"

namespace pellwick {
namespace {

const QString kSeparatorCaption = "&______________________";
const QString kMessageTitle = "Pellwick";
// A tray that restarts is back within a second; one missing longer than this is missing.
constexpr int kTicksBeforeNoTrayNotice = 3;

}  // namespace

FrmSysTray::FrmSysTray(ProgramWindows& windows, Services services)
    : HiddenWindow("Pellwick"),
      windows_(windows),
      services_(std::move(services)),
      handle_(pellwick::windowHandle(*this)),
      mPopupMenu(std::make_unique<QMenu>("&PopupMenu")) {
  mmytrayfolder = addEntry("&My Tray Folder");
  mreminders = addEntry("&Pellwick");
  mCalender = addEntry("&Calender");
  mseparator1 = addEntry(kSeparatorCaption);
  mesldate = addEntry("&Show  Date-   Long");
  messdate = addEntry("&Show Date-   Short");
  mestime = addEntry("&Show Long Date and Time ");
  mesdate = addEntry("&Show Short Date and Time");
  mseparator2 = addEntry(kSeparatorCaption);
  mautorun = addEntry("&Autorun at Windows Startup");
  mExit = addEntry("&Exit Program");

  mseparator1->setEnabled(false);
  mseparator2->setEnabled(false);
  for (QAction* entry : {mesldate, messdate, mestime, mesdate, mautorun}) {
    entry->setCheckable(true);
  }

  connect(mmytrayfolder, &QAction::triggered, this, [this] { openTrayFolder(services_.folders); });
  connect(mreminders, &QAction::triggered, this, [this] { windows_.showReminders(); });
  connect(mCalender, &QAction::triggered, this, [this] { windows_.showCalendar(); });
  for (DisplayMode mode : kDisplayModes) {
    connect(displayModeEntry(mode), &QAction::triggered, this,
            [this, mode] { chooseDisplayMode(mode); });
  }
  connect(mautorun, &QAction::triggered, this, [this] { chooseAutorun(); });
  connect(mExit, &QAction::triggered, this, [this] { windows_.exitProgram(); });

  services_.shell.setMouseListener(handle_, [this](std::uint32_t id) { trayCallback(id); });
  services_.shell.setMenu(handle_, mPopupMenu.get());

  Timer1.setTimerType(Qt::PreciseTimer);  // the new day must reach the tray within 2 s
  Timer1.setInterval(1000);
  connect(&Timer1, &QTimer::timeout, this, &FrmSysTray::timerTick);
  Timer1.start();
}

FrmSysTray::~FrmSysTray() {
  services_.shell.setMouseListener(handle_, {});
  services_.shell.setMenu(handle_, nullptr);
}

QAction* FrmSysTray::addEntry(const QString& caption) { return mPopupMenu->addAction(caption); }

QAction* FrmSysTray::displayModeEntry(DisplayMode mode) const {
  switch (mode) {
    case DisplayMode::LongDate:
      return mesldate;
    case DisplayMode::ShortDate:
      return messdate;
    case DisplayMode::LongDateAndTime:
      return mestime;
    case DisplayMode::ShortDateAndTime:
      break;
  }
  return mesdate;
}

void FrmSysTray::load() {
  if (!windows_.passesSingleInstanceTest()) return;
  const SavedMarks saved = restoreMarks(services_.settings);
  for (DisplayMode mode : kDisplayModes) {
    displayModeEntry(mode)->setChecked(saved.modes.*markOf(mode));
  }
  mautorun->setChecked(saved.mautorun);
  emit IconChanged(this);
  hide();
  hideClockWindow();
  for (DisplayMode mode : kDisplayModes) {
    if (displayModeEntry(mode)->isChecked()) windows_.corvaneTime().show();
  }
  createTrayFolder(services_.folders);
}

DisplayMarks FrmSysTray::displayMarks() const {
  DisplayMarks marks;
  for (DisplayMode mode : kDisplayModes) marks.*markOf(mode) = displayModeEntry(mode)->isChecked();
  return marks;
}

void FrmSysTray::UpdateTrayIcon(TrayCommand command) {
  services_.shell.notifyIcon(TrayCommand::Modify, TIcon);
  showTodaysPicture();
  fillTrayIconRecord(TIcon, handle_, shownIconHandle_);
  services_.shell.notifyIcon(command, TIcon);
}

void FrmSysTray::timerTick() {
  UpdateTrayIcon(TrayCommand::Add);
  watchForTray();
}

// Without a tray Pellwick would run unseen: say so once each time the tray goes missing.
// The icon shows by itself as soon as a tray is there.
void FrmSysTray::watchForTray() {
  if (services_.shell.trayAvailable()) {
    ticksWithoutTray_ = 0;
    return;
  }
  if (ticksWithoutTray_ == kTicksBeforeNoTrayNotice) return;
  if (++ticksWithoutTray_ < kTicksBeforeNoTrayNotice) return;
  services_.messages.notice(
      kMessageTitle,
      QString("This desktop has no notification area (system tray), so Pellwick's icon and "
              "menu cannot be shown. Pellwick keeps running and its icon appears as soon as "
              "a notification area is there (on GNOME: the AppIndicator extension).\n\n"
              "To end Pellwick meanwhile: kill %1")
          .arg(QCoreApplication::applicationPid()));
}

void FrmSysTray::showTodaysPicture() {
  const int day = services_.clock().date().day();
  if (day == shownDay_) return;
  const IconPicture& picture = windows_.controlsForm().dayPicture(day);
  setWindowIcon(picture.icon);
  shownIconHandle_ = services_.shell.iconHandle(picture.bytes());
  shownDay_ = day;
}

void FrmSysTray::trayCallback(std::uint32_t id) {
  emit TrayMouse(QString::fromStdString(trayMouseName(id)));
  if (id == mouse_code::LButtonUp) {
    openTrayFolder(services_.folders);
  } else if (id == mouse_code::RButtonUp) {
    // The menu grabs mouse and keyboard, so it closes when the user clicks elsewhere.
    mPopupMenu->popup(QCursor::pos());
#ifdef Q_OS_WIN
    // Windows sends keys to the foreground window only, which a tray program is not.
    mPopupMenu->activateWindow();
#endif
  }
}

void FrmSysTray::hideClockWindow() {
  CorvaneTime& clock = windows_.corvaneTime();
  clock.setEnabled(false);
  clock.hide();
  clock.requestSize(0, 0);
}

void FrmSysTray::chooseDisplayMode(DisplayMode mode) {
  // Qt has already inverted the chosen entry's mark.
  for (DisplayMode other : kDisplayModes) {
    if (other != mode) displayModeEntry(other)->setChecked(false);
  }
  hideClockWindow();
  reportUnsavedSetting(
      saveDisplayMode(services_.settings, mode, displayModeEntry(mode)->isChecked()));
}

void FrmSysTray::chooseAutorun() {
  // Qt has already inverted the mark; it is put back when the entry cannot follow it.
  const bool wanted = mautorun->isChecked();
  const bool done = wanted ? SetAutoRun(services_.autoRun, services_.executable)
                           : ClearAutoRun(services_.autoRun, services_.executable);
  if (!done) {
    mautorun->setChecked(!wanted);
    services_.messages.warning(
        kMessageTitle, wanted ? "Pellwick could not be set to start when you log in."
                              : "Pellwick could not be kept from starting when you log in.");
  }
  reportUnsavedSetting(saveAutorunMark(services_.settings, mautorun->isChecked()));
}

void FrmSysTray::reportUnsavedSetting(bool saved) {
  if (saved) return;
  services_.messages.warning(kMessageTitle,
                             "This setting could not be saved. It holds until Pellwick ends.");
}

}  // namespace pellwick
