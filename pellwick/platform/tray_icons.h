#pragma once
// Icons in the desktop's notification area.

#include <functional>
#include <memory>

class QIcon;
class QMenu;

namespace pellwick {

enum class MouseButton { Left, Right, Middle };

// What a platform saw on an icon, before it reports it.
struct TrayClick {
  MouseButton button;
  bool doubleClick = false;
  bool operator==(const TrayClick&) const = default;
};

// One icon; destroying it takes it out of the notification area.
class TrayIcon {
 public:
  struct Clicks {
    std::function<void(MouseButton)> clicked;        // a button released over the icon
    std::function<void(MouseButton)> doubleClicked;  // the second press of a double click
  };

  virtual ~TrayIcon() = default;

  // The picture; an icon that is not shown yet keeps it for show().
  virtual void setIcon(const QIcon& icon) = 0;
  // Puts the icon into the notification area, now or as soon as there is one.
  virtual void show() = 0;
  // The menu a right click opens; null: none. The menu must outlive the icon.
  virtual void setMenu(QMenu* menu) = 0;
};

class TrayIcons {
 public:
  virtual ~TrayIcons() = default;

  // A new icon, not shown yet. Its clicks are reported on the user-interface thread; a
  // handler may destroy the icon.
  virtual std::unique_ptr<TrayIcon> createIcon(TrayIcon::Clicks clicks) = 0;
  // Whether the desktop has a notification area to show icons in now.
  virtual bool available() const = 0;
};

}  // namespace pellwick
