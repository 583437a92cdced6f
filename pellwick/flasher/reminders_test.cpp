#include "flasher/reminders.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "fakes/fake_tray_shell.h"
#include "resources/built_in_pictures.h"
#include "tray_host/window_handle.h"

namespace pellwick {
namespace {

using testing::FakeTrayShell;

// Twice: a window deleted in the first round deletes its flasher later.
void runDeferredDeletes() {
  for (int round = 0; round < 2; ++round) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

std::uint32_t pictureHandle(FakeTrayShell& shell, const QString& fileName) {
  QFile file(builtInPicturePath(fileName));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << fileName.toStdString();
  const QByteArray bytes = file.readAll();
  return shell.iconHandle(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

class RemindersWindow : public ::testing::Test {
 protected:
  void TearDown() override {
    delete reminders.data();
    runDeferredDeletes();
  }

  // As the program-wide accessor does: one window, brought up by the icon's left click.
  void open() {
    reminders = new Reminders(shell, [this] { reminders->bringToFront(); });
    flasherHandle = windowHandle(*reminders->formSys());
  }
  template <class Control>
  Control* control(const char* name) {
    auto* found = reminders->findChild<Control*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QLineEdit* box() { return control<QLineEdit>("TxtInterval"); }
  std::size_t modifyCallsSince(std::size_t from) const {
    std::size_t count = 0;
    for (std::size_t i = from; i < shell.calls.size(); ++i) {
      count += shell.calls[i].command == TrayCommand::Modify;
    }
    return count;
  }

  FakeTrayShell shell;
  QPointer<Reminders> reminders;
  std::uint32_t flasherHandle = 0;
};

TEST_F(RemindersWindow, LoadPutsTheTOIconInTheTrayWhileTheWindowStaysHidden) {
  open();
  EXPECT_FALSE(reminders->isVisible());
  EXPECT_EQ(reminders->windowTitle(), " Pellwick");
  EXPECT_EQ(control<QLineEdit>("Text1")->text(), "To Do:");
  EXPECT_EQ(box()->text(), "1000");
  ASSERT_EQ(shell.calls.size(), 1u);  // only the add: the box already held "1000"
  EXPECT_EQ(shell.calls[0].command, TrayCommand::Add);
  ASSERT_TRUE(shell.hasIcon(flasherHandle));
  EXPECT_EQ(shell.icons.at({flasherHandle, 1}).hIcon, pictureHandle(shell, "flash_to.ico"));
  EXPECT_NE(flasherHandle, windowHandle(*reminders));
  EXPECT_EQ(reminders->formSys()->interval(), 1000);
  EXPECT_FALSE(reminders->formSys()->isVisible());
  EXPECT_FALSE(control<QTimer>("TmrMoon")->isActive());

  std::vector<QImage> moons;  // eight different pictures
  for (int i = 0; i < 8; ++i) {
    const QImage moon =
        control<QLabel>(qPrintable(QString("PICMOON%1").arg(i)))->pixmap().toImage();
    ASSERT_FALSE(moon.isNull()) << i;
    for (const QImage& earlier : moons) EXPECT_NE(moon, earlier) << i;
    moons.push_back(moon);
  }
}

TEST_F(RemindersWindow, TheTimerAlternatesTOAndDO) {
  open();
  box()->setText("20");
  const auto from = shell.calls.size();
  ASSERT_TRUE(QTest::qWaitFor([&] { return modifyCallsSince(from) >= 4; }, 5000));
  const std::uint32_t to = pictureHandle(shell, "flash_to.ico");
  const std::uint32_t do_ = pictureHandle(shell, "flash_do.ico");
  std::uint32_t previous = shell.calls[from - 1].data.hIcon;
  for (std::size_t i = from; i < shell.calls.size(); ++i) {
    const std::uint32_t shown = shell.calls[i].data.hIcon;
    EXPECT_TRUE(shown == to || shown == do_);
    EXPECT_NE(shown, previous) << "call " << i;
    previous = shown;
  }
}

TEST_F(RemindersWindow, TheBoxSetsTheFlashersInterval) {
  open();
  QLineEdit* interval = box();
  auto* timer = reminders->formSys()->findChild<QTimer*>("TmrFlash");
  ASSERT_NE(timer, nullptr);

  interval->selectAll();
  QTest::keyClicks(interval, "250");
  EXPECT_EQ(interval->text(), "250");
  EXPECT_EQ(reminders->formSys()->interval(), 250);
  EXPECT_EQ(timer->interval(), 250);

  QTest::keyClicks(interval, "a");
  EXPECT_EQ(interval->text(), "250");

  interval->setText("-100");  // refused by the flasher: the box keeps it, the flasher its 250
  EXPECT_EQ(interval->text(), "-100");
  EXPECT_EQ(reminders->formSys()->interval(), 250);
  EXPECT_TRUE(timer->isActive());

  interval->setText(" 1 2 ");
  EXPECT_EQ(interval->text(), "12");
  EXPECT_EQ(reminders->formSys()->interval(), 12);

  for (const char* frozen : {"", "40000"}) {
    interval->setText("250");
    interval->setText(frozen);
    EXPECT_EQ(interval->text(), "0") << frozen;
    EXPECT_EQ(reminders->formSys()->interval(), 0) << frozen;
    EXPECT_FALSE(timer->isActive()) << frozen;
    EXPECT_TRUE(shell.hasIcon(flasherHandle));
  }
}

TEST_F(RemindersWindow, HideAndALeftClickOnTheIconBringBackTheSameLines) {
  open();
  reminders->bringToFront();
  control<QLineEdit>("Text2")->setText("buy milk");
  control<QLineEdit>("Text4")->setText("call Anna");
  QTest::mouseClick(control<QPushButton>("CmdExit"), Qt::LeftButton);
  EXPECT_FALSE(reminders->isVisible());
  EXPECT_TRUE(shell.hasIcon(flasherHandle));

  shell.click(flasherHandle, 513);
  EXPECT_FALSE(reminders->isVisible());
  shell.click(flasherHandle, 514);
  ASSERT_TRUE(reminders->isVisible());
  EXPECT_EQ(control<QLineEdit>("Text2")->text(), "buy milk");
  EXPECT_EQ(control<QLineEdit>("Text4")->text(), "call Anna");
}

TEST_F(RemindersWindow, ClosingTakesTheIconOutAndReopeningStartsFresh) {
  open();
  reminders->bringToFront();
  control<QLineEdit>("Text2")->setText("buy milk");
  box()->setText("300");
  QPointer<FlashControl> flasher = reminders->formSys();
  const std::uint32_t firstHandle = flasherHandle;

  reminders->close();
  runDeferredDeletes();
  EXPECT_TRUE(reminders.isNull());
  EXPECT_TRUE(flasher.isNull());
  EXPECT_TRUE(shell.icons.empty());
  EXPECT_TRUE(shell.listeners.empty());
  EXPECT_EQ(shell.calls.back().command, TrayCommand::Delete);
  shell.click(firstHandle, 514);  // a late click on the old icon reaches nobody

  open();
  EXPECT_TRUE(shell.hasIcon(flasherHandle));
  EXPECT_EQ(shell.icons.size(), 1u);
  EXPECT_EQ(control<QLineEdit>("Text2")->text(), "");
  EXPECT_EQ(box()->text(), "1000");
  EXPECT_EQ(reminders->formSys()->interval(), 1000);
}

TEST_F(RemindersWindow, DeletingTheWindowTakesTheIconOutAtOnce) {
  // what the program does at exit, with no event loop left to run
  open();
  delete reminders.data();
  EXPECT_TRUE(shell.icons.empty());
  EXPECT_TRUE(shell.listeners.empty());
}

TEST(FlashControlWindow, NotifiesAndLeavesWhenItsOwnerUnloads) {
  FakeTrayShell shell;
  int shows = 0;
  QPointer<FlashControl> flasher = new FlashControl(shell, [&] { ++shows; });
  const std::uint32_t handle = windowHandle(*flasher);
  QSignalSpy mouse(flasher.data(), &FlashControl::TrayMouse);
  QSignalSpy changes(flasher.data(), &FlashControl::IconChanged);

  shell.click(handle, 1024);
  shell.click(handle, 514);
  ASSERT_EQ(mouse.count(), 2);
  EXPECT_EQ(mouse[0][0].toString(), "OTHER....: 1024");
  EXPECT_EQ(mouse[1][0].toString(), "LBUTTONUP");
  EXPECT_EQ(shows, 1);

  flasher->setTrayIcon(std::string("DEFAULT"));
  ASSERT_EQ(changes.count(), 1);
  EXPECT_EQ(changes[0][0].value<FlashControl*>(), flasher.data());

  auto* owner = new QObject;
  flasher->setFSys(owner);
  delete owner;
  EXPECT_FALSE(shell.hasIcon(handle));  // the icon goes first,
  EXPECT_FALSE(flasher.isNull());
  runDeferredDeletes();
  EXPECT_TRUE(flasher.isNull());  // then the flasher
}

}  // namespace
}  // namespace pellwick

// The application lives as long as the tests, and no longer; off screen even when the
// tests are only being listed.
int main(int argc, char* argv[]) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
