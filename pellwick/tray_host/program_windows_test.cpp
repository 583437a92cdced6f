#include "tray_host/program_windows.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

#include "calendar/calendar.h"
#include "flasher/reminders.h"
#include "tray_host/program_fixture.h"

namespace pellwick {
namespace {

class ProgramWindowsTest : public testing::ProgramFixture {
 protected:
  // True while no window of the program is on screen.
  static bool nothingVisible() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::none_of(windows.begin(), windows.end(), [](QWidget* w) { return w->isVisible(); });
  }
};

TEST_F(ProgramWindowsTest, StartsWithTheClockThenTheTrayHostThenTheIcon) {
  ASSERT_TRUE(windows->start());
  EXPECT_FALSE(windows->hasFrmSysTray());
  EXPECT_EQ(windows->corvaneTime().timer().interval(), 500);
  EXPECT_TRUE(windows->corvaneTime().timer().isActive());
  EXPECT_EQ(singleInstance->checks, 1);

  // The clock's first tick reads the marks and so creates the tray host.
  EXPECT_TRUE(QTest::qWaitFor([this] { return windows->hasFrmSysTray(); }, 2000));
  EXPECT_FALSE(windows->hasControlsForm());
  EXPECT_TRUE(shell->calls.empty());
  EXPECT_TRUE(nothingVisible());

  // The tray host's first tick adds the icon, which reads a picture and so creates the store.
  EXPECT_TRUE(QTest::qWaitFor([this] { return shell->hasIcon(trayOwner()); }, 3000));
  EXPECT_TRUE(windows->hasControlsForm());
  EXPECT_TRUE(nothingVisible());
  EXPECT_EQ(singleInstance->checks, 3) << "each window's load step asks";
  EXPECT_TRUE(exitCodes.empty());
}

TEST_F(ProgramWindowsTest, ASecondCopySaysSoAndEndsWithoutIconOrSettings) {
  singleInstance->otherRunning = true;
  EXPECT_FALSE(windows->start());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_TRUE(messages.shown[0].critical);
  EXPECT_EQ(messages.shown[0].title, "Drevik[]");
  EXPECT_EQ(messages.shown[0].text, "This program is already running !");
  EXPECT_EQ(exitCodes, std::vector<int>{0});
  EXPECT_FALSE(windows->corvaneTime().timer().isActive());
  EXPECT_FALSE(windows->corvaneTime().shownRequested());
  EXPECT_FALSE(windows->hasFrmSysTray());
  EXPECT_TRUE(shell->calls.empty());
  EXPECT_TRUE(settings.sections.empty());
}

TEST_F(ProgramWindowsTest, EndingBeforeTheTrayHostExistsLeavesNothingBehind) {
  ASSERT_TRUE(windows->start());
  windows->exitProgram();
  EXPECT_EQ(exitCodes, std::vector<int>{0});
  EXPECT_FALSE(windows->hasFrmSysTray());
  EXPECT_TRUE(shell->calls.empty());
}

TEST_F(ProgramWindowsTest, TheClockWindowIsAnUnseenForm1AndHandsEachTickTheMarks) {
  settings.sections["STARTUP"] = {{"mestime", "True"}};
  std::vector<DisplayMarks> seen;
  CorvaneTime clock(*windows, [&seen](const DisplayMarks& marks) { seen.push_back(marks); });
  EXPECT_EQ(clock.windowTitle(), "Form1");
  EXPECT_DOUBLE_EQ(clock.font().pointSizeF(), 8.25);
  ASSERT_TRUE(QTest::qWaitFor([&seen] { return !seen.empty(); }, 2000));
  EXPECT_TRUE(seen[0].mestime);
  EXPECT_FALSE(seen[0].mesldate || seen[0].messdate || seen[0].mesdate);
  EXPECT_FALSE(clock.isVisible());
}

TEST_F(ProgramWindowsTest, TheMenuOpensOneRemindersWindowWhoseIconLeavesWithItAndAtExit) {
  trayTick();
  windows->frmSysTray().mreminders->trigger();
  ASSERT_TRUE(windows->hasReminders());
  Reminders* first = &windows->reminders();
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(shell->icons.size(), 2u) << "the day icon and the blinking icon";

  windows->frmSysTray().mreminders->trigger();
  EXPECT_EQ(&windows->reminders(), first) << "one program-wide window";
  EXPECT_EQ(shell->icons.size(), 2u);

  first->close();
  QApplication::processEvents();
  EXPECT_FALSE(windows->hasReminders());
  EXPECT_EQ(shell->icons.size(), 1u);

  windows->frmSysTray().mreminders->trigger();
  EXPECT_EQ(shell->icons.size(), 2u) << "reopening brings a new blinking icon";

  windows->exitProgram();
  EXPECT_TRUE(shell->icons.empty()) << "no icon is left behind";
  EXPECT_EQ(exitCodes, std::vector<int>{0});
}

TEST_F(ProgramWindowsTest, TheMenuOpensTheCalendarOnTheClocksMonth) {
  now = QDateTime(QDate(2031, 3, 7), QTime(9, 0));
  windows->frmSysTray().mCalender->trigger();
  ASSERT_TRUE(windows->hasCalendar());
  Calendar& calendar = windows->calendar();
  EXPECT_TRUE(calendar.isVisible());
  EXPECT_EQ(calendar.windowTitle(), "Tray Calendar");
  EXPECT_EQ(calendar.findChild<QLabel*>("mnth")->text(), "March");
  EXPECT_EQ(calendar.findChild<QLabel*>("yr")->text(), "2031");
  calendar.close();
  QApplication::processEvents();
  EXPECT_FALSE(windows->hasCalendar()) << "closing unloads it";
}

}  // namespace
}  // namespace pellwick
