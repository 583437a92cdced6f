#pragma once
// The reminders window: a few to-do lines, announced by the blinking TO / DO tray icon it
// owns. The icon enters the tray with the window, which stays hidden until shown, and
// leaves the tray with it. Closing the window deletes it.

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "platform/tray_icons.h"
#include "reminders/blinking_tray_icon.h"

class QLineEdit;

namespace pellwick {

class RemindersWindow : public QWidget {
  Q_OBJECT

 public:
  // A left click on the icon calls `iconClicked`.
  RemindersWindow(TrayIcons& trayIcons, std::function<void()> iconClicked);
  ~RemindersWindow() override;

  // Shows the window modeless, restored if it was minimised, raised and activated.
  void bringToFront();

  BlinkingTrayIcon& blinkingIcon() { return *blinkingIcon_; }

 private:
  void buildControls();
  void intervalEdited();

  std::array<QLineEdit*, 3> toDoLines_{};
  QLineEdit* intervalBox_ = nullptr;
  std::unique_ptr<BlinkingTrayIcon> blinkingIcon_;
};

}  // namespace pellwick
