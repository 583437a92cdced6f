#pragma once
// `FlashControl`: the hidden window that owns the blinking TO / DO tray icon.

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "flasher/flasher.h"
#include "platform/tray_shell.h"

namespace pellwick {

class FlashControl : public QWidget {
  Q_OBJECT

 public:
  // Creates and loads the flasher: its icon enters the tray at once, showing TO, and
  // blinks every second. `showReminders` shows the program-wide reminders window; a left
  // click on the icon calls it. The window itself is never shown.
  FlashControl(TrayShell& trayShell, std::function<void()> showReminders);
  ~FlashControl() override;

  // Milliseconds between TO and DO (see Flasher::setInterval).
  [[nodiscard]] bool setInterval(std::int16_t milliseconds);
  std::optional<std::int16_t> interval() const;
  // The picture the icon shows (see Flasher::setTrayIcon).
  void setTrayIcon(const TrayIconValue& value);

  // The owner (the reminders window). When it is destroyed, the icon leaves the tray and
  // this window deletes itself.
  void setFSys(QObject* owner);
  QObject* fSys() const { return FSys; }

 signals:
  void TrayMouse(const QString& name);
  void IconChanged(pellwick::FlashControl* flasher);

 private:
  void ownerUnloaded();

  QTimer TmrFlash;
  QPointer<QObject> FSys;
  QMetaObject::Connection ownerUnload_;
  Flasher flasher_;
};

}  // namespace pellwick
