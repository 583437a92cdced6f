#include "flasher/flash_control.h"

#include <QFile>

#include "resources/built_in_pictures.h"
#include "tray_host/window_handle.h"

namespace pellwick {
namespace {

// One of our built-in pictures, as its icon file.
IconFile builtInPicture(const QString& fileName) {
  QFile file(builtInPicturePath(fileName));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  return IconFile(bytes.begin(), bytes.end());
}

}  // namespace

FlashControl::FlashControl(TrayShell& trayShell, std::function<void()> showReminders)
    : QWidget(nullptr, Qt::Tool),
      TmrFlash(this),
      flasher_(
          trayShell, pellwick::windowHandle(*this), builtInPicture("flash_to.ico"),
          builtInPicture("flash_do.ico"),
          {.trayMouse =
               [this](const std::string& name) { emit TrayMouse(QString::fromStdString(name)); },
           .iconChanged = [this] { emit IconChanged(this); },
           .showReminders = std::move(showReminders),
           .restartTimer =
               [this](int period) {
                 TmrFlash.stop();
                 if (period > 0) TmrFlash.start(period);
               }}) {
  setObjectName("FlashControl");
  TmrFlash.setObjectName("TmrFlash");
  connect(&TmrFlash, &QTimer::timeout, this, [this] { flasher_.tick(); });
  flasher_.load();
}

FlashControl::~FlashControl() = default;

bool FlashControl::setInterval(std::int16_t milliseconds) {
  return flasher_.setInterval(milliseconds);
}

std::optional<std::int16_t> FlashControl::interval() const { return flasher_.interval(); }

void FlashControl::setTrayIcon(const TrayIconValue& value) { flasher_.setTrayIcon(value); }

void FlashControl::setFSys(QObject* owner) {
  disconnect(ownerUnload_);
  FSys = owner;
  if (owner) {
    ownerUnload_ = connect(owner, &QObject::destroyed, this, &FlashControl::ownerUnloaded);
  }
}

void FlashControl::ownerUnloaded() {
  flasher_.ownerUnloaded();
  deleteLater();
}

}  // namespace pellwick
