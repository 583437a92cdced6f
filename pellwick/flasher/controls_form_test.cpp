#include "flasher/controls_form.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTest>
#include <set>

#include "tray_host/program_fixture.h"

namespace pellwick {
namespace {

// The first image of an icon file.
QImage firstImage(QByteArray file) {
  QBuffer buffer(&file);
  return QImageReader(&buffer, "ico").read();
}

class ControlsFormTest : public testing::ProgramFixture {
 protected:
  ControlsForm& form() { return windows->controlsForm(); }
};

TEST_F(ControlsFormTest, HoldsThirtyTwoDifferentStoredPictures) {
  std::set<QByteArray> files;
  for (int index = 0; index < ControlsForm::kPictureCount; ++index) {
    const IconPicture& picture = form().chooserPicture(index);
    // The classic 32 x 32 picture first, then sharp ones for trays and scaled screens.
    QFile classic(index == 0 ? ":/pictures/dayC.ico" : QString(":/pictures/day%1.ico").arg(index));
    ASSERT_TRUE(classic.open(QIODevice::ReadOnly));
    EXPECT_EQ(firstImage(picture.file), firstImage(classic.readAll())) << index;
    EXPECT_EQ(picture.icon.availableSizes(),
              QList<QSize>({{32, 32}, {16, 16}, {24, 24}, {48, 48}, {64, 64}, {128, 128}}))
        << index;
    files.insert(picture.file);
  }
  EXPECT_EQ(files.size(), 32u);
  EXPECT_EQ(form().dayPicture(1).file, form().chooserPicture(1).file);
  EXPECT_EQ(form().dayPicture(31).file, form().chooserPicture(31).file);
}

TEST_F(ControlsFormTest, IsCreatedHiddenByTheFirstPictureReadAndLoadedOnce) {
  EXPECT_FALSE(windows->hasControlsForm());
  trayTick();
  ASSERT_TRUE(windows->hasControlsForm());
  const int checks = singleInstance->checks;
  form().dayPicture(1);
  form().dayPicture(31);
  trayTick();
  EXPECT_EQ(singleInstance->checks, checks) << "the load step ran once";
  EXPECT_FALSE(form().isVisible());
  EXPECT_EQ(form().TxtInterval->text(), "1000");
  EXPECT_EQ(form().windowTitle(), "Form1");
}

TEST_F(ControlsFormTest, ChooserIsLaidOutAsDrawn) {
  for (int index = 0; index < ControlsForm::kPictureCount; ++index) {
    const QPushButton* button = form().CmdSetIcon[static_cast<std::size_t>(index)];
    EXPECT_EQ(button->text(), index == 0 ? QString("C") : QString::number(index));
    EXPECT_EQ(button->icon().isNull(), index == 2 || index == 3) << index;
  }
  const std::array<int, 3> buttonsPerFrame{11, 11, 10};
  for (std::size_t frame = 0; frame < 3; ++frame) {
    EXPECT_EQ(form().FrameSetIcon[frame]->findChildren<QPushButton*>().size(),
              buttonsPerFrame[frame]);
    EXPECT_TRUE(form().FrameSetIcon[frame]->title().isEmpty());
  }
  EXPECT_EQ(form().CmdSetIcon[10]->parentWidget(), form().FrameSetIcon[0]);
  EXPECT_EQ(form().CmdSetIcon[22]->parentWidget(), form().FrameSetIcon[2]);
  EXPECT_EQ(form().CmdExit->text(), "Exit");
  EXPECT_EQ(form().FrameChangeFlashIcons->title(), "Change Flash Icons");
  for (QWidget* tipped :
       {static_cast<QWidget*>(form().FrameChangeFlashIcons), static_cast<QWidget*>(form().Flash1),
        static_cast<QWidget*>(form().Flash2), static_cast<QWidget*>(form().PicDummy)}) {
    EXPECT_EQ(tipped->toolTip(), "Click anywhere to change");
  }
  EXPECT_NE(form().Flash1->pixmap().toImage(), form().Flash2->pixmap().toImage());
  EXPECT_EQ(form().PicDummy->pixmap().toImage(), form().Flash2->pixmap().toImage());
  EXPECT_EQ(form().FrameInterval->title(), "Interval");
}

TEST_F(ControlsFormTest, AClickOnAPictureSetsThatPictureOnFormSys) {
  FrmSysTray& host = windows->frmSysTray();
  form().FormSys = &host;
  QTest::mouseClick(form().Icon[7], Qt::LeftButton);
  EXPECT_EQ(host.windowIcon().cacheKey(), form().chooserPicture(7).icon.cacheKey());
  QTest::mouseClick(form().Icon[0], Qt::LeftButton);
  EXPECT_EQ(host.windowIcon().cacheKey(), form().chooserPicture(0).icon.cacheKey());
  form().setIcon(32);
  form().setIcon(-1);
  EXPECT_EQ(host.windowIcon().cacheKey(), form().chooserPicture(0).icon.cacheKey());
}

TEST_F(ControlsFormTest, WithoutFormSysAClickDoesNothing) {
  trayTick();
  const qint64 before = windows->frmSysTray().windowIcon().cacheKey();
  QTest::mouseClick(form().Icon[7], Qt::LeftButton);
  form().CmdSetIcon[12]->click();
  EXPECT_EQ(windows->frmSysTray().windowIcon().cacheKey(), before);
}

TEST_F(ControlsFormTest, ExitUnloadsItAndTheNextReadLoadsItAgain) {
  form().TxtInterval->setText("250");
  const int checks = singleInstance->checks;
  form().CmdExit->click();
  EXPECT_FALSE(windows->hasControlsForm());
  EXPECT_EQ(form().TxtInterval->text(), "1000");
  EXPECT_EQ(singleInstance->checks, checks + 1);
}

}  // namespace
}  // namespace pellwick
