#pragma once
// The title-bar clock: at every tick it writes the focused window's own caption and the
// date text of the display mode into that window's title bar, and gives each window its
// own caption back when the focus moves on.

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "platform/desktop_windows.h"
#include "title_clock/display_marks.h"

namespace pellwick {

class TitleClock {
 public:
  // Device pixels per logical pixel on the desktop, asked at every tick.
  using DevicePixelRatio = std::function<double()>;

  // `fontPoints`: the clock window's font size in points, rounded (8 for the default font);
  // it is the width in logical pixels the room rule allows a character. Window widths come
  // in device pixels and are divided by `devicePixelRatio` (none: 1), so that a scaled
  // screen allows the same number of characters as an unscaled one.
  explicit TitleClock(DesktopWindows& desktop, int fontPoints = 8,
                      QLocale locale = QLocale::system(), DevicePixelRatio devicePixelRatio = {});

  // One tick of the clock's 500 ms timer, with the tray menu's display-mode marks.
  void tick(const DisplayMarks& marks, const QDateTime& now);

  // Gives the window rewritten last its own caption back; for the exit paths.
  void restoreLastCaption();

  // False where the desktop's windows cannot be reached; the clock then does nothing.
  bool active() const;
  // Why the clock does nothing, for the user: returned once, at the first call with a
  // display mode on while the clock is not active; empty otherwise.
  QString takeUnavailableNotice(const DisplayMarks& marks);

 private:
  void restorePrevWnd();
  void saveCaption(std::string caption);
  const QString& dateTextAt(const DisplayMarks& marks, const QDateTime& now);

  // The date text changes once a minute at most: formatted again only then.
  struct DateTextCache {
    DisplayMarks marks;
    QDate day;
    int minute = -1;
    QString text;
  };

  DesktopWindows& desktop_;
  int fontPoints_;
  QLocale locale_;
  DevicePixelRatio devicePixelRatio_;
  std::optional<WindowId> prevWnd_;  // the window rewritten last
  std::string savedCaption_;         // its own caption (after a focus change: the new one's)
  qsizetype savedLen_ = 0;           // in UTF-16 units
  std::string lastWritten_;          // what the clock wrote to prevWnd_
  int clientWidth_ = 0;              // in logical pixels; kept when a window's width cannot be read
  DateTextCache dateText_;
  bool noticeGiven_ = false;
};

}  // namespace pellwick
