#pragma once
// The calendar's grid of day numbers: seven weekday columns (Sunday first) of five rows,
// filled from a month name and a year text, with today's cell marked.

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

namespace pellwick {

// Colours in the 0x00BBGGRR encoding; 0x800000nn stands for system colour nn.
namespace colour {
constexpr std::uint32_t Black = 0x00000000;
constexpr std::uint32_t Blue = 0x00FF0000;
constexpr std::uint32_t Red = 0x000000FF;
constexpr std::uint32_t Lavender = 0x00FFC0C0;
constexpr std::uint32_t NavyText = 0x00400000;
constexpr std::uint32_t WindowText = 0x80000008;
constexpr std::uint32_t ButtonFace = 0x8000000F;
}  // namespace colour

// "January" .. "December".
const QStringList& englishMonthNames();

bool isLeapYear(int year);
// Month 1..12.
int daysInMonth(int month, int year);

struct DayCell {
  QString text;
  bool bold = true;
  bool strikethrough = false;
  std::uint32_t textColour = colour::WindowText;
  std::uint32_t backColour = colour::ButtonFace;
};

class MonthGrid {
 public:
  static constexpr int kColumns = 7;  // sun, mon, tue, wed, thu, fri, sat
  static constexpr int kRows = 5;

  MonthGrid();

  const DayCell& cell(int column, int row) const { return cells_[column][row]; }

  // Empties the text of every cell; styles stay as they were.
  void clearDays();
  // Writes the day numbers of the month named `monthName` ("March") of `yearText`
  // ("2031") into their cells; other cells are left as they are. A day that would need a
  // sixth row goes into row 0 of its column. False, and nothing written, when the month
  // name or the year is not understood.
  bool showDays(const QString& monthName, const QString& yearText);
  // Every cell bold, black, not struck through, on the button face; the cell holding
  // today's day number gets a blue background, but only while the month on display is
  // today's month.
  void markToday(const QDate& today);

 private:
  struct YearMonth {
    int year;
    int month;
  };

  void write(int column, int row, int day);
  void layOut(int firstWeekday, int dayCount);

  std::array<std::array<DayCell, kRows>, kColumns> cells_;
  std::optional<YearMonth> shown_;
};

}  // namespace pellwick
