#include "flasher/flasher.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "fakes/fake_tray_shell.h"

namespace pellwick {
namespace {

using testing::FakeTrayShell;

constexpr std::uint32_t kOwner = 0x4200;

class FlasherTest : public ::testing::Test {
 protected:
  std::uint32_t handleOf(const IconFile& picture) { return shell.iconHandle(picture); }
  const FakeTrayShell::Call& lastCall() const { return shell.calls.back(); }
  // The pictures sent with Modify since call number `from`.
  std::vector<std::uint32_t> modifiedIcons(std::size_t from) const {
    std::vector<std::uint32_t> icons;
    for (std::size_t i = from; i < shell.calls.size(); ++i) {
      if (shell.calls[i].command == TrayCommand::Modify) icons.push_back(shell.calls[i].data.hIcon);
    }
    return icons;
  }

  const IconFile to{'T', 'O'};
  const IconFile do_{'D', 'O'};
  const IconFile other{'O', 'T', 'H'};
  FakeTrayShell shell;
  std::vector<std::string> mouseNames;
  int iconChanges = 0;
  int shows = 0;
  int period = -1;
  Flasher flasher{shell,
                  kOwner,
                  to,
                  do_,
                  {.trayMouse = [this](const std::string& name) { mouseNames.push_back(name); },
                   .iconChanged = [this] { ++iconChanges; },
                   .showReminders = [this] { ++shows; },
                   .restartTimer = [this](int ms) { period = ms; }}};
};

TEST_F(FlasherTest, LoadAddsItsOwnTOIconAndStartsTicking) {
  flasher.load();
  ASSERT_EQ(shell.calls.size(), 1u);
  const auto& add = shell.calls[0];
  EXPECT_EQ(add.command, TrayCommand::Add);
  EXPECT_TRUE(add.accepted);
  EXPECT_EQ(add.data.cbSize, 88u);
  EXPECT_EQ(add.data.hWnd, kOwner);
  EXPECT_EQ(add.data.uID, 1u);
  EXPECT_EQ(add.data.uFlags, 7u);
  EXPECT_EQ(add.data.uCallbackMessage, 512u);
  EXPECT_EQ(add.data.hIcon, handleOf(to));
  EXPECT_EQ(add.data.szTip[0], u'\0');
  EXPECT_EQ(iconChanges, 1);
  EXPECT_EQ(period, 1000);
  EXPECT_EQ(flasher.interval(), 1000);
  EXPECT_TRUE(shell.listeners.count(kOwner));
}

TEST_F(FlasherTest, TicksShowDOThenTOThenDO) {
  flasher.load();
  flasher.tick();
  flasher.tick();
  flasher.tick();
  EXPECT_EQ(modifiedIcons(1),
            (std::vector<std::uint32_t>{handleOf(do_), handleOf(to), handleOf(do_)}));
  EXPECT_EQ(iconChanges, 4);
  EXPECT_TRUE(lastCall().accepted);
}

TEST_F(FlasherTest, IntervalZeroHoldsThePictureUntilAnIntervalIsWrittenAgain) {
  flasher.load();
  flasher.tick();
  ASSERT_TRUE(flasher.setInterval(0));
  EXPECT_EQ(period, 0);
  EXPECT_EQ(flasher.interval(), 0);
  EXPECT_EQ(lastCall().command, TrayCommand::Modify);
  EXPECT_EQ(lastCall().data.hIcon, handleOf(do_));  // held, still in the tray
  ASSERT_TRUE(flasher.setInterval(1000));
  EXPECT_EQ(period, 1000);

  // with the timer stopped by a steady picture, an interval alone does not resume blinking
  flasher.setTrayIcon(PictureHolder{other});
  ASSERT_TRUE(flasher.setInterval(500));
  EXPECT_EQ(period, 0);
  EXPECT_EQ(flasher.interval(), 500);
}

TEST_F(FlasherTest, NegativeIntervalIsRefusedAndSendsNothing) {
  flasher.load();
  ASSERT_TRUE(flasher.setInterval(250));
  const auto sent = shell.calls.size();
  EXPECT_FALSE(flasher.setInterval(-5));
  EXPECT_EQ(shell.calls.size(), sent);
  EXPECT_EQ(flasher.interval(), 250);
  EXPECT_EQ(period, 250);
}

TEST_F(FlasherTest, APictureOrAnObjectsIconHoldsTheIconSteady) {
  flasher.load();
  flasher.setTrayIcon(PictureHolder{other});
  EXPECT_EQ(flasher.icon(), handleOf(other));
  EXPECT_EQ(period, 0);

  flasher.setTrayIcon(IconHolder{do_});
  EXPECT_EQ(flasher.icon(), handleOf(do_));
  EXPECT_EQ(period, 0);
  EXPECT_EQ(lastCall().command, TrayCommand::Modify);
  EXPECT_EQ(lastCall().data.hIcon, handleOf(do_));
  EXPECT_EQ(iconChanges, 3);
}

TEST_F(FlasherTest, TextShowsDOOrAPictureFileAndResumesBlinking) {
  flasher.load();
  flasher.setTrayIcon(PictureHolder{other});
  flasher.setTrayIcon(std::string("dEfAuLt"));
  EXPECT_EQ(flasher.icon(), handleOf(do_));
  EXPECT_EQ(period, 1000);

  const auto file = std::filesystem::temp_directory_path() / "flasher_test_picture.ico";
  std::ofstream(file, std::ios::binary).write("PICTURE", 7);
  flasher.setTrayIcon(PictureHolder{other});
  flasher.setTrayIcon(file.string());
  std::filesystem::remove(file);
  EXPECT_EQ(flasher.icon(), handleOf(IconFile{'P', 'I', 'C', 'T', 'U', 'R', 'E'}));
  EXPECT_EQ(lastCall().data.hIcon, flasher.icon());
  EXPECT_EQ(period, 1000);
}

TEST_F(FlasherTest, AnyFailureKeepsThePictureResumesBlinkingAndStillSends) {
  const auto empty = std::filesystem::temp_directory_path() / "flasher_test_empty.ico";
  std::ofstream(empty, std::ios::binary).flush();
  const TrayIconValue failures[] = {
      std::string("/no/such/folder/picture.ico"),  // a missing file
      empty.string(),                              // a file that is no picture
      PictureHolder{},                             // a widget showing no picture
      IconHolder{},                                // an object without an icon
  };
  flasher.load();
  for (const TrayIconValue& value : failures) {
    flasher.setTrayIcon(PictureHolder{other});
    const auto sent = shell.calls.size();
    flasher.setTrayIcon(value);
    EXPECT_EQ(flasher.icon(), handleOf(other)) << value.index();
    EXPECT_EQ(period, 1000) << value.index();
    ASSERT_EQ(shell.calls.size(), sent + 1);
    EXPECT_EQ(lastCall().command, TrayCommand::Modify);
  }
  std::filesystem::remove(empty);
}

TEST_F(FlasherTest, MouseCodesAreNamedAndOnlyALeftReleaseShowsTheReminders) {
  flasher.load();
  shell.click(kOwner, 513);
  EXPECT_EQ(shows, 0);
  shell.click(kOwner, 514);
  EXPECT_EQ(shows, 1);
  shell.click(kOwner, 1024);
  EXPECT_EQ(mouseNames, (std::vector<std::string>{"LBUTTONDOWN", "LBUTTONUP", "OTHER....: 1024"}));
  EXPECT_EQ(shows, 1);
}

TEST_F(FlasherTest, OwnerUnloadTakesTheIconOutAndStopsTicking) {
  flasher.load();
  flasher.ownerUnloaded();
  EXPECT_EQ(lastCall().command, TrayCommand::Delete);
  EXPECT_TRUE(lastCall().accepted);
  EXPECT_FALSE(shell.hasIcon(kOwner));
  EXPECT_FALSE(shell.listeners.count(kOwner));
  EXPECT_EQ(period, 0);
}

TEST(Flasher, DestroyingALoadedFlasherTakesItsIconOutOnce) {
  FakeTrayShell shell;
  {
    Flasher flasher(shell, kOwner, {'T'}, {'D'}, {});
    flasher.load();
  }
  EXPECT_FALSE(shell.hasIcon(kOwner));
  EXPECT_FALSE(shell.listeners.count(kOwner));
  {
    Flasher flasher(shell, kOwner, {'T'}, {'D'}, {});
    flasher.load();
    flasher.ownerUnloaded();
  }
  EXPECT_EQ(shell.calls.size(), 4u);  // add, delete, add, delete
}

}  // namespace
}  // namespace pellwick
