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
                       DevicePixelRatio devicePixelRatio, TitleRecord* record)
    : desktop_(desktop),
      fontPoints_(fontPoints),
      locale_(std::move(locale)),
      devicePixelRatio_(std::move(devicePixelRatio)),
      record_(record) {
  if (!active()) qWarning().noquote() << "Pellwick:" << kUnavailable;
  repairLastRun();
}

void TitleClock::tick(const DisplaySettings& display, const QDateTime& now) {
  if (!active()) return;
  const WindowId focused = desktop_.foregroundWindow();
  if (desktop_.isMinimised(focused)) return;

  WindowTitle current = desktop_.title(focused);
  const bool newWindow = focused != lastWindow_;
  if (newWindow) {
    restoreLastWindow();
    lastWindow_ = focused;
    keepOwnTitle(current);
  } else if (current.text != lastWritten_) {
    // The window retitled itself since our last write: that is its own title now.
    keepOwnTitle(desktop_.retitled(focused, ownTitle_, lastWritten_));
  }
  if (!ownTitle_.rewritable) {
    lastWritten_ = std::move(current.text);
    return;
  }
  if (auto width = desktop_.clientWidth(focused)) {
    const double ratio = devicePixelRatio_ ? devicePixelRatio_() : 1.0;
    clientWidth_ = ratio > 0 ? static_cast<int>(*width / ratio) : *width;
  }

  // Composed from the own title, never the current one, so the date never piles up.
  std::string newCaption = composeCaption(ownTitle_.text, ownTitleLength_,
                                          dateTextAt(display, now), clientWidth_, fontPoints_);
  if (newCaption != current.text) {
    // Kept before it is written, so that whatever ends this run, the next one knows.
    if (record_ && (newWindow || newCaption != lastWritten_))
      record_->keep({focused, ownTitle_, newCaption});
    desktop_.setCaption(focused, newCaption);
  }
  lastWritten_ = std::move(newCaption);
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

void TitleClock::repairLastRun() {
  if (!record_ || !active()) return;
  if (auto left = record_->load()) desktop_.restoreTitle(left->window, left->own, left->written);
  record_->clear();
}

void TitleClock::restoreLastWindow() {
  if (!lastWindow_ || !ownTitle_.rewritable) return;
  // A window that retitled itself since our last write keeps its new title.
  desktop_.restoreTitle(*lastWindow_, ownTitle_, lastWritten_);
  if (record_) record_->clear();
}

const QString& TitleClock::dateTextAt(const DisplaySettings& display, const QDateTime& now) {
  const QDate day = now.date();
  const int minute = now.time().hour() * 60 + now.time().minute();
  if (display != dateText_.display || day != dateText_.day || minute != dateText_.minute) {
    dateText_ = {display, day, minute, dateText(display, now, locale_)};
  }
  return dateText_.text;
}

void TitleClock::keepOwnTitle(WindowTitle title) {
  ownTitleLength_ = QString::fromUtf8(title.text).size();
  ownTitle_ = std::move(title);
}

}  // namespace pellwick
