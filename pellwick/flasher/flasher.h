#pragma once
// The blinking TO / DO tray icon, without any window: what the hidden flasher window does
// on load, on each tick of its timer, when its properties are written and when its owner
// unloads. The window supplies the timer and turns the handlers into its notifications.

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

// The values `TrayIcon` accepts:
// a picture box or an image, with its picture (none when it holds none);
struct PictureHolder {
  std::optional<IconFile> picture;
};
// any other object, with its icon (none when it has none);
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

  // `Interval` in milliseconds; 0 holds the current picture. A negative value is refused:
  // false, and nothing changes and nothing is sent.
  [[nodiscard]] bool setInterval(std::int16_t milliseconds);
  // Nothing when the interval exceeds 16 bits (an overflow).
  std::optional<std::int16_t> interval() const;

  // `TrayIcon`: a picture or another object's icon stays put; text resumes blinking; so
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
