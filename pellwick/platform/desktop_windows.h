#pragma once
// Top-level windows of any program on the desktop, as the title-bar clock sees them.

#include <cstdint>
#include <optional>
#include <string>

namespace pellwick {

// A native window: an X11 Window or a Win32 HWND. 0 is no window.
using WindowId = std::uint64_t;

class DesktopWindows {
 public:
  virtual ~DesktopWindows() = default;

  // False where there is no desktop whose windows can be reached (e.g. pure Wayland).
  virtual bool available() const = 0;
  // The window that has the focus; 0 when none.
  virtual WindowId foregroundWindow() = 0;
  virtual bool isMinimised(WindowId window) = 0;
  // The whole caption as UTF-8; empty when the window has none or is gone.
  virtual std::string caption(WindowId window) = 0;
  // False when the window is gone.
  virtual bool setCaption(WindowId window, const std::string& utf8) = 0;
  // Width of the client area in pixels; nothing when the window is gone.
  virtual std::optional<int> clientWidth(WindowId window) = 0;
};

}  // namespace pellwick
