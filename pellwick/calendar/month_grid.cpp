#include "calendar/month_grid.h"

namespace pellwick {

namespace {
constexpr int kSaturday = 6;
}  // namespace

const QStringList& englishMonthNames() {
  static const QStringList names{"January",   "February", "March",    "April",
                                 "May",       "June",     "July",     "August",
                                 "September", "October",  "November", "December"};
  return names;
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int month, int year) {
  static constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && isLeapYear(year)) return 29;
  return kDays[month - 1];
}

MonthGrid::MonthGrid() {
  // A fresh grid has Sunday's column in red; markToday() turns every number black.
  for (DayCell& cell : cells_[0]) cell.textColour = colour::Red;
}

void MonthGrid::clearDays() {
  for (auto& column : cells_) {
    for (DayCell& cell : column) cell.text.clear();
  }
  shown_.reset();
}

bool MonthGrid::showDays(const QString& monthName, const QString& yearText) {
  const int month = englishMonthNames().indexOf(monthName) + 1;
  bool isNumber = false;
  const int year = yearText.toInt(&isNumber);
  const QDate first(year, month, 1);
  if (month == 0 || !isNumber || year < 1 || !first.isValid()) return false;

  layOut(first.dayOfWeek() % 7, daysInMonth(month, year));
  shown_ = YearMonth{year, month};
  return true;
}

// Fills column by column from the weekday of the 1st to Saturday, then from Sunday on;
// the days past Saturday's fifth row go into row 0 from Sunday on.
void MonthGrid::layOut(int firstWeekday, int dayCount) {
  int lastSaturdayValue = 0;
  for (int step = 0; step < kColumns; ++step) {
    const int column = (firstWeekday + step) % kColumns;
    const bool startsInFirstRow = column >= firstWeekday;
    int row = startsInFirstRow ? 0 : 1;
    int value = startsInFirstRow ? column - firstWeekday + 1 : 8 - firstWeekday + column;
    write(column, row, value);
    while (++row < kRows) {
      value += 7;
      if (value > dayCount) break;
      write(column, row, value);
    }
    if (column == kSaturday) lastSaturdayValue = value;
  }
  if (firstWeekday == 0) return;
  for (int column = 0; lastSaturdayValue < dayCount && column < kColumns; ++column) {
    write(column, 0, ++lastSaturdayValue);
  }
}

void MonthGrid::write(int column, int row, int day) {
  cells_[column][row].text = QString::number(day);
}

void MonthGrid::markToday(const QDate& today) {
  const bool todaysMonthShown =
      shown_ && shown_->year == today.year() && shown_->month == today.month();
  const QString todayText = QString::number(today.day());
  for (auto& column : cells_) {
    for (DayCell& cell : column) {
      cell.bold = true;
      cell.strikethrough = false;
      cell.textColour = colour::Black;
      const bool isToday = todaysMonthShown && cell.text == todayText;
      cell.backColour = isToday ? colour::Blue : colour::ButtonFace;
    }
  }
}

}  // namespace pellwick
