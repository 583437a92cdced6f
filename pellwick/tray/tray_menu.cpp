#include "tray/tray_menu.h"

#include "tray/start_at_login.h"

namespace pellwick {
namespace {

const QString kMessageTitle = "Pellwick";

QString displayModeCaption(DisplayMode mode) {
  switch (mode) {
    case DisplayMode::LongDate:
      return "&Show  Date-   Long";
    case DisplayMode::ShortDate:
      return "&Show Date-   Short";
    case DisplayMode::LongDateAndTime:
      return "&Show Long Date and Time ";
    case DisplayMode::ShortDateAndTime:
      break;
  }
  return "&Show Short Date and Time";
}

}  // namespace

TrayMenu::TrayMenu(DisplaySettings& display, const SavedSettings& saved, Services services)
    : display_(display), services_(std::move(services)), menu_("&PopupMenu") {
  trayFolderAction_ = menu_.addAction("&My Tray Folder");
  remindersAction_ = menu_.addAction("&Pellwick");
  calendarAction_ = menu_.addAction("&Calender");
  addSeparatorEntry();
  for (DisplayMode mode : kDisplayModes) {
    QAction* action = menu_.addAction(displayModeCaption(mode));
    action->setCheckable(true);
    action->setChecked(saved.display.isOn(mode));
    connect(action, &QAction::triggered, this, [this, mode] { chooseDisplayMode(mode); });
    displayModeActions_[static_cast<std::size_t>(mode)] = action;
  }
  addSeparatorEntry();
  startAtLoginAction_ = menu_.addAction("&Autorun at Windows Startup");
  startAtLoginAction_->setCheckable(true);
  startAtLoginAction_->setChecked(saved.startAtLogin);
  connect(startAtLoginAction_, &QAction::triggered, this, &TrayMenu::chooseStartAtLogin);
  exitAction_ = menu_.addAction("&Exit Program");
  display_ = saved.display;
}

QAction* TrayMenu::displayModeAction(DisplayMode mode) const {
  return displayModeActions_[static_cast<std::size_t>(mode)];
}

// A line drawn with a caption of its own, never chosen.
void TrayMenu::addSeparatorEntry() {
  menu_.addAction("&______________________")->setEnabled(false);
}

void TrayMenu::chooseDisplayMode(DisplayMode mode) {
  // Qt has already inverted the chosen entry's mark; one mode at most stays on.
  for (DisplayMode other : kDisplayModes) {
    if (other != mode) displayModeAction(other)->setChecked(false);
    display_.set(other, displayModeAction(other)->isChecked());
  }
  reportUnsavedSetting(saveDisplayMode(services_.settings, mode, display_.isOn(mode)));
}

void TrayMenu::chooseStartAtLogin() {
  // Qt has already inverted the mark. When the entry cannot follow it, the mark is put
  // back and nothing is saved: one message says what failed and why.
  const bool wanted = startAtLoginAction_->isChecked();
  const AutoRunResult result = setStartAtLogin(services_.autoRun, services_.executable, wanted);
  if (!result.done) {
    startAtLoginAction_->setChecked(!wanted);
    services_.messages.warning(
        kMessageTitle, QString("Pellwick could not %1 %2: %3.")
                           .arg(wanted ? "write" : "remove", QString::fromStdString(result.entry),
                                QString::fromStdString(result.reason)));
    return;
  }
  reportUnsavedSetting(saveStartAtLoginMark(services_.settings, wanted));
}

void TrayMenu::reportUnsavedSetting(bool saved) {
  if (saved) return;
  services_.messages.warning(
      kMessageTitle, QString("This setting could not be saved in %1. It holds until Pellwick ends.")
                         .arg(QString::fromStdString(services_.settings.location())));
}

}  // namespace pellwick
