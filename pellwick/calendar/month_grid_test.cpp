#include "calendar/month_grid.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pellwick {
namespace {

// The grid row by row, Sunday first, cells separated by commas; "" is an empty cell.
std::vector<std::string> rows(const MonthGrid& grid) {
  std::vector<std::string> result;
  for (int row = 0; row < MonthGrid::kRows; ++row) {
    QStringList texts;
    for (int column = 0; column < MonthGrid::kColumns; ++column) {
      texts << grid.cell(column, row).text;
    }
    result.push_back(texts.join(',').toStdString());
  }
  return result;
}

std::vector<std::string> shown(const QString& month, const QString& year) {
  MonthGrid grid;
  grid.clearDays();
  EXPECT_TRUE(grid.showDays(month, year));
  return rows(grid);
}

using Rows = std::vector<std::string>;

TEST(MonthGrid, LaysOutA31DayMonthForEachStartingWeekday) {
  // Sunday: nothing spills over.
  EXPECT_EQ(shown("December", "2024"),
            (Rows{"1,2,3,4,5,6,7", "8,9,10,11,12,13,14", "15,16,17,18,19,20,21",
                  "22,23,24,25,26,27,28", "29,30,31,,,,"}));
  EXPECT_EQ(shown("January", "2024"),
            (Rows{",1,2,3,4,5,6", "7,8,9,10,11,12,13", "14,15,16,17,18,19,20",
                  "21,22,23,24,25,26,27", "28,29,30,31,,,"}));
  EXPECT_EQ(shown("October", "2024"),
            (Rows{",,1,2,3,4,5", "6,7,8,9,10,11,12", "13,14,15,16,17,18,19", "20,21,22,23,24,25,26",
                  "27,28,29,30,31,,"}));
  EXPECT_EQ(shown("May", "2024"), (Rows{",,,1,2,3,4", "5,6,7,8,9,10,11", "12,13,14,15,16,17,18",
                                        "19,20,21,22,23,24,25", "26,27,28,29,30,31,"}));
  // Thursday: the 31st lands in the last Saturday cell.
  EXPECT_EQ(shown("August", "2024"), (Rows{",,,,1,2,3", "4,5,6,7,8,9,10", "11,12,13,14,15,16,17",
                                           "18,19,20,21,22,23,24", "25,26,27,28,29,30,31"}));
  // Friday: the 31st goes up into the first Sunday cell.
  EXPECT_EQ(shown("March", "2024"), (Rows{"31,,,,,1,2", "3,4,5,6,7,8,9", "10,11,12,13,14,15,16",
                                          "17,18,19,20,21,22,23", "24,25,26,27,28,29,30"}));
  // Saturday: the 30th and 31st go up into Sunday and Monday of row 0.
  EXPECT_EQ(shown("March", "2025"), (Rows{"30,31,,,,,1", "2,3,4,5,6,7,8", "9,10,11,12,13,14,15",
                                          "16,17,18,19,20,21,22", "23,24,25,26,27,28,29"}));
}

TEST(MonthGrid, ShorterMonthsStopAtTheirLastDay) {
  // 28 days from a Sunday: four full rows, the fifth empty.
  EXPECT_EQ(shown("February", "2026"),
            (Rows{"1,2,3,4,5,6,7", "8,9,10,11,12,13,14", "15,16,17,18,19,20,21",
                  "22,23,24,25,26,27,28", ",,,,,,"}));
  EXPECT_EQ(shown("February", "2032"),
            (Rows{"1,2,3,4,5,6,7", "8,9,10,11,12,13,14", "15,16,17,18,19,20,21",
                  "22,23,24,25,26,27,28", "29,,,,,,"}));
  // 30 days from a Saturday: only the 30th spills over.
  EXPECT_EQ(shown("June", "2024"), (Rows{"30,,,,,,1", "2,3,4,5,6,7,8", "9,10,11,12,13,14,15",
                                         "16,17,18,19,20,21,22", "23,24,25,26,27,28,29"}));
  // 28 days from a Saturday: nothing spills over and the last Saturday stays empty.
  EXPECT_EQ(shown("February", "2025"), (Rows{",,,,,,1", "2,3,4,5,6,7,8", "9,10,11,12,13,14,15",
                                             "16,17,18,19,20,21,22", "23,24,25,26,27,28,"}));
}

TEST(MonthGrid, MonthLengthsFollowTheGregorianLeapRule) {
  EXPECT_EQ(daysInMonth(1, 2026), 31);
  EXPECT_EQ(daysInMonth(4, 2026), 30);
  EXPECT_EQ(daysInMonth(12, 2026), 31);
  for (int year : {1900, 2025, 2100, 2200, 5000}) EXPECT_EQ(daysInMonth(2, year), 28) << year;
  for (int year : {2000, 2024, 2400}) EXPECT_EQ(daysInMonth(2, year), 29) << year;
}

// Day d of a month starting on weekday w sits at position w + d - 1, row by row; the
// sixth row folds back onto the first.
TEST(MonthGrid, EveryMonthMatchesThePositionRule) {
  for (int year : {1900, 1999, 2000, 2026, 2027, 2100, 4999, 5000}) {
    for (int month = 1; month <= 12; ++month) {
      const QDate first(year, month, 1);
      const int weekday = first.dayOfWeek() % 7;
      std::array<std::array<QString, MonthGrid::kRows>, MonthGrid::kColumns> expected;
      for (int day = 1; day <= first.daysInMonth(); ++day) {
        const int position = weekday + day - 1;
        expected[position % 7][(position / 7) % 5] = QString::number(day);
      }
      MonthGrid grid;
      grid.clearDays();
      ASSERT_TRUE(grid.showDays(englishMonthNames()[month - 1], QString::number(year)));
      for (int column = 0; column < MonthGrid::kColumns; ++column) {
        for (int row = 0; row < MonthGrid::kRows; ++row) {
          EXPECT_EQ(grid.cell(column, row).text, expected[column][row])
              << month << "/" << year << " column " << column << " row " << row;
        }
      }
    }
  }
}

TEST(MonthGrid, ShowingTheSameMonthAgainGivesTheSameGrid) {
  MonthGrid grid;
  grid.clearDays();
  grid.showDays("June", "2024");
  const auto first = rows(grid);
  grid.clearDays();
  grid.showDays("June", "2024");
  EXPECT_EQ(rows(grid), first);
  // Without clearing, cells the month does not write keep the previous month's numbers.
  grid.clearDays();
  grid.showDays("March", "2025");
  grid.markToday(QDate(2025, 3, 5));
  grid.showDays("February", "2026");
  EXPECT_EQ(rows(grid)[0], "1,2,3,4,5,6,7");
  EXPECT_EQ(rows(grid)[4], "23,24,25,26,27,28,29");
  // Clearing empties every cell and leaves the styles.
  grid.clearDays();
  EXPECT_EQ(rows(grid), (Rows(5, ",,,,,,")));
  EXPECT_EQ(grid.cell(3, 1).backColour, colour::Blue);  // where the 5th of March was
}

TEST(MonthGrid, RefusesNamesAndYearsItCannotRead) {
  MonthGrid grid;
  grid.clearDays();
  EXPECT_FALSE(grid.showDays("", "2026"));
  EXPECT_FALSE(grid.showDays("march", "2026"));
  EXPECT_FALSE(grid.showDays("March", ""));
  EXPECT_FALSE(grid.showDays("March", "20x6"));
  EXPECT_FALSE(grid.showDays("March", "0"));
  EXPECT_FALSE(grid.showDays("March", "-5"));
  EXPECT_EQ(rows(grid), (Rows(5, ",,,,,,")));
}

TEST(MonthGrid, MarksTodayOnlyInTheCurrentMonth) {
  MonthGrid grid;
  auto blueCells = [&grid] {
    std::vector<std::string> found;
    for (int column = 0; column < MonthGrid::kColumns; ++column) {
      for (int row = 0; row < MonthGrid::kRows; ++row) {
        const DayCell& cell = grid.cell(column, row);
        EXPECT_TRUE(cell.bold);
        EXPECT_FALSE(cell.strikethrough);
        EXPECT_EQ(cell.textColour, colour::Black);
        if (cell.backColour == colour::Blue)
          found.push_back(cell.text.toStdString());
        else
          EXPECT_EQ(cell.backColour, colour::ButtonFace);
      }
    }
    return found;
  };

  grid.clearDays();
  grid.showDays("March", "2031");
  grid.markToday(QDate(2031, 3, 7));
  EXPECT_EQ(blueCells(), std::vector<std::string>{"7"});
  EXPECT_EQ(grid.cell(5, 1).backColour, colour::Blue);  // Friday, 7 March 2031

  // The 7th of another month, or of March in another year, is not today.
  grid.markToday(QDate(2026, 5, 7));
  EXPECT_TRUE(blueCells().empty());
  grid.markToday(QDate(2030, 3, 7));
  EXPECT_TRUE(blueCells().empty());

  // A day that spilled over into row 0 is marked too.
  grid.clearDays();
  grid.showDays("June", "2024");
  grid.markToday(QDate(2024, 6, 30));
  EXPECT_EQ(blueCells(), std::vector<std::string>{"30"});
  EXPECT_EQ(grid.cell(0, 0).backColour, colour::Blue);

  // Nothing on display, nothing marked.
  grid.clearDays();
  grid.markToday(QDate(2024, 6, 30));
  EXPECT_TRUE(blueCells().empty());
}

}  // namespace
}  // namespace pellwick
