#include "app/pellwick_app.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>

#include "calendar/calendar.h"
#include "fakes/fake_desktop_windows.h"
#include "fakes/fake_services.h"
#include "fakes/fake_settings_store.h"
#include "fakes/fake_tray_icons.h"
#include "fakes/fake_user_messages.h"
#include "fakes/qt_test_application.h"
#include "reminders/reminders_window.h"
#include "settings/display_settings.h"
#include "title_clock/title_clock_timer.h"
#include "tray/tray_controller.h"
#include "tray/tray_menu.h"

namespace pellwick {
namespace {

const std::string kEightBlanks(8, ' ');

// Pellwick over fake services, a clock the test sets, and a recorded end.
class PellwickAppTest : public ::testing::Test {
 protected:
  PellwickAppTest() {
    platform.trayIcons.reset(tray = new testing::FakeTrayIcons);
    platform.desktopWindows.reset(desktop = new testing::FakeDesktopWindows);
    platform.autoRun = std::make_unique<testing::FakeAutoRun>();
    platform.userFolders = std::make_unique<testing::FakeUserFolders>();
    platform.singleInstance.reset(singleInstance = new testing::FakeSingleInstance);
  }
  AppEnvironment environment(UserMessages& shownMessages) {
    return {platform,
            settings,
            shownMessages,
            [this] { return now; },
            ExecutableFile{"/opt/My Tools/pellwick", "pellwick"},
            [this](int exitCode) { exitCodes.push_back(exitCode); }};
  }

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
  QAction* mode(DisplayMode displayMode) { return app.trayMenu()->displayModeAction(displayMode); }
  std::size_t iconsShown() const { return tray->shown().size(); }

  // True while no window of the program is on screen.
  static bool nothingVisible() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::none_of(windows.begin(), windows.end(), [](QWidget* w) { return w->isVisible(); });
  }

  PlatformServices platform;
  testing::FakeTrayIcons* tray;
  testing::FakeDesktopWindows* desktop;
  testing::FakeSingleInstance* singleInstance;
  testing::FakeSettingsStore settings;
  testing::FakeUserMessages messages;
  QDateTime now{QDate(2026, 12, 6), QTime(14, 5)};
  std::vector<int> exitCodes;
  PellwickApp app{environment(messages)};
};

TEST_F(PellwickAppTest, TheClockRunsFromTheStartAndTheIconFollowsUnseen) {
  settings.sections["STARTUP"] = {{"messdate", "True"}};
  const WindowId notes = focusNew("My Notes");
  QElapsedTimer sinceStart;
  sinceStart.start();
  ASSERT_TRUE(app.start());
  EXPECT_EQ(singleInstance->checks, 1);
  EXPECT_EQ(app.titleClock()->timer().interval(), 500);
  EXPECT_TRUE(app.titleClock()->timer().isActive());
  EXPECT_EQ(iconsShown(), 0u);

  // The clock writes first; the icon comes with the tray's first tick, after 1.5 s.
  ASSERT_TRUE(captionBecomes(notes, "My Notes" + kEightBlanks + dated("MMMM d")));
  EXPECT_EQ(iconsShown(), 0u);
  ASSERT_TRUE(QTest::qWaitFor([this] { return iconsShown() == 1; }, 3000));
  EXPECT_GE(sinceStart.elapsed(), 1400);
  EXPECT_TRUE(nothingVisible());

  // Each choice reaches the clock's next tick.
  mode(DisplayMode::LongDateAndTime)->trigger();
  EXPECT_TRUE(captionBecomes(notes, "My Notes" + kEightBlanks + dated("dddd...   MMMM d, yyyy") +
                                        "    " + dated("hh:mm AP")));
  mode(DisplayMode::LongDateAndTime)->trigger();
  EXPECT_TRUE(captionBecomes(notes, "My Notes" + kEightBlanks)) << "no mode: the blanks alone";

  const WindowId other = focusNew("Other");
  EXPECT_TRUE(captionBecomes(notes, "My Notes"));
  EXPECT_EQ(captionOf(other), "Other" + kEightBlanks);
  EXPECT_TRUE(exitCodes.empty());
}

TEST_F(PellwickAppTest, ASecondCopySaysSoAndEndsWithoutIconOrCaption) {
  settings.sections["STARTUP"] = {{"messdate", "True"}};
  singleInstance->otherRunning = true;
  const WindowId notes = focusNew("My Notes");
  EXPECT_FALSE(app.start());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_TRUE(messages.shown[0].critical);
  EXPECT_EQ(messages.shown[0].title, "Drevik[]");
  EXPECT_EQ(messages.shown[0].text, "This program is already running !");
  EXPECT_EQ(exitCodes, std::vector<int>{0});
  EXPECT_EQ(app.titleClock(), nullptr);
  EXPECT_EQ(app.tray(), nullptr);
  QTest::qWait(700);
  EXPECT_TRUE(tray->icons.empty());
  EXPECT_TRUE(desktop->writes.empty());
  EXPECT_EQ(captionOf(notes), "My Notes");
  EXPECT_EQ(settings.sections.size(), 1u) << "nothing saved";
}

TEST_F(PellwickAppTest, TheMenuOpensOneRemindersWindowWhoseIconLeavesWithItAndAtExit) {
  ASSERT_TRUE(app.start());
  app.tray()->tick();
  app.trayMenu()->remindersAction()->trigger();
  RemindersWindow* first = app.remindersWindow();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(iconsShown(), 2u) << "the day icon and the blinking icon";

  app.trayMenu()->remindersAction()->trigger();
  EXPECT_EQ(app.remindersWindow(), first) << "one program-wide window";
  EXPECT_EQ(iconsShown(), 2u);

  first->close();
  QApplication::processEvents();
  EXPECT_EQ(app.remindersWindow(), nullptr);
  EXPECT_EQ(iconsShown(), 1u);

  app.trayMenu()->remindersAction()->trigger();
  EXPECT_EQ(iconsShown(), 2u) << "reopening brings a new blinking icon";

  app.exitProgram();
  EXPECT_TRUE(tray->icons.empty()) << "no icon is left behind";
  EXPECT_EQ(exitCodes, std::vector<int>{0});
  app.exitProgram();
  EXPECT_EQ(exitCodes, std::vector<int>{0}) << "the program ends once";
}

TEST_F(PellwickAppTest, TheMenuOpensTheCalendarOnTheClocksMonth) {
  now = QDateTime(QDate(2031, 3, 7), QTime(9, 0));
  ASSERT_TRUE(app.start());
  app.trayMenu()->calendarAction()->trigger();
  Calendar* calendar = app.calendar();
  ASSERT_NE(calendar, nullptr);
  EXPECT_TRUE(calendar->isVisible());
  EXPECT_EQ(calendar->windowTitle(), "Tray Calendar");
  EXPECT_EQ(calendar->findChild<QLabel*>("mnth")->text(), "March");
  EXPECT_EQ(calendar->findChild<QLabel*>("yr")->text(), "2031");
  calendar->close();
  QApplication::processEvents();
  EXPECT_EQ(app.calendar(), nullptr) << "closing unloads it";
}

TEST_F(PellwickAppTest, ExitGivesTheLastCaptionBackBeforeAnythingElseEnds) {
  settings.sections["STARTUP"] = {{"mesdate", "True"}};
  const WindowId notes = focusNew("My Notes");
  ASSERT_TRUE(app.start());
  ASSERT_TRUE(captionBecomes(notes, "My Notes" + kEightBlanks + dated("MMMM d...   hh:mm AP")));
  app.tray()->tick();
  app.trayMenu()->remindersAction()->trigger();
  ASSERT_EQ(iconsShown(), 2u);

  struct World {
    std::size_t icons;
    bool reminders;
    bool ended;
  };
  std::vector<World> atWrites;
  desktop->beforeWrite = [&] {
    atWrites.push_back({iconsShown(), app.remindersWindow() != nullptr, !exitCodes.empty()});
  };
  app.trayMenu()->exitAction()->trigger();
  EXPECT_EQ(captionOf(notes), "My Notes");
  ASSERT_EQ(atWrites.size(), 1u);
  EXPECT_EQ(atWrites[0].icons, 2u) << "both icons were still in the tray";
  EXPECT_TRUE(atWrites[0].reminders);
  EXPECT_FALSE(atWrites[0].ended);
  EXPECT_EQ(exitCodes, std::vector<int>{0});

  QTest::qWait(1100);
  EXPECT_EQ(atWrites.size(), 1u) << "no tick after the end";
  EXPECT_TRUE(tray->icons.empty());
}

TEST_F(PellwickAppTest, WithoutAnXDisplayTheClockSaysSoOnceAndTheRestWorks) {
  desktop->isAvailable = false;
  const WindowId notes = focusNew("My Notes");
  ASSERT_TRUE(app.start());
  QTest::qWait(600);
  EXPECT_TRUE(messages.shown.empty()) << "no display mode on: nothing to say";

  mode(DisplayMode::ShortDate)->trigger();
  ASSERT_TRUE(QTest::qWaitFor([this] { return !messages.shown.empty(); }, 2000));
  EXPECT_EQ(messages.shown[0].title, "Pellwick");
  EXPECT_TRUE(messages.shown[0].text.contains("X11 display"));
  EXPECT_FALSE(messages.shown[0].modal);

  mode(DisplayMode::LongDate)->trigger();
  EXPECT_TRUE(QTest::qWaitFor([this] { return iconsShown() == 1; }, 3000));
  EXPECT_EQ(messages.shown.size(), 1u) << "said once";
  EXPECT_TRUE(desktop->writes.empty());
  EXPECT_EQ(captionOf(notes), "My Notes");

  app.exitProgram();
  EXPECT_TRUE(desktop->writes.empty());
  EXPECT_EQ(exitCodes, std::vector<int>{0});
}

}  // namespace
}  // namespace pellwick
