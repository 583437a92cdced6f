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

bool anyModeOn(const DisplayMarks& marks) {
  return marks.mesldate || marks.messdate || marks.mestime || marks.mesdate;
}

bool sameMarks(const DisplayMarks& a, const DisplayMarks& b) {
  return a.mesldate == b.mesldate && a.messdate == b.messdate && a.mestime == b.mestime &&
         a.mesdate == b.mesdate;
}

}  // namespace

TitleClock::TitleClock(DesktopWindows& desktop, int fontPoints, QLocale locale,
                       DevicePixelRatio devicePixelRatio)
    : desktop_(desktop),
      fontPoints_(fontPoints),
      locale_(std::move(locale)),
      devicePixelRatio_(std::move(devicePixelRatio)) {
  if (!active()) qWarning().noquote() << "Pellwick:" << kUnavailable;
}

void TitleClock::tick(const DisplayMarks& marks, const QDateTime& now) {
  if (!active()) return;
  const WindowId curWnd = desktop_.foregroundWindow();
  if (desktop_.isMinimised(curWnd)) return;

  std::string current = desktop_.caption(curWnd);
  if (curWnd != prevWnd_) {
    restorePrevWnd();
    saveCaption(current);
  } else if (current != lastWritten_) {
    // The window retitled itself since our last write: that is its own caption now.
    saveCaption(current);
  }
  if (auto width = desktop_.clientWidth(curWnd)) {
    const double ratio = devicePixelRatio_ ? devicePixelRatio_() : 1.0;
    clientWidth_ = ratio > 0 ? static_cast<int>(*width / ratio) : *width;
  }

  // Composed from the saved caption, never the current one, so the date never piles up.
  std::string newCaption =
      composeCaption(savedCaption_, savedLen_, dateTextAt(marks, now), clientWidth_, fontPoints_);
  if (newCaption != current) desktop_.setCaption(curWnd, newCaption);
  lastWritten_ = std::move(newCaption);
  prevWnd_ = curWnd;
}

void TitleClock::restoreLastCaption() {
  if (!active()) return;
  restorePrevWnd();
  prevWnd_.reset();
}

bool TitleClock::active() const { return desktop_.available(); }

QString TitleClock::takeUnavailableNotice(const DisplayMarks& marks) {
  if (active() || noticeGiven_ || !anyModeOn(marks)) return {};
  noticeGiven_ = true;
  return QString::fromUtf8(kUnavailable);
}

void TitleClock::restorePrevWnd() {
  if (!prevWnd_) return;
  // A window that retitled itself since our last write keeps its new caption.
  if (desktop_.caption(*prevWnd_) == lastWritten_) desktop_.setCaption(*prevWnd_, savedCaption_);
}

const QString& TitleClock::dateTextAt(const DisplayMarks& marks, const QDateTime& now) {
  const QDate day = now.date();
  const int minute = now.time().hour() * 60 + now.time().minute();
  if (!sameMarks(marks, dateText_.marks) || day != dateText_.day || minute != dateText_.minute) {
    dateText_ = {marks, day, minute, dateText(marks, now, locale_)};
  }
  return dateText_.text;
}

void TitleClock::saveCaption(std::string caption) {
  savedLen_ = QString::fromUtf8(caption).size();
  savedCaption_ = std::move(caption);
}

}  // namespace pellwick
