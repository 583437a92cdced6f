#pragma once
// The title-bar clock: at every tick it writes the focused window's own caption and the
// date text of the display mode into that window's title bar, and gives each window its
// own title back when the focus moves on. While a window shows what it wrote, a record says
// so; a run that starts after one that could not give the title back gives it back first.

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "platform/desktop_windows.h"
#include "platform/title_record.h"
#include "settings/display_settings.h"

namespace pellwick {

class TitleClock {
 public:
  // Device pixels per logical pixel on the desktop, asked at every tick.
  using DevicePixelRatio = std::function<double()>;

  // `fontPoints`: the default font's size in points, rounded (8);
  // it is the width in logical pixels the room rule allows a character. Window widths come
  // in device pixels and are divided by `devicePixelRatio` (none: 1), so that a scaled
  // screen allows the same number of characters as an unscaled one. `record` (none: no
  // record is kept) is read once, here: a window that still shows the caption written
  // before gets its own title back.
  explicit TitleClock(DesktopWindows& desktop, int fontPoints = 8,
                      QLocale locale = QLocale::system(), DevicePixelRatio devicePixelRatio = {},
                      TitleRecord* record = nullptr);

  // One tick of the clock's 500 ms timer, with the display modes the tray menu has on.
  void tick(const DisplaySettings& display, const QDateTime& now);

  // Gives the window rewritten last its own caption back; for the exit paths.
  void restoreLastCaption();

  // False where the desktop's windows cannot be reached; the clock then does nothing.
  bool active() const;
  // Why the clock does nothing, for the user: returned once, at the first call with a
  // display mode on while the clock is not active; empty otherwise.
  QString takeUnavailableNotice(const DisplaySettings& display);

 private:
  void repairLastRun();
  void restoreLastWindow();
  void keepOwnTitle(WindowTitle title);
  const QString& dateTextAt(const DisplaySettings& display, const QDateTime& now);

  // The date text changes once a minute at most: formatted again only then.
  struct DateTextCache {
    DisplaySettings display;
    QDate day;
    int minute = -1;
    QString text;
  };

  DesktopWindows& desktop_;
  int fontPoints_;
  QLocale locale_;
  DevicePixelRatio devicePixelRatio_;
  TitleRecord* record_;
  std::optional<WindowId> lastWindow_;  // the window rewritten last
  WindowTitle ownTitle_;                // its own title (after a focus change: the new one's)
  qsizetype ownTitleLength_ = 0;        // in UTF-16 units
  std::string lastWritten_;             // what the clock wrote to lastWindow_
  int clientWidth_ = 0;  // in logical pixels; kept when a window's width cannot be read
  DateTextCache dateText_;
  bool noticeGiven_ = false;
};

}  // namespace pellwick
