#include "flasher/controls_form.h"

#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "resources/built_in_pictures.h"
#include "tray_host/frm_sys_tray.h"
#include "tray_host/program_windows.h"

namespace pellwick {
namespace {

const QString kFlashTip = "Click anywhere to change";

IconPicture readPicture(const QString& name) {
  QFile file(builtInPicturePath(name));
  IconPicture picture;
  if (file.open(QIODevice::ReadOnly)) picture.file = file.readAll();
  picture.icon = QIcon(file.fileName());
  return picture;
}

QString pictureName(int index) {
  return index == 0 ? QStringLiteral("dayC.ico") : QString("day%1.ico").arg(index);
}

QLabel* flashPicture(const QString& name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setPixmap(QIcon(builtInPicturePath(name)).pixmap(32, 32));
  label->setToolTip(kFlashTip);
  return label;
}

}  // namespace

void ClickableImage::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
  QLabel::mouseReleaseEvent(event);
}

ControlsForm::ControlsForm(ProgramWindows& windows) : HiddenWindow("Form1"), windows_(windows) {
  for (int index = 0; index < kPictureCount; ++index) {
    pictures_[static_cast<std::size_t>(index)] = readPicture(pictureName(index));
  }
  auto* layout = new QVBoxLayout(this);
  layOutImages(*layout);
  layOutChooser(*layout);
  layOutFlashPictures(*layout);
  FrameInterval = new QGroupBox("Interval", this);
  TxtInterval = new QLineEdit(FrameInterval);
  (new QHBoxLayout(FrameInterval))->addWidget(TxtInterval);
  layout->addWidget(FrameInterval);
  CmdExit = new QPushButton("Exit", this);
  connect(CmdExit, &QPushButton::clicked, this, [this] { windows_.unloadControlsForm(); });
  layout->addWidget(CmdExit);
  adjustSize();
}

void ControlsForm::layOutImages(QVBoxLayout& layout) {
  constexpr int kColumns = 8;
  auto* images = new QGridLayout;
  layout.addLayout(images);
  for (int index = 0; index < kPictureCount; ++index) {
    auto* image = new ClickableImage(this);
    image->setPixmap(chooserPicture(index).icon.pixmap(32, 32));
    images->addWidget(image, index / kColumns, index % kColumns);
    connect(image, &ClickableImage::clicked, this,
            [this, index] { CmdSetIcon[static_cast<std::size_t>(index)]->click(); });
    Icon[static_cast<std::size_t>(index)] = image;
  }
}

void ControlsForm::layOutChooser(QVBoxLayout& layout) {
  // Frame 0 holds C and 1..10, frame 1 holds 11..21, frame 2 holds 22..31.
  constexpr std::array<int, 3> kFirstInFrame{0, 11, 22};
  for (std::size_t frame = 0; frame < FrameSetIcon.size(); ++frame) {
    FrameSetIcon[frame] = new QGroupBox(this);
    new QHBoxLayout(FrameSetIcon[frame]);
    layout.addWidget(FrameSetIcon[frame]);
  }
  for (int index = 0; index < kPictureCount; ++index) {
    const std::size_t frame = index >= kFirstInFrame[2] ? 2 : index >= kFirstInFrame[1] ? 1 : 0;
    auto* button =
        new QPushButton(index == 0 ? QString("C") : QString::number(index), FrameSetIcon[frame]);
    if (index != 2 && index != 3) {  // the buttons "2" and "3" show their number alone
      button->setIcon(chooserPicture(index).icon);
      button->setIconSize(QSize(32, 32));
    }
    connect(button, &QPushButton::clicked, this, [this, index] { setIcon(index); });
    FrameSetIcon[frame]->layout()->addWidget(button);
    CmdSetIcon[static_cast<std::size_t>(index)] = button;
  }
}

void ControlsForm::layOutFlashPictures(QVBoxLayout& layout) {
  FrameChangeFlashIcons = new QGroupBox("Change Flash Icons", this);
  FrameChangeFlashIcons->setToolTip(kFlashTip);
  Flash1 = flashPicture("storeflash1.ico", FrameChangeFlashIcons);
  Flash2 = flashPicture("storeflash2.ico", FrameChangeFlashIcons);
  PicDummy = flashPicture("storeflash2.ico", FrameChangeFlashIcons);
  auto* row = new QHBoxLayout(FrameChangeFlashIcons);
  for (QLabel* picture : {Flash1, Flash2, PicDummy}) row->addWidget(picture);
  layout.addWidget(FrameChangeFlashIcons);
}

void ControlsForm::load() {
  if (!windows_.passesSingleInstanceTest()) return;
  const QRect desktop = screen()->geometry();
  const auto left = static_cast<float>(desktop.width() / 2.0 - width() / 2.0);
  const auto top = static_cast<float>(desktop.height() / 2.0 - height() / 2.0);
  move(qRound(left), qRound(top));
  TxtInterval->setText("1000");
}

const IconPicture& ControlsForm::dayPicture(int day) const {
  return chooserPicture(day >= 1 && day < kPictureCount ? day : 0);
}

const IconPicture& ControlsForm::chooserPicture(int index) const {
  return pictures_.at(static_cast<std::size_t>(index));
}

void ControlsForm::setIcon(int index) {
  if (index < 0 || index >= kPictureCount || FormSys == nullptr) return;
  FormSys->setWindowIcon(chooserPicture(index).icon);
}

}  // namespace pellwick
