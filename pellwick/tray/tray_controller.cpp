#include "tray/tray_controller.h"

#include "tray/tray_folder.h"

namespace pellwick {
namespace {

// A tray that restarts is back within a second; one missing longer than this is missing.
constexpr int kTicksBeforeNoTrayNotice = 3;

}  // namespace

TrayController::TrayController(Services services, const DayPictures& pictures, QMenu& menu,
                               QAction& trayFolderAction, QAction& exitAction)
    : services_(std::move(services)),
      pictures_(pictures),
      exitAction_(exitAction),
      icon_(services_.trayIcons.createIcon(
          {.clicked = [this](MouseButton button) { clicked(button); }, .doubleClicked = {}})) {
  icon_->setMenu(&menu);
  connect(&trayFolderAction, &QAction::triggered, this,
          [this] { openTrayFolder(services_.folders); });
  timer_.setTimerType(Qt::PreciseTimer);  // the new day must reach the tray within 2 s
  timer_.setInterval(1000);
  connect(&timer_, &QTimer::timeout, this, &TrayController::tick);
}

TrayController::~TrayController() = default;

void TrayController::start() {
  createTrayFolder(services_.folders);
  timer_.start();
}

void TrayController::stop() {
  timer_.stop();
  icon_.reset();
  noTrayMessage_.reset();
}

void TrayController::tick() {
  if (!icon_) return;
  icon_->setIcon(pictures_.forDay(services_.clock().date().day()));
  icon_->show();
  watchForTray();
}

void TrayController::clicked(MouseButton button) {
  if (button == MouseButton::Left) openTrayFolder(services_.folders);
}

// Without a tray Pellwick would run unseen: say so once each time the tray goes missing,
// and offer the way out the menu would. The icon shows by itself as soon as a tray is
// there, and the message goes.
void TrayController::watchForTray() {
  if (services_.trayIcons.available()) {
    ticksWithoutTray_ = 0;
    noTrayMessage_.reset();
    return;
  }
  if (ticksWithoutTray_ == kTicksBeforeNoTrayNotice) return;
  if (++ticksWithoutTray_ < kTicksBeforeNoTrayNotice) return;
  noTrayMessage_ = services_.messages.noticeWithButton(
      "Pellwick",
      "This desktop has no notification area (system tray), so Pellwick's icon and menu "
      "cannot be shown. Pellwick keeps running: its icon appears, and this message closes, "
      "as soon as a notification area is there (on GNOME: the AppIndicator extension).",
      "&Exit Pellwick", [this] { exitAction_.trigger(); });
}

}  // namespace pellwick
