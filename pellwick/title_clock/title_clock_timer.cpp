#include "title_clock/title_clock_timer.h"

#include <QGuiApplication>
#include <QScreen>

namespace pellwick {
namespace {

// The default font's size in whole points: the width the room rule gives a character.
constexpr int kFontPoints = 8;

double desktopPixelRatio() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->devicePixelRatio() : 1.0;
}

}  // namespace

TitleClockTimer::TitleClockTimer(DesktopWindows& desktop, TitleRecord* record,
                                 const DisplaySettings& display, Clock clock,
                                 UserMessages& messages)
    : display_(display),
      clock_(std::move(clock)),
      messages_(messages),
      titleClock_(desktop, kFontPoints, QLocale::system(), &desktopPixelRatio, record) {
  timer_.setInterval(500);
  connect(&timer_, &QTimer::timeout, this, &TitleClockTimer::tick);
}

void TitleClockTimer::stop() {
  timer_.stop();
  titleClock_.restoreLastCaption();
}

void TitleClockTimer::tick() {
  titleClock_.tick(display_, clock_());
  const QString notice = titleClock_.takeUnavailableNotice(display_);
  if (!notice.isEmpty()) messages_.notice("Pellwick", notice);
}

}  // namespace pellwick
