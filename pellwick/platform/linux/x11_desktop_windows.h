#pragma once
// The desktop's windows on X11: Xlib on a connection of our own, with the window
// manager's EWMH hints where it gives them. What it learns about the root window and the
// foreground window it keeps until an X event says it changed; events are taken when the
// foreground window is asked for, as each tick does first. X errors on its connection
// (a window that vanished between two calls) are absorbed, never fatal.

#include <memory>

#include "platform/desktop_windows.h"

namespace pellwick {
namespace x11 {
class WindowCache;
}

class X11DesktopWindows : public DesktopWindows {
 public:
  // Connects to `displayName`, or to $DISPLAY when null. Where no display can be opened
  // (a pure Wayland session), available() is false and every window is "none".
  explicit X11DesktopWindows(const char* displayName = nullptr);
  ~X11DesktopWindows() override;
  X11DesktopWindows(const X11DesktopWindows&) = delete;
  X11DesktopWindows& operator=(const X11DesktopWindows&) = delete;

  bool available() const override;
  // _NET_ACTIVE_WINDOW while an EWMH window manager runs; otherwise the top-level client
  // that holds the input focus.
  WindowId foregroundWindow() override;
  // _NET_WM_STATE_HIDDEN or WM_STATE Iconic.
  bool isMinimised(WindowId window) override;
  // _NET_WM_NAME, else WM_NAME in whatever encoding it has; `stored` holds both with their
  // types. A title that cannot be read as text whole (bytes that are not UTF-8, or a
  // COMPOUND_TEXT that Xlib cannot convert) comes as its bytes taken for Latin-1, and one
  // longer than 64 KiB not at all; neither is rewritable. The focused window's title is read
  // again only after it changed.
  WindowTitle title(WindowId window) override;
  // Writes WM_NAME (STRING or COMPOUND_TEXT), and _NET_WM_NAME (UTF-8) where the window
  // has one or WM_NAME cannot hold the text; a _NET_WM_NAME added so goes again once
  // WM_NAME holds the text. False, and nothing written, when the window is gone or its
  // title cannot be read as text.
  bool setCaption(WindowId window, const std::string& utf8) override;
  // A window may rename itself in one title property alone: the other keeps its own value.
  WindowTitle retitled(WindowId window, const WindowTitle& own, const std::string& written) override;
  // WM_NAME and _NET_WM_NAME each come back with their own value and type, where they still
  // hold what setCaption wrote.
  bool restoreTitle(WindowId window, const WindowTitle& own, const std::string& written) override;
  std::optional<int> clientWidth(WindowId window) override;

 private:
  std::unique_ptr<x11::WindowCache> x_;
};

}  // namespace pellwick
