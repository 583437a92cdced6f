#include "title_clock/title_clock.h"

#include <gtest/gtest.h>

#include "fakes/fake_desktop_windows.h"
#include "fakes/fake_services.h"

namespace pellwick {
namespace {

using testing::FakeDesktopWindows;
using testing::FakeTitleRecord;

const std::string kEight = "        ";
const std::string kSix = "      ";
// Sunday 6 December 2026, 14:05.
const QDateTime kSunday(QDate(2026, 12, 6), QTime(14, 5));
const DisplaySettings kShort{DisplayMode::ShortDate};

class TitleClockTest : public ::testing::Test {
 protected:
  WindowId focusNew(const std::string& caption, int width = 800) {
    desktop.focused = desktop.open(caption, width);
    return desktop.focused;
  }
  const std::string& captionOf(WindowId w) { return desktop.windows.at(w).caption; }
  void tick(const DisplaySettings& marks = kShort, const QDateTime& now = kSunday) {
    clock.tick(marks, now);
  }

  FakeDesktopWindows desktop;
  FakeTitleRecord record;
  TitleClock clock{desktop, 8, QLocale(QLocale::English, QLocale::UnitedStates), {}, &record};
};

TEST_F(TitleClockTest, WritesEachModesTextAfterTheOwnCaption) {
  struct Row {
    DisplaySettings marks;
    std::string date;
  };
  const Row rows[] = {
      {{DisplayMode::LongDate}, "Sunday...   December 6, 2026"},
      {{DisplayMode::ShortDate}, "December 6"},
      {{DisplayMode::LongDateAndTime}, "Sunday...   December 6, 2026    02:05 PM"},
      {{DisplayMode::ShortDateAndTime}, "December 6...   02:05 PM"},
      {{}, ""},
      // Several marks on (edited settings): the last in menu order wins.
      {{DisplayMode::LongDate, DisplayMode::ShortDateAndTime}, "December 6...   02:05 PM"},
      {{DisplayMode::LongDate, DisplayMode::ShortDate, DisplayMode::LongDateAndTime},
       "Sunday...   December 6, 2026    02:05 PM"},
  };
  for (const Row& row : rows) {
    WindowId w = focusNew("My Notes");
    tick(row.marks);
    EXPECT_EQ(captionOf(w), "My Notes" + kEight + row.date);
  }
}

TEST_F(TitleClockTest, TimeIsOnATwelveHourClockWithTwoDigits) {
  const DisplaySettings marks{DisplayMode::ShortDateAndTime};
  WindowId w = focusNew("A");
  tick(marks, QDateTime(QDate(2026, 12, 6), QTime(0, 7)));
  EXPECT_EQ(captionOf(w), "A" + kEight + "December 6...   12:07 AM");
  tick(marks, QDateTime(QDate(2026, 12, 6), QTime(12, 30)));
  EXPECT_EQ(captionOf(w), "A" + kEight + "December 6...   12:30 PM");
}

TEST_F(TitleClockTest, DateFollowsTheClockNeverPilesUpAndSameCaptionIsNotRewritten) {
  WindowId w = focusNew("My Notes");
  const DisplaySettings marks{DisplayMode::ShortDateAndTime};
  tick(marks);
  tick(marks);
  EXPECT_EQ(desktop.writes.size(), 1u);
  tick(marks, kSunday.addSecs(60));
  EXPECT_EQ(captionOf(w), "My Notes" + kEight + "December 6...   02:06 PM");
  EXPECT_EQ(desktop.writes.size(), 2u);
  tick(marks, kSunday.addDays(1));
  EXPECT_EQ(captionOf(w), "My Notes" + kEight + "December 7...   02:05 PM");
}

TEST_F(TitleClockTest, FocusChangeRestoresThePreviousWindowAtTheNextTick) {
  WindowId a = focusNew("Alpha");
  tick();
  WindowId b = focusNew("Beta");
  tick();
  EXPECT_EQ(captionOf(a), "Alpha");
  EXPECT_EQ(captionOf(b), "Beta" + kEight + "December 6");
  desktop.focused = a;
  tick();
  EXPECT_EQ(captionOf(a), "Alpha" + kEight + "December 6");
  EXPECT_EQ(captionOf(b), "Beta");
}

TEST_F(TitleClockTest, MinimisedForegroundWindowIsLeftAlone) {
  WindowId a = focusNew("Alpha");
  tick();
  WindowId m = focusNew("Minimised");
  desktop.windows[m].minimised = true;
  tick();
  EXPECT_EQ(captionOf(m), "Minimised");
  EXPECT_EQ(captionOf(a), "Alpha" + kEight + "December 6");
  desktop.windows[m].minimised = false;
  tick();
  EXPECT_EQ(captionOf(a), "Alpha");
  EXPECT_EQ(captionOf(m), "Minimised" + kEight + "December 6");
}

TEST_F(TitleClockTest, WindowWithoutCaptionGetsSeparatorAndDate) {
  WindowId w = focusNew("");
  tick();
  EXPECT_EQ(captionOf(w), kEight + "December 6");
}

TEST_F(TitleClockTest, SixBlanksWhenTheClientAreaHasNoRoom) {
  // "Caption" (7) + "December 6" (10) = 17 characters of 8 pixels.
  for (auto [width, separator] : {std::pair{17 * 8, kSix}, {17 * 8 + 7, kSix}, {18 * 8, kEight}}) {
    WindowId w = focusNew("Caption", width);
    tick();
    EXPECT_EQ(captionOf(w), "Caption" + separator + "December 6") << "width " << width;
  }
}

TEST_F(TitleClockTest, RoomIsCountedInLogicalPixelsOnAScaledScreen) {
  TitleClock scaled{desktop, 8, QLocale(QLocale::English, QLocale::UnitedStates),
                    [] { return 2.0; }};
  // At 2x, 18 characters of 8 logical pixels need 288 device pixels.
  for (auto [width, separator] : {std::pair{18 * 8 * 2 - 1, kSix}, {18 * 8 * 2, kEight}}) {
    WindowId w = focusNew("Caption", width);
    scaled.tick(kShort, kSunday);
    EXPECT_EQ(captionOf(w), "Caption" + separator + "December 6") << "width " << width;
  }
}

TEST_F(TitleClockTest, RoomCountsCharactersNotBytes) {
  std::string wide;  // 40 characters, 120 bytes
  for (int i = 0; i < 40; ++i) wide += "日";
  WindowId w = focusNew(wide, (40 + 10 + 1) * 8);
  tick();
  EXPECT_EQ(captionOf(w), wide + kEight + "December 6");
}

TEST_F(TitleClockTest, LongAndUnicodeCaptionsComeBackWhole) {
  struct Row {
    std::string own;
    int width;
    std::string separator;
  };
  const Row rows[] = {
      // Room for 310 characters: exactly none left with the whole caption.
      {std::string(300, 'x'), 310 * 8, kSix},
      {"Ελληνικά — 日本語 🙂 naïve", 800, kEight},
  };
  for (const Row& row : rows) {
    WindowId a = focusNew(row.own, row.width);
    tick();
    EXPECT_EQ(captionOf(a), row.own + row.separator + "December 6");
    focusNew("Beta");
    tick();
    EXPECT_EQ(captionOf(a), row.own);
  }
}

TEST_F(TitleClockTest, WindowThatRetitlesItselfKeepsItsNewCaption) {
  WindowId a = focusNew("Untitled");
  tick();
  desktop.windows[a].caption = "Report.txt";  // saved under a name, while focused
  tick();
  EXPECT_EQ(captionOf(a), "Report.txt" + kEight + "December 6");
  tick();
  EXPECT_EQ(captionOf(a), "Report.txt" + kEight + "December 6");
  // Renamed again just before the focus leaves: no tick sees it rewritten.
  desktop.windows[a].caption = "Final.txt";
  focusNew("Beta");
  tick();
  EXPECT_EQ(captionOf(a), "Final.txt");
}

TEST_F(TitleClockTest, ExitRestoresTheWindowRewrittenLastOnce) {
  clock.restoreLastCaption();
  EXPECT_TRUE(desktop.writes.empty());
  WindowId a = focusNew("Alpha");
  tick();
  clock.restoreLastCaption();
  EXPECT_EQ(captionOf(a), "Alpha");
  const auto writes = desktop.writes.size();
  clock.restoreLastCaption();
  EXPECT_EQ(desktop.writes.size(), writes);
}

TEST_F(TitleClockTest, ClosedWindowsAndNoFocusAreHarmless) {
  WindowId a = focusNew("Alpha");
  tick();
  desktop.close(a);  // closed, still reported as the foreground window
  tick();
  WindowId b = focusNew("Beta");
  desktop.close(b);
  tick();
  WindowId c = focusNew("Gamma");
  tick();
  EXPECT_EQ(captionOf(c), "Gamma" + kEight + "December 6");
  desktop.focused = 0;  // nothing has the focus
  tick();
  EXPECT_EQ(captionOf(c), "Gamma");
  EXPECT_EQ(desktop.windows.size(), 1u);
}

// The record names the rewritten window, its own title and what was written before the
// write; it is replaced only when that changes, and goes when the title is given back.
TEST_F(TitleClockTest, RecordHoldsTheRewrittenTitleWhileItShows) {
  std::vector<std::optional<RewrittenTitle>> keptAtWrites;
  desktop.beforeWrite = [&] { keptAtWrites.push_back(record.kept); };
  WindowId a = focusNew("Alpha");
  tick();
  tick();
  ASSERT_EQ(keptAtWrites.size(), 1u);
  ASSERT_TRUE(keptAtWrites[0]);
  EXPECT_EQ(keptAtWrites[0]->window, a);
  EXPECT_EQ(keptAtWrites[0]->own.text, "Alpha");
  EXPECT_EQ(keptAtWrites[0]->own.stored, "own Alpha");
  EXPECT_EQ(keptAtWrites[0]->written, "Alpha" + kEight + "December 6");
  EXPECT_EQ(record.keeps, 1);
  tick(kShort, kSunday.addDays(1));
  EXPECT_EQ(record.kept->written, "Alpha" + kEight + "December 7");

  WindowId b = focusNew("Beta");
  tick(kShort, kSunday.addDays(1));
  EXPECT_EQ(desktop.windows[a].caption, "Alpha");
  EXPECT_EQ(desktop.windows[a].stored, "own Alpha") << "the own title came back whole";
  EXPECT_EQ(record.kept->window, b);
  EXPECT_EQ(record.keeps, 3);
  clock.restoreLastCaption();
  EXPECT_FALSE(record.kept);
  EXPECT_EQ(desktop.windows[b].stored, "own Beta");
}

// A run that ended without giving the title back (killed) left its record: the next run
// gives the title back before its first tick, so the date is never written twice; a window
// that retitled itself since keeps its new title.
TEST_F(TitleClockTest, ANewRunGivesBackWhatAKilledOneLeft) {
  const QLocale english(QLocale::English, QLocale::UnitedStates);
  FakeTitleRecord left;
  WindowId a = focusNew("Alpha");
  auto killedRun = [&] {
    TitleClock killed{desktop, 8, english, {}, &left};
    killed.tick(kShort, kSunday);
  };
  killedRun();
  ASSERT_EQ(captionOf(a), "Alpha" + kEight + "December 6");
  ASSERT_TRUE(left.kept);

  TitleClock next{desktop, 8, english, {}, &left};
  EXPECT_EQ(captionOf(a), "Alpha");
  EXPECT_EQ(desktop.windows[a].stored, "own Alpha");
  EXPECT_FALSE(left.kept);
  next.tick(kShort, kSunday);
  EXPECT_EQ(captionOf(a), "Alpha" + kEight + "December 6");
  next.restoreLastCaption();

  killedRun();
  desktop.windows[a].caption = "Alpha renamed";
  TitleClock afterRename{desktop, 8, english, {}, &left};
  EXPECT_EQ(captionOf(a), "Alpha renamed");
  EXPECT_FALSE(left.kept);
}

// A title the desktop cannot read whole (or too long) is never written, nor recorded.
TEST_F(TitleClockTest, ATitleThatIsNotRewritableIsLeftAlone) {
  WindowId huge = focusNew("Huge");
  desktop.windows[huge].rewritable = false;
  tick();
  tick();
  WindowId b = focusNew("Beta");
  tick();
  desktop.focused = huge;
  tick();
  EXPECT_EQ(captionOf(huge), "Huge");
  EXPECT_EQ(captionOf(b), "Beta");
  EXPECT_EQ(desktop.writes.size(), 2u) << "Beta written and given back, nothing else";
  EXPECT_FALSE(record.kept);
}

TEST_F(TitleClockTest, WithoutDesktopDoesNothingAndSaysSoOnce) {
  FakeDesktopWindows none;
  none.isAvailable = false;
  none.focused = none.open("Alpha");
  TitleClock idle(none);
  idle.tick(kShort, kSunday);
  idle.restoreLastCaption();
  EXPECT_FALSE(idle.active());
  EXPECT_TRUE(none.writes.empty());
  EXPECT_TRUE(idle.takeUnavailableNotice({}).isEmpty());
  EXPECT_FALSE(idle.takeUnavailableNotice(kShort).isEmpty());
  EXPECT_TRUE(idle.takeUnavailableNotice(kShort).isEmpty());
  EXPECT_TRUE(clock.takeUnavailableNotice(kShort).isEmpty());
}

}  // namespace
}  // namespace pellwick
