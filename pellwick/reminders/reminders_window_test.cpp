#include "reminders/reminders_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "fakes/fake_tray_icons.h"
#include "resources/built_in_pictures.h"

namespace pellwick {
namespace {

using testing::FakeTrayIcon;
using testing::FakeTrayIcons;

QImage shown(const QIcon& icon) { return icon.pixmap(16, 16).toImage(); }
QImage builtIn(const char* fileName) { return shown(QIcon(builtInPicturePath(fileName))); }

class RemindersWindowTest : public ::testing::Test {
 protected:
  void TearDown() override { delete reminders.data(); }

  // As the application does: one window, brought up by the icon's left click.
  void open() {
    reminders = new RemindersWindow(tray, [this] { reminders->bringToFront(); });
  }
  FakeTrayIcon& icon() {
    EXPECT_EQ(tray.icons.size(), 1u);
    return *tray.icons.at(0);
  }
  QLineEdit* box() { return reminders->findChild<QLineEdit*>("interval"); }
  QList<QLineEdit*> lines() { return reminders->findChildren<QLineEdit*>(); }
  QPushButton* hideButton() {
    for (auto* button : reminders->findChildren<QPushButton*>()) {
      if (button->text() == "Hide") return button;
    }
    return nullptr;
  }

  FakeTrayIcons tray;
  QPointer<RemindersWindow> reminders;
};

TEST_F(RemindersWindowTest, OpeningPutsTheTOIconInTheTrayWhileTheWindowStaysHidden) {
  open();
  EXPECT_FALSE(reminders->isVisible());
  EXPECT_EQ(reminders->windowTitle(), " Pellwick");
  EXPECT_EQ(reminders->findChild<QLineEdit*>("heading")->text(), "To Do:");
  EXPECT_EQ(lines().size(), 5) << "the heading, three to-do lines, the interval box";
  EXPECT_EQ(box()->text(), "1000");
  ASSERT_TRUE(icon().isShown);
  EXPECT_EQ(shown(icon().picture), builtIn("flash_to.ico"));
  EXPECT_EQ(reminders->blinkingIcon().timer().interval(), 1000);
  EXPECT_TRUE(reminders->blinkingIcon().timer().isActive());

  std::vector<QImage> moons;  // eight different pictures
  for (const QLabel* label : reminders->findChildren<QLabel*>()) {
    if (label->pixmap().isNull()) continue;
    const QImage moon = label->pixmap().toImage();
    for (const QImage& earlier : moons) EXPECT_NE(moon, earlier);
    moons.push_back(moon);
  }
  EXPECT_EQ(moons.size(), 8u);
}

TEST_F(RemindersWindowTest, TheIconAlternatesTOAndDO) {
  open();
  box()->setText("20");
  ASSERT_TRUE(QTest::qWaitFor([&] { return icon().pictureChanges >= 5; }, 5000));
  EXPECT_EQ(shown(icon().picture),
            builtIn(reminders->blinkingIcon().showsDo() ? "flash_do.ico" : "flash_to.ico"));
  EXPECT_NE(builtIn("flash_do.ico"), builtIn("flash_to.ico"));
}

TEST_F(RemindersWindowTest, TheBoxSetsTheBlinkingInterval) {
  open();
  QLineEdit* interval = box();
  const QTimer& timer = reminders->blinkingIcon().timer();

  interval->selectAll();
  QTest::keyClicks(interval, "250");
  EXPECT_EQ(interval->text(), "250");
  EXPECT_EQ(timer.interval(), 250);

  QTest::keyClicks(interval, "a");
  EXPECT_EQ(interval->text(), "250");

  interval->setText("-100");  // refused by the icon: the box keeps it, the icon its 250
  EXPECT_EQ(interval->text(), "-100");
  EXPECT_EQ(timer.interval(), 250);
  EXPECT_TRUE(timer.isActive());

  interval->setText(" 1 2 ");
  EXPECT_EQ(interval->text(), "12");
  EXPECT_EQ(timer.interval(), 12);

  for (const char* frozen : {"", "40000"}) {
    interval->setText("250");
    interval->setText(frozen);
    EXPECT_EQ(interval->text(), "0") << frozen;
    EXPECT_FALSE(timer.isActive()) << frozen;
    EXPECT_TRUE(icon().isShown);
  }
}

TEST_F(RemindersWindowTest, HideAndALeftClickOnTheIconBringBackTheSameLines) {
  open();
  reminders->bringToFront();
  lines()[1]->setText("buy milk");
  lines()[3]->setText("call Anna");
  QTest::mouseClick(hideButton(), Qt::LeftButton);
  EXPECT_FALSE(reminders->isVisible());
  EXPECT_TRUE(icon().isShown);

  icon().click(MouseButton::Right);
  icon().doubleClick(MouseButton::Left);
  EXPECT_FALSE(reminders->isVisible());
  icon().click(MouseButton::Left);
  ASSERT_TRUE(reminders->isVisible());
  EXPECT_EQ(lines()[1]->text(), "buy milk");
  EXPECT_EQ(lines()[3]->text(), "call Anna");
}

TEST_F(RemindersWindowTest, ClosingTakesTheIconOutAndReopeningStartsFresh) {
  open();
  reminders->bringToFront();
  lines()[1]->setText("buy milk");
  box()->setText("300");

  reminders->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(reminders.isNull());
  EXPECT_TRUE(tray.icons.empty());

  open();
  EXPECT_TRUE(icon().isShown);
  EXPECT_EQ(lines()[1]->text(), "");
  EXPECT_EQ(box()->text(), "1000");
  EXPECT_EQ(reminders->blinkingIcon().timer().interval(), 1000);
}

TEST_F(RemindersWindowTest, DeletingTheWindowTakesTheIconOutAtOnce) {
  // what the program does at exit, with no event loop left to run
  open();
  delete reminders.data();
  EXPECT_TRUE(tray.icons.empty());
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
