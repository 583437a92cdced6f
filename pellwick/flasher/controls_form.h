#pragma once
// The icon store: a hidden window that holds the 31 day pictures and the C picture, which
// the tray icon and the window icons take from it. Around them sits a chooser (a button per
// picture, flash pictures, an interval) that no menu shows.

#include <QByteArray>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <cstdint>
#include <span>

#include "tray_host/hidden_window.h"

namespace pellwick {

class FrmSysTray;
class ProgramWindows;

// A picture as the shell takes it (the icon file) and as Qt shows it.
struct IconPicture {
  QByteArray file;
  QIcon icon;

  std::span<const std::uint8_t> bytes() const {
    return {reinterpret_cast<const std::uint8_t*>(file.constData()),
            static_cast<std::size_t>(file.size())};
  }
};

// An image that reports clicks.
class ClickableImage : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

class ControlsForm : public HiddenWindow {
  Q_OBJECT

 public:
  static constexpr int kPictureCount = 32;  // C, then the days 1..31

  explicit ControlsForm(ProgramWindows& windows);

  void load();

  // Icon<day> for a day of the month; IconC for no day (an invalid date).
  const IconPicture& dayPicture(int day) const;
  // IconC for 0, Icon<index> for 1..31.
  const IconPicture& chooserPicture(int index) const;

  // Sets the window icon of FormSys to the chooser picture `index`; nothing without FormSys.
  void setIcon(int index);

  // The window whose icon the chooser sets; while it is null the chooser changes nothing.
  // Nothing in Pellwick sets it, so the day icon always follows the date.
  FrmSysTray* FormSys = nullptr;

  std::array<ClickableImage*, kPictureCount> Icon{};  // Icon[0] is IconC
  std::array<QPushButton*, kPictureCount> CmdSetIcon{};
  std::array<QGroupBox*, 3> FrameSetIcon{};
  QPushButton* CmdExit;
  QGroupBox* FrameChangeFlashIcons;
  QLabel* Flash1;
  QLabel* Flash2;
  QLabel* PicDummy;
  QGroupBox* FrameInterval;
  QLineEdit* TxtInterval;

 private:
  void layOutImages(QVBoxLayout& layout);
  void layOutChooser(QVBoxLayout& layout);
  void layOutFlashPictures(QVBoxLayout& layout);

  ProgramWindows& windows_;
  std::array<IconPicture, kPictureCount> pictures_;
};

}  // namespace pellwick
