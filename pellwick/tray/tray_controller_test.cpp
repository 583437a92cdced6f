#include "tray/tray_controller.h"

#include <gtest/gtest.h>

#include <QTest>

#include "fakes/fake_services.h"
#include "fakes/fake_settings_store.h"
#include "fakes/fake_tray_icons.h"
#include "fakes/fake_user_messages.h"
#include "fakes/qt_test_application.h"
#include "tray/tray_menu.h"

namespace pellwick {
namespace {

using Section = std::map<std::string, std::string>;

QImage shown(const QIcon& icon) { return icon.pixmap(16, 16).toImage(); }

class TrayTest : public ::testing::Test {
 protected:
  TrayMenu& menu() {
    if (!menu_) {
      menu_ = std::make_unique<TrayMenu>(
          display, readSavedSettings(settings),
          TrayMenu::Services{settings, autoRun, {"/opt/My Tools/pellwick", "pellwick"}, messages});
    }
    return *menu_;
  }
  TrayController& controller() {
    if (!controller_) {
      controller_ = std::make_unique<TrayController>(
          TrayController::Services{tray, folders, messages, [this] { return now; }}, pictures,
          menu().menu(), *menu().trayFolderAction(), *menu().exitAction());
    }
    return *controller_;
  }
  testing::FakeTrayIcon& icon() { return *tray.icons.at(0); }
  QAction* mode(DisplayMode displayMode) { return menu().displayModeAction(displayMode); }

  testing::FakeSettingsStore settings;
  testing::FakeAutoRun autoRun;
  testing::FakeUserFolders folders;
  testing::FakeUserMessages messages;
  testing::FakeTrayIcons tray;
  DayPictures pictures;
  DisplaySettings display;
  QDateTime now{QDate(2026, 12, 6), QTime(14, 5)};
  std::unique_ptr<TrayMenu> menu_;
  std::unique_ptr<TrayController> controller_;
};

TEST_F(TrayTest, TheMenuHoldsTheElevenEntriesCharacterForCharacter) {
  const QList<QAction*> entries = menu().menu().actions();
  const QStringList captions{"&My Tray Folder",
                             "&Pellwick",
                             "&Calender",
                             "&______________________",
                             "&Show  Date-   Long",
                             "&Show Date-   Short",
                             "&Show Long Date and Time ",
                             "&Show Short Date and Time",
                             "&______________________",
                             "&Autorun at Windows Startup",
                             "&Exit Program"};
  ASSERT_EQ(entries.size(), captions.size());
  for (qsizetype i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i]->text(), captions[i]) << i;
    EXPECT_EQ(entries[i]->isEnabled(), i != 3 && i != 8) << i;
    EXPECT_EQ(entries[i]->isCheckable(), (i >= 4 && i <= 7) || i == 9) << i;
    EXPECT_FALSE(entries[i]->isChecked()) << "a clean store leaves every mark off";
  }
  EXPECT_EQ(menu().menu().title(), "&PopupMenu");
  EXPECT_EQ(entries[4], mode(DisplayMode::LongDate));
  EXPECT_EQ(entries[7], mode(DisplayMode::ShortDateAndTime));
}

TEST_F(TrayTest, TheMarksStartAsSavedAndTheDisplaySettingsWithThem) {
  settings.sections["STARTUP"] = {{"mesldate", "True"}, {"mesdate", "1"}, {"mestime", "yes"}};
  settings.sections["AUTORUN"] = {{"mautorun", "TRUE"}};
  menu();
  EXPECT_TRUE(mode(DisplayMode::LongDate)->isChecked());
  EXPECT_FALSE(mode(DisplayMode::ShortDate)->isChecked());
  EXPECT_FALSE(mode(DisplayMode::LongDateAndTime)->isChecked());
  EXPECT_TRUE(mode(DisplayMode::ShortDateAndTime)->isChecked());
  EXPECT_EQ(display, (DisplaySettings{DisplayMode::LongDate, DisplayMode::ShortDateAndTime}));
  EXPECT_TRUE(menu().startAtLoginAction()->isChecked());
  EXPECT_TRUE(autoRun.entries.empty()) << "only the mark is restored";
}

TEST_F(TrayTest, ADisplayModeChoiceKeepsOneModeAndSavesOnlyIt) {
  settings.sections["STARTUP"] = {{"mesldate", "True"}, {"mesdate", "True"}};
  mode(DisplayMode::ShortDate)->trigger();
  EXPECT_EQ(display, DisplaySettings{DisplayMode::ShortDate}) << "modes edited on are cleared";
  EXPECT_EQ(settings.sections["STARTUP"], (Section{{"messdate", "True"}}));

  mode(DisplayMode::LongDateAndTime)->trigger();
  EXPECT_EQ(display, DisplaySettings{DisplayMode::LongDateAndTime});
  EXPECT_FALSE(mode(DisplayMode::ShortDate)->isChecked());
  EXPECT_EQ(settings.sections["STARTUP"], (Section{{"mestime", "True"}}));

  mode(DisplayMode::LongDateAndTime)->trigger();
  EXPECT_FALSE(display.anyOn()) << "choosing the mode that is on turns all off";
  EXPECT_EQ(settings.sections["STARTUP"], (Section{{"mestime", "False"}}));
  EXPECT_TRUE(messages.shown.empty());

  settings.failing = true;
  mode(DisplayMode::LongDate)->trigger();
  EXPECT_TRUE(display.isOn(DisplayMode::LongDate)) << "it holds for the session";
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            "This setting could not be saved in settings.ini. It holds until Pellwick ends.");
}

TEST_F(TrayTest, StartAtLoginWritesAndRemovesTheEntryOrSaysOnceWhyNot) {
  QAction* startAtLogin = menu().startAtLoginAction();
  startAtLogin->trigger();
  EXPECT_EQ(autoRun.entries,
            (std::map<std::string, std::string>{{"pellwick", "/opt/My Tools/pellwick"}}));
  EXPECT_EQ(settings.sections["AUTORUN"], (Section{{"mautorun", "True"}}));
  startAtLogin->trigger();
  EXPECT_TRUE(autoRun.entries.empty());
  EXPECT_EQ(settings.sections["AUTORUN"], (Section{{"mautorun", "False"}}));
  EXPECT_TRUE(messages.shown.empty());

  // A failure leaves the mark and what is saved as they were, and the store failing as
  // well adds no second message.
  autoRun.failure = "Permission denied";
  settings.failing = true;
  startAtLogin->trigger();
  EXPECT_FALSE(startAtLogin->isChecked());
  EXPECT_EQ(settings.sections["AUTORUN"], (Section{{"mautorun", "False"}}));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            "Pellwick could not write autostart/pellwick: Permission denied.");
  EXPECT_FALSE(messages.shown[0].modal) << "the tray menu stays usable";

  autoRun.failure.clear();
  settings.failing = false;
  startAtLogin->trigger();
  autoRun.failure = "Read-only file system";
  startAtLogin->trigger();
  EXPECT_TRUE(startAtLogin->isChecked());
  EXPECT_EQ(settings.sections["AUTORUN"], (Section{{"mautorun", "True"}}));
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1].text,
            "Pellwick could not remove autostart/pellwick: Read-only file system.");

  // The entry was written but the mark could not be saved: that is the one message.
  autoRun.failure.clear();
  settings.failing = true;
  startAtLogin->trigger();
  EXPECT_TRUE(autoRun.entries.empty());
  ASSERT_EQ(messages.shown.size(), 3u);
  EXPECT_EQ(messages.shown[2].text,
            "This setting could not be saved in settings.ini. It holds until Pellwick ends.");
}

TEST_F(TrayTest, StartMakesTheTrayFolderAndTheFirstTickShowsTodaysPicture) {
  controller().start();
  EXPECT_EQ(folders.created, std::vector<std::string>{"/home/user1/user1's Tray Folder"});
  EXPECT_TRUE(controller().timer().isActive());
  EXPECT_EQ(controller().timer().interval(), 1000);
  ASSERT_EQ(tray.icons.size(), 1u);
  EXPECT_FALSE(icon().isShown) << "the first timer tick shows the icon";
  EXPECT_EQ(icon().menu, &menu().menu());

  controller().tick();
  EXPECT_TRUE(icon().isShown);
  EXPECT_EQ(shown(icon().picture), shown(pictures.forDay(6))) << "today is the 6th";

  now = QDateTime(QDate(2028, 2, 29), QTime(0, 0, 0, 500));
  controller().tick();
  EXPECT_EQ(shown(icon().picture), shown(pictures.forDay(29))) << "the new day at the next tick";

  controller().stop();
  EXPECT_TRUE(tray.icons.empty());
  EXPECT_FALSE(controller().timer().isActive());
}

TEST_F(TrayTest, ALeftClickOrTheMenuEntryOpensTheTrayFolder) {
  controller().tick();
  icon().click(MouseButton::Right);
  icon().click(MouseButton::Middle);
  icon().doubleClick(MouseButton::Left);
  EXPECT_TRUE(folders.opened.empty());
  icon().click(MouseButton::Left);
  menu().trayFolderAction()->trigger();
  EXPECT_EQ(folders.opened, std::vector<std::string>(2, "/home/user1/user1's Tray Folder"));
}

TEST_F(TrayTest, AMissingTrayIsToldOnceEachTimeUntilItComesAndTheMessageOffersTheWayOut) {
  bool exited = false;
  QObject::connect(menu().exitAction(), &QAction::triggered, [&exited] { exited = true; });
  tray.isAvailable = false;
  for (int tick = 0; tick < 10; ++tick) controller().tick();
  ASSERT_EQ(messages.shown.size(), 1u) << "once while the tray stays away";
  const testing::FakeUserMessages::Message& first = messages.shown[0];
  EXPECT_FALSE(first.modal);
  EXPECT_TRUE(first.text.contains("no notification area"));
  EXPECT_TRUE(first.text.contains("AppIndicator extension"));
  EXPECT_FALSE(first.text.contains("kill"));
  EXPECT_TRUE(icon().isShown) << "the icon is kept for the tray to come";
  EXPECT_TRUE(*first.open);

  tray.isAvailable = true;
  controller().tick();
  EXPECT_FALSE(*messages.shown[0].open) << "the tray came: the message goes";
  tray.isAvailable = false;
  controller().tick();
  controller().tick();
  EXPECT_EQ(messages.shown.size(), 1u) << "a tray that restarts is no news";
  controller().tick();
  ASSERT_EQ(messages.shown.size(), 2u) << "gone again for good";
  EXPECT_TRUE(*messages.shown[1].open);

  EXPECT_EQ(messages.shown[1].buttonCaption, "&Exit Pellwick");
  messages.shown[1].button();
  EXPECT_TRUE(exited) << "the button ends Pellwick as \"&Exit Program\" does";
  controller().stop();
  EXPECT_FALSE(*messages.shown[1].open);
}

}  // namespace
}  // namespace pellwick
