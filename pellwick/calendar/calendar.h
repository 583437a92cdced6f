#pragma once
// "Tray Calendar": a month list and a year list feed the month and year captions,
// "&View Month" lays out the month they name, and every activation brings the window
// back to today's month with today's cell marked.

#include <QDate>
#include <QIcon>
#include <QWidget>
#include <array>
#include <functional>

#include "calendar/month_grid.h"
#include "fixed_layout.h"

class QLabel;
class QListWidget;
class QWindow;

namespace pellwick {

class Calendar : public QWidget {
  Q_OBJECT

 public:
  using TodayProvider = std::function<QDate()>;

  // Loads the window (lists filled, grid empty) without showing it. `today` gives a
  // valid date each time it is asked. Closing the window other than by "Hide" deletes it.
  explicit Calendar(TodayProvider today = &QDate::currentDate, const QIcon& icon = QIcon());

  // What the tray menu's entry does: shows the window modeless (centred the first
  // time), brings it forward and lays out today's month.
  void open();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QLabel* addLabel(const QString& name, const QString& text, qreal points, const QRect& geometry);
  void createLists();
  void createButtons();
  void createGrid();
  void fillLists();

  void activate();
  void viewMonth();
  void showMonthOfCaptions();
  void renderCells();
  void followFocus(QWindow* focus);

  TodayProvider today_;
  pq::Twips twips_;
  MonthGrid grid_;
  QListWidget* monthList_ = nullptr;
  QListWidget* yearList_ = nullptr;
  QLabel* monthCaption_ = nullptr;
  QLabel* yearCaption_ = nullptr;
  std::array<std::array<QLabel*, MonthGrid::kRows>, MonthGrid::kColumns> cells_{};
  bool placed_ = false;
  // The focus was last on another window of this program (not one of the calendar's
  // own dialogs, not a popup menu), so returning to the calendar is an activation.
  bool focusOnOtherOwnWindow_ = false;
};

}  // namespace pellwick
