#pragma once
// `Reminders`: a few to-do lines, announced by the blinking TO / DO tray icon it owns.

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

#include "flasher/flash_control.h"
#include "platform/tray_shell.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace pellwick {

class Reminders : public QWidget {
  Q_OBJECT

 public:
  // Creates and loads the window, hidden until shown: a new flasher puts its blinking
  // icon into the tray at once. `showReminders` shows the program-wide reminders window;
  // the flasher calls it when the icon is clicked with the left button.
  // Closing the window deletes it (it unloads), and its flasher takes the icon out of the
  // tray; deleting the window does the same at once.
  Reminders(TrayShell& trayShell, std::function<void()> showReminders);

  // `FormSys`: the flasher this window owns.
  FlashControl* formSys() const { return FormSys; }

  // Shows the window modeless, restored if it was minimised, raised and activated.
  void bringToFront();

 private:
  void buildControls();
  void TxtInterval_Change();

  QLineEdit* Text1;
  std::array<QLineEdit*, 3> toDoLines;  // Text2, Text3, Text4
  QGroupBox* FrameInterval;
  QLineEdit* TxtInterval;
  QGroupBox* FrameMoon;
  std::array<QLabel*, 8> PICMOON;
  QTimer* TmrMoon;
  QPushButton* CmdExit;
  QPointer<FlashControl> FormSys;
};

}  // namespace pellwick
