#pragma once
// The title-bar clock at work: a 500 ms timer runs it with the display modes the tray menu
// has on, from start to end.

#include <QObject>
#include <QTimer>

#include "platform/clock.h"
#include "platform/desktop_windows.h"
#include "platform/user_messages.h"
#include "settings/display_settings.h"
#include "title_clock/title_clock.h"

namespace pellwick {

class TitleClockTimer : public QObject {
  Q_OBJECT

 public:
  // `record` (none: no record is kept) is read and mended before the first tick.
  TitleClockTimer(DesktopWindows& desktop, TitleRecord* record, const DisplaySettings& display,
                  Clock clock, UserMessages& messages);

  void start() { timer_.start(); }
  // No tick runs after this; the window rewritten last gets its own caption back.
  void stop();
  const QTimer& timer() const { return timer_; }

 private:
  void tick();

  const DisplaySettings& display_;
  Clock clock_;
  UserMessages& messages_;
  TitleClock titleClock_;
  QTimer timer_;
};

}  // namespace pellwick
