#include "title_clock/title_clock.h"

#include <QDebug>
#include <utility>

#include "title_clock/caption_composition.h"

namespace pellwick {
namespace {

const char kUnavailable[] =
    "The title-bar clock cannot reach the windows of this desktop, because no X11 "
    "display could be opened (a Wayland session?). It leaves all captions alone; everything "
    "else works as usual.";

}  // namespace

TitleClock::TitleClock(DesktopWindows& desktop, int fontPoints, QLocale locale,
                       DevicePixelRatio devicePixelRatio)
    : desktop_(desktop),
      fontPoints_(fontPoints),
      locale_(std::move(locale)),
      devicePixelRatio_(std::move(devicePixelRatio)) {
  if (!active()) qWarning().noquote() << "Pellwick:" << kUnavailable;
}

void TitleClock::tick(const DisplaySettings& display, const QDateTime& now) {
  if (!active()) return;
  const WindowId focused = desktop_.foregroundWindow();
  if (desktop_.isMinimised(focused)) return;

  std::string current = desktop_.caption(focused);
  if (focused != lastWindow_) {
    restoreLastWindow();
    saveCaption(current);
  } else if (current != lastWritten_) {
    // The window retitled itself since our last write: that is its own caption now.
    saveCaption(current);
  }
  if (auto width = desktop_.clientWidth(focused)) {
    const double ratio = devicePixelRatio_ ? devicePixelRatio_() : 1.0;
    clientWidth_ = ratio > 0 ? static_cast<int>(*width / ratio) : *width;
  }

  // Composed from the saved caption, never the current one, so the date never piles up.
  std::string newCaption = composeCaption(savedCaption_, savedCaptionLength_,
                                          dateTextAt(display, now), clientWidth_, fontPoints_);
  if (newCaption != current) desktop_.setCaption(focused, newCaption);
  lastWritten_ = std::move(newCaption);
  lastWindow_ = focused;
}

void TitleClock::restoreLastCaption() {
  if (!active()) return;
  restoreLastWindow();
  lastWindow_.reset();
}

bool TitleClock::active() const { return desktop_.available(); }

QString TitleClock::takeUnavailableNotice(const DisplaySettings& display) {
  if (active() || noticeGiven_ || !display.anyOn()) return {};
  noticeGiven_ = true;
  return QString::fromUtf8(kUnavailable);
}

void TitleClock::restoreLastWindow() {
  if (!lastWindow_) return;
  // A window that retitled itself since our last write keeps its new caption.
  if (desktop_.caption(*lastWindow_) == lastWritten_)
    desktop_.setCaption(*lastWindow_, savedCaption_);
}

const QString& TitleClock::dateTextAt(const DisplaySettings& display, const QDateTime& now) {
  const QDate day = now.date();
  const int minute = now.time().hour() * 60 + now.time().minute();
  if (display != dateText_.display || day != dateText_.day || minute != dateText_.minute) {
    dateText_ = {display, day, minute, dateText(display, now, locale_)};
  }
  return dateText_.text;
}

void TitleClock::saveCaption(std::string caption) {
  savedCaptionLength_ = QString::fromUtf8(caption).size();
  savedCaption_ = std::move(caption);
}

}  // namespace pellwick
