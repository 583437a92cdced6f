#include "platform/linux/x11_desktop_windows.h"

// Last: Xlib's macros (None, Bool, Status) clash with Qt.
#include "platform/linux/x11_window_cache.h"

namespace pellwick {

X11DesktopWindows::X11DesktopWindows(const char* displayName) {
  if (Display* display = XOpenDisplay(displayName))
    x_ = std::make_unique<x11::WindowCache>(display);
}

X11DesktopWindows::~X11DesktopWindows() = default;

bool X11DesktopWindows::available() const { return x_ != nullptr; }

WindowId X11DesktopWindows::foregroundWindow() { return x_ ? x_->foregroundWindow() : 0; }

bool X11DesktopWindows::isMinimised(WindowId window) {
  return x_ && window != 0 && x_->isMinimised(window);
}

WindowTitle X11DesktopWindows::title(WindowId window) {
  return x_ && window != 0 ? x_->title(window) : WindowTitle{};
}

bool X11DesktopWindows::setCaption(WindowId window, const std::string& utf8) {
  return x_ && window != 0 && x_->setCaption(window, utf8);
}

WindowTitle X11DesktopWindows::retitled(WindowId window, const WindowTitle& own,
                                        const std::string& written) {
  WindowTitle now = title(window);
  const auto ownProperties = x11::unpackTitle(own.stored);
  auto properties = x11::unpackTitle(now.stored);
  if (ownProperties && properties && x_->keepOwnWhereWritten(*properties, *ownProperties, written))
    now.stored = x11::packTitle(*properties);
  return now;
}

bool X11DesktopWindows::restoreTitle(WindowId window, const WindowTitle& own,
                                     const std::string& written) {
  if (!x_ || window == 0) return false;
  const auto properties = x11::unpackTitle(own.stored);
  return properties && x_->restoreTitle(window, *properties, written);
}

std::optional<int> X11DesktopWindows::clientWidth(WindowId window) {
  if (!x_ || window == 0) return std::nullopt;
  return x_->width(window);
}

}  // namespace pellwick
