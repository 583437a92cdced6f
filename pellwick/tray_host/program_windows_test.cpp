#include "tray_host/program_windows.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

#include "calendar/calendar.h"
#include "flasher/reminders.h"
#include "tray_host/program_fixture.h"

namespace pellwick {
namespace {

const std::string kEightBlanks(8, ' ');

class ProgramWindowsTest : public testing::ProgramFixture {
 protected:
  WindowId focusNew(const std::string& caption) {
    desktop->focused = desktop->open(caption);
    return desktop->focused;
  }
  const std::string& captionOf(WindowId w) { return desktop->windows.at(w).caption; }
  bool captionBecomes(WindowId w, const std::string& expected) {
    return QTest::qWaitFor([&] { return captionOf(w) == expected; }, 2000);
  }
  // The title-bar clock's text for `pattern` at the test's time, in the system's names.
  std::string dated(const QString& pattern) {
    return QLocale::system().toString(now, pattern).toStdString();
  }

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
  clock.load();
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

TEST_F(ProgramWindowsTest, TheClockRunsFromTheStartWhateverTheTrayHostAsksOfItsWindow) {
  settings.sections["STARTUP"] = {{"messdate", "True"}};
  const WindowId notes = focusNew("My Notes");
  ASSERT_TRUE(windows->start());
  ASSERT_TRUE(captionBecomes(notes, "My Notes" + kEightBlanks + dated("MMMM d")));

  // The tray host disabled, hid and shrank the window, then showed it for the mode.
  CorvaneTime& clockWindow = windows->corvaneTime();
  EXPECT_FALSE(clockWindow.isEnabled());
  EXPECT_EQ(clockWindow.requestedSize(), QSize(0, 0));
  EXPECT_TRUE(clockWindow.shownRequested());
  EXPECT_TRUE(nothingVisible());

  // Each choice hides the window again; the next tick writes the new mode's text.
  windows->frmSysTray().mestime->trigger();
  EXPECT_TRUE(captionBecomes(notes, "My Notes" + kEightBlanks + dated("dddd...   MMMM d, yyyy") +
                                        "    " + dated("hh:mm AP")));
  windows->frmSysTray().mestime->trigger();
  EXPECT_TRUE(captionBecomes(notes, "My Notes" + kEightBlanks)) << "no mode: the blanks alone";
  EXPECT_FALSE(clockWindow.shownRequested());
  EXPECT_TRUE(nothingVisible());

  const WindowId other = focusNew("Other");
  EXPECT_TRUE(captionBecomes(notes, "My Notes"));
  EXPECT_EQ(captionOf(other), "Other" + kEightBlanks);
}

TEST_F(ProgramWindowsTest, ExitGivesTheLastCaptionBackBeforeAnythingElseEnds) {
  settings.sections["STARTUP"] = {{"mesdate", "True"}};
  const WindowId notes = focusNew("My Notes");
  ASSERT_TRUE(windows->start());
  ASSERT_TRUE(captionBecomes(notes, "My Notes" + kEightBlanks + dated("MMMM d...   hh:mm AP")));
  trayTick();
  windows->frmSysTray().mreminders->trigger();
  ASSERT_EQ(shell->icons.size(), 2u);

  struct World {
    std::size_t icons;
    bool reminders;
    bool ended;
  };
  std::vector<World> atWrites;
  desktop->beforeWrite = [&] {
    atWrites.push_back({shell->icons.size(), windows->hasReminders(), !exitCodes.empty()});
  };
  windows->frmSysTray().mExit->trigger();
  EXPECT_EQ(captionOf(notes), "My Notes");
  ASSERT_EQ(atWrites.size(), 1u);
  EXPECT_EQ(atWrites[0].icons, 2u) << "both icons were still in the tray";
  EXPECT_TRUE(atWrites[0].reminders);
  EXPECT_FALSE(atWrites[0].ended);
  EXPECT_EQ(exitCodes, std::vector<int>{0});

  QTest::qWait(700);
  EXPECT_EQ(atWrites.size(), 1u) << "no tick after the end";
  EXPECT_EQ(captionOf(notes), "My Notes");
}

TEST_F(ProgramWindowsTest, WithoutAnXDisplayTheClockSaysSoOnceAndTheRestWorks) {
  desktop->isAvailable = false;
  const WindowId notes = focusNew("My Notes");
  ASSERT_TRUE(windows->start());
  ASSERT_TRUE(QTest::qWaitFor([this] { return windows->hasFrmSysTray(); }, 2000));
  QTest::qWait(600);
  EXPECT_TRUE(messages.shown.empty()) << "no display mode on: nothing to say";

  windows->frmSysTray().messdate->trigger();
  ASSERT_TRUE(QTest::qWaitFor([this] { return !messages.shown.empty(); }, 2000));
  EXPECT_EQ(messages.shown[0].title, "Pellwick");
  EXPECT_TRUE(messages.shown[0].text.contains("X11 display"));
  EXPECT_FALSE(messages.shown[0].modal);

  windows->frmSysTray().mesldate->trigger();
  QTest::qWait(1100);
  EXPECT_EQ(messages.shown.size(), 1u) << "said once";
  EXPECT_TRUE(desktop->writes.empty());
  EXPECT_EQ(captionOf(notes), "My Notes");
  EXPECT_TRUE(QTest::qWaitFor([this] { return shell->hasIcon(trayOwner()); }, 2000));

  windows->exitProgram();
  EXPECT_TRUE(desktop->writes.empty());
  EXPECT_EQ(exitCodes, std::vector<int>{0});
}

// Message boxes that hold the program in their own event loop, as a real one does.
class ModalMessages : public testing::FakeUserMessages {
 public:
  void critical(const QString& title, const QString& text) override {
    FakeUserMessages::critical(title, text);
    QTest::qWait(1200);
  }
};

TEST_F(ProgramWindowsTest, ASecondCopyBehindItsWarningTouchesNoCaptionAndWarnsOnce) {
  settings.sections["STARTUP"] = {{"messdate", "True"}};
  singleInstance->otherRunning = true;
  const WindowId notes = focusNew("My Notes");
  ModalMessages modal;
  ProgramWindows secondCopy(ProgramEnvironment{platform, settings, modal, [this] { return now; },
                                               ExecutableFile{"/usr/bin/pellwick", "pellwick"},
                                               [this](int code) { exitCodes.push_back(code); }});
  EXPECT_FALSE(secondCopy.start());
  EXPECT_EQ(modal.shown.size(), 1u);
  EXPECT_FALSE(secondCopy.hasFrmSysTray());
  EXPECT_TRUE(desktop->writes.empty());
  EXPECT_EQ(captionOf(notes), "My Notes");
}

}  // namespace
}  // namespace pellwick
