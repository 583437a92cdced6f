#pragma once
// The blinking TO / DO icon of the reminders window: it enters the tray showing TO and
// switches between TO and DO every interval; a left click on it calls `leftClicked`.

#include <QIcon>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/tray_icons.h"

namespace pellwick {

class BlinkingTrayIcon : public QObject {
  Q_OBJECT

 public:
  BlinkingTrayIcon(TrayIcons& trayIcons, std::function<void()> leftClicked);
  ~BlinkingTrayIcon() override;

  // Milliseconds between TO and DO (1000 at first); 0 holds the picture shown. A negative
  // value is refused: false, and nothing changes.
  [[nodiscard]] bool setInterval(std::int16_t milliseconds);

  bool showsDo() const { return showsDo_; }
  const QTimer& timer() const { return timer_; }

 private:
  void blink();

  const QIcon to_;
  const QIcon do_;
  std::function<void()> leftClicked_;
  std::unique_ptr<TrayIcon> icon_;
  QTimer timer_;
  bool showsDo_ = false;
};

}  // namespace pellwick
