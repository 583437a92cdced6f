#pragma once
// The blinking TO / DO tray icon, without any window: what happens when the icon is set
// up, on each tick, when its interval or picture is set and when its owner goes away. The
// hidden FlashControl window supplies the timer and turns the handlers into its signals.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/tray_shell.h"

namespace pellwick {

// A picture as the flasher keeps it: a whole Windows icon file.
using IconFile = std::vector<std::uint8_t>;

// What setTrayIcon() can be given:
// a widget that shows a picture, with that picture (none when it shows none);
struct PictureHolder {
  std::optional<IconFile> picture;
};
// a window, with its window icon (none when it has none);
struct IconHolder {
  std::optional<IconFile> icon;
};
// or a text: "DEFAULT" in any letter case, or the name of a picture file.
using TrayIconValue = std::variant<PictureHolder, IconHolder, std::string>;

class Flasher {
 public:
  struct Handlers {
    std::function<void(const std::string& name)> trayMouse;  // every mouse code on the icon
    std::function<void()> iconChanged;                       // the shown picture was set
    std::function<void()> showReminders;                     // a left click on the icon
    std::function<void(int period)> restartTimer;            // ms between ticks; 0 stops them
  };

  // The icon is filed under (`owner`, 1); `flash1` shows TO and `flash2` DO.
  Flasher(TrayShell& shell, std::uint32_t owner, const IconFile& flash1, const IconFile& flash2,
          Handlers handlers);
  // Takes the icon out of the tray if it is still there.
  ~Flasher();
  Flasher(const Flasher&) = delete;
  Flasher& operator=(const Flasher&) = delete;

  // Shows TO, adds the icon and starts the ticks.
  void load();
  // Switches between TO and DO.
  void tick();

  // Milliseconds between TO and DO; 0 holds the current picture. A negative value is refused:
  // false, and nothing changes and nothing is sent.
  [[nodiscard]] bool setInterval(std::int16_t milliseconds);
  // Nothing when the interval exceeds 16 bits (an overflow).
  std::optional<std::int16_t> interval() const;

  // Shows a picture or a window's icon and holds it still; a text resumes blinking, and so
  // does any failure (a missing or unreadable picture).
  void setTrayIcon(const TrayIconValue& value);

  // The owner unloads: the icon leaves the tray and the ticks stop.
  void ownerUnloaded();

  // The handle of the picture shown, and the time between ticks (0: not ticking).
  std::uint32_t icon() const { return icon_; }
  int tickPeriod() const { return timerEnabled_ && interval_ > 0 ? interval_ : 0; }

 private:
  void notifyTrayIcon(TrayCommand action);
  void mouse(std::uint32_t code);
  void iconChanged();
  void restartTimer();
  void withdraw();

  TrayShell& shell_;
  const std::uint32_t owner_;
  const std::uint32_t flash1_;
  const std::uint32_t flash2_;
  Handlers handlers_;
  NotifyIconData record_;
  std::uint32_t icon_ = 0;
  std::int16_t phase_ = 0;  // 0 or -1, inverted on every tick
  bool timerEnabled_ = false;
  int interval_ = 1000;
  bool inTray_ = false;
};

}  // namespace pellwick
