#include "tray_host/frm_sys_tray.h"

#include <QSignalSpy>

#include "tray_host/program_fixture.h"
#include "tray_host/window_handle.h"

namespace pellwick {
namespace {

using Section = std::map<std::string, std::string>;

class FrmSysTrayTest : public testing::ProgramFixture {
 protected:
  FrmSysTray& host() { return windows->frmSysTray(); }
  CorvaneTime& clockWindow() { return windows->corvaneTime(); }
  void expectClockWindowHiddenAndZeroSized() {
    EXPECT_FALSE(clockWindow().isEnabled());
    EXPECT_FALSE(clockWindow().shownRequested());
    EXPECT_EQ(clockWindow().requestedSize(), QSize(0, 0));
    EXPECT_FALSE(clockWindow().isVisible());
  }
  // The picture the tray shows now.
  std::vector<std::uint8_t> trayPicture() {
    const auto icon = shell->icons.find({trayOwner(), 1});
    return icon == shell->icons.end() ? std::vector<std::uint8_t>{} : pictureOf(icon->second.hIcon);
  }
};

TEST_F(FrmSysTrayTest, MenuHoldsTheElevenEntriesCharacterForCharacter) {
  const QList<QAction*> entries = host().popupMenu().actions();
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
  EXPECT_EQ(host().popupMenu().title(), "&PopupMenu");
}

TEST_F(FrmSysTrayTest, LoadRestoresTheMarksHidesEverythingAndMakesTheTrayFolder) {
  settings.sections["STARTUP"] = {{"mesldate", "True"}, {"mesdate", "1"}, {"mestime", "yes"}};
  settings.sections["AUTORUN"] = {{"mautorun", "TRUE"}};
  ASSERT_TRUE(windows->start());
  EXPECT_TRUE(host().mesldate->isChecked());
  EXPECT_FALSE(host().messdate->isChecked());
  EXPECT_FALSE(host().mestime->isChecked());
  EXPECT_TRUE(host().mesdate->isChecked());
  EXPECT_TRUE(host().mautorun->isChecked());
  EXPECT_TRUE(autoRun->entries.empty()) << "only the mark is restored";
  EXPECT_FALSE(clockWindow().isEnabled());
  EXPECT_TRUE(clockWindow().shownRequested()) << "a display mode is on";
  EXPECT_EQ(clockWindow().requestedSize(), QSize(0, 0));
  EXPECT_FALSE(host().isVisible());
  EXPECT_FALSE(clockWindow().isVisible());
  EXPECT_EQ(folders->created, std::vector<std::string>{"/home/user1/user1's Tray Folder"});
  EXPECT_FALSE(shell->hasIcon(trayOwner())) << "the first timer tick adds the icon";
  EXPECT_TRUE(host().timer().isActive());
  EXPECT_EQ(host().timer().interval(), 1000);
}

TEST_F(FrmSysTrayTest, WithNoDisplayModeTheStartedClockWindowIsHidden) {
  ASSERT_TRUE(windows->start());
  EXPECT_TRUE(clockWindow().shownRequested());
  host();
  expectClockWindowHiddenAndZeroSized();
}

TEST_F(FrmSysTrayTest, UpdateResendsTheLastRecordThenSendsTheNewOne) {
  trayTick();
  ASSERT_EQ(shell->calls.size(), 2u);
  EXPECT_EQ(shell->calls[0].command, TrayCommand::Modify);
  EXPECT_EQ(shell->calls[0].data.cbSize, 0u) << "all zero before the first update";
  EXPECT_FALSE(shell->calls[0].accepted);
  EXPECT_EQ(shell->calls[1].command, TrayCommand::Add);
  EXPECT_TRUE(shell->calls[1].accepted);

  const NotifyIconData& sent = shell->calls[1].data;
  EXPECT_EQ(sent.cbSize, 88u);
  EXPECT_EQ(sent.hWnd, pellwick::windowHandle(host()));
  EXPECT_EQ(sent.uID, 1u);
  EXPECT_EQ(sent.uFlags, 7u);
  EXPECT_EQ(sent.uCallbackMessage, 512u);
  EXPECT_EQ(pictureOf(sent.hIcon), dayPictureFile(6)) << "today is the 6th";
  EXPECT_TRUE(std::all_of(sent.szTip.begin(), sent.szTip.end(), [](char16_t c) { return c == 0; }));

  trayTick();
  ASSERT_EQ(shell->calls.size(), 4u);
  EXPECT_EQ(shell->calls[2].command, TrayCommand::Modify);
  EXPECT_TRUE(shell->calls[2].accepted);
  EXPECT_EQ(shell->calls[3].command, TrayCommand::Add);
  EXPECT_FALSE(shell->calls[3].accepted);
}

TEST_F(FrmSysTrayTest, TheNewDayReachesTheTrayWithinTwoTicksAfterMidnight) {
  now = QDateTime(QDate(2026, 3, 30), QTime(23, 59, 59, 500));
  trayTick();
  EXPECT_EQ(trayPicture(), dayPictureFile(30));
  now = now.addMSecs(1000);  // 00:00:00.500 on the 31st
  trayTick();
  EXPECT_EQ(trayPicture(), dayPictureFile(30)) << "this tick's record reaches the tray next tick";
  now = now.addMSecs(1000);
  trayTick();
  EXPECT_EQ(trayPicture(), dayPictureFile(31));
}

TEST_F(FrmSysTrayTest, OnTheTwentyNinthOfFebruaryThePictureIsTwentyNine) {
  now = QDateTime(QDate(2028, 2, 29), QTime(8, 0));
  trayTick();
  EXPECT_EQ(trayPicture(), dayPictureFile(29));
  EXPECT_NE(dayPictureFile(29), dayPictureFile(1));
}

TEST_F(FrmSysTrayTest, AnIconTheShellLostComesBackAtTheNextTick) {
  trayTick();
  shell->restartTaskbar();
  trayTick();
  EXPECT_TRUE(shell->hasIcon(trayOwner()));
  EXPECT_EQ(trayPicture(), dayPictureFile(6));
}

TEST_F(FrmSysTrayTest, AMissingTrayIsToldOnceEachTimeAndTheIconWaitsForIt) {
  shell->available = false;
  for (int tick = 0; tick < 10; ++tick) host().timerTick();
  ASSERT_EQ(messages.shown.size(), 1u) << "once while the tray stays away";
  EXPECT_FALSE(messages.shown[0].modal);
  EXPECT_TRUE(messages.shown[0].text.contains("no notification area"));
  EXPECT_TRUE(shell->hasIcon(trayOwner())) << "the icon is kept for the tray to come";

  shell->available = true;
  host().timerTick();
  shell->available = false;
  host().timerTick();
  host().timerTick();
  EXPECT_EQ(messages.shown.size(), 1u) << "a tray that restarts is no news";
  host().timerTick();
  EXPECT_EQ(messages.shown.size(), 2u) << "gone again for good";
}

TEST_F(FrmSysTrayTest, MouseCodesAreNamedAndOnlyReleasesAct) {
  trayTick();
  QSignalSpy names(&host(), &FrmSysTray::TrayMouse);
  for (std::uint32_t code : {512u, 513u, 515u, 516u, 518u, 519u, 520u, 521u, 1024u}) {
    shell->click(trayOwner(), code);
  }
  EXPECT_TRUE(folders->opened.empty());
  EXPECT_FALSE(host().popupMenu().isVisible());
  ASSERT_EQ(names.size(), 9);
  EXPECT_EQ(names[0][0].toString(), "MOUSEMOVE");
  EXPECT_EQ(names[8][0].toString(), "OTHER....: 1024");

  shell->click(trayOwner(), 514);
  shell->click(trayOwner(), 514);
  EXPECT_EQ(folders->opened.size(), 2u) << "each left release opens the folder";
  EXPECT_EQ(folders->opened[0], "/home/user1/user1's Tray Folder");

  shell->click(trayOwner(), 517);
  EXPECT_TRUE(host().popupMenu().isVisible());
  host().popupMenu().close();
  EXPECT_EQ(names.size(), 12);
  EXPECT_EQ(names[11][0].toString(), "RBUTTONUP");
}

TEST_F(FrmSysTrayTest, MyTrayFolderOpensTheFolder) {
  host().mmytrayfolder->trigger();
  EXPECT_EQ(folders->opened, std::vector<std::string>{"/home/user1/user1's Tray Folder"});
}

TEST_F(FrmSysTrayTest, ADisplayModeChoiceKeepsOneModeAndSavesOnlyIt) {
  host().messdate->trigger();
  EXPECT_TRUE(host().displayMarks().messdate);
  EXPECT_EQ(settings.sections["STARTUP"], (Section{{"messdate", "True"}}));
  expectClockWindowHiddenAndZeroSized();

  host().mestime->trigger();
  const DisplayMarks marks = host().displayMarks();
  EXPECT_FALSE(marks.mesldate || marks.messdate || marks.mesdate);
  EXPECT_TRUE(marks.mestime);
  EXPECT_EQ(settings.sections["STARTUP"], (Section{{"mestime", "True"}}));

  host().mestime->trigger();
  EXPECT_FALSE(host().displayMarks().mestime) << "choosing the mode that is on turns all off";
  EXPECT_EQ(settings.sections["STARTUP"], (Section{{"mestime", "False"}}));
  expectClockWindowHiddenAndZeroSized();
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FrmSysTrayTest, AChoiceAlsoClearsModesEditedOnFromOutside) {
  settings.sections["STARTUP"] = {{"mesldate", "True"}, {"mesdate", "True"}};
  host().messdate->trigger();
  const DisplayMarks marks = host().displayMarks();
  EXPECT_FALSE(marks.mesldate || marks.mesdate || marks.mestime);
  EXPECT_TRUE(marks.messdate);
}

TEST_F(FrmSysTrayTest, AutorunWritesAndRemovesTheEntryForTheRunningExecutable) {
  host().mautorun->trigger();
  EXPECT_TRUE(host().mautorun->isChecked());
  EXPECT_EQ(autoRun->entries,
            (std::map<std::string, std::string>{{"pellwick", "/opt/My Tools/pellwick"}}));
  EXPECT_EQ(settings.sections["AUTORUN"], (Section{{"mautorun", "True"}}));

  host().mautorun->trigger();
  EXPECT_FALSE(host().mautorun->isChecked());
  EXPECT_TRUE(autoRun->entries.empty());
  EXPECT_EQ(settings.sections["AUTORUN"], (Section{{"mautorun", "False"}}));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FrmSysTrayTest, AnEntryThatCannotBeWrittenIsReportedAndNotMarked) {
  autoRun->failing = true;
  host().mautorun->trigger();
  EXPECT_FALSE(host().mautorun->isChecked());
  EXPECT_EQ(settings.sections["AUTORUN"], (Section{{"mautorun", "False"}}));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Pellwick could not be set to start when you log in.");
}

TEST_F(FrmSysTrayTest, AnEntryThatCannotBeRemovedIsReportedAndStaysMarked) {
  host().mautorun->trigger();
  autoRun->failing = true;
  host().mautorun->trigger();
  EXPECT_TRUE(host().mautorun->isChecked());
  EXPECT_EQ(settings.sections["AUTORUN"], (Section{{"mautorun", "True"}}));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Pellwick could not be kept from starting when you log in.");
}

TEST_F(FrmSysTrayTest, ASettingTheStoreRefusesIsReportedAndHoldsForTheSession) {
  settings.failing = true;
  host().mesldate->trigger();
  EXPECT_TRUE(host().displayMarks().mesldate);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_FALSE(messages.shown[0].critical);
  EXPECT_EQ(messages.shown[0].text,
            "This setting could not be saved. It holds until Pellwick ends.");
}

TEST_F(FrmSysTrayTest, ExitProgramRemovesTheIconAndEndsTheProgram) {
  ASSERT_TRUE(windows->start());
  trayTick();
  const std::uint32_t owner = trayOwner();
  now = now.addDays(1);
  host().mExit->trigger();
  ASSERT_GE(shell->calls.size(), 2u);
  const auto& last = shell->calls.back();
  EXPECT_EQ(last.command, TrayCommand::Delete);
  EXPECT_TRUE(last.accepted);
  EXPECT_EQ(pictureOf(last.data.hIcon), dayPictureFile(7)) << "the day is chosen once more";
  EXPECT_FALSE(shell->hasIcon(owner));
  EXPECT_FALSE(windows->hasFrmSysTray()) << "the tray host is unloaded";
  EXPECT_EQ(exitCodes, std::vector<int>{0});
  EXPECT_FALSE(windows->corvaneTime().timer().isActive()) << "no tick runs after the exit";
  windows->exitProgram();
  EXPECT_EQ(exitCodes, std::vector<int>{0}) << "the program ends once";
}

}  // namespace
}  // namespace pellwick
