#pragma once
// Top-level windows of any program on the desktop, as the title-bar clock sees them.

#include <cstdint>
#include <optional>
#include <string>

namespace pellwick {

// A native window: an X11 Window or a Win32 HWND. 0 is no window.
using WindowId = std::uint64_t;

// A window's title as read from the desktop. `text` is what the user reads (UTF-8);
// `stored` is how the window system holds it (on X11 each title property with its type),
// opaque outside the platform layer, so that the title can be given back exactly, also by a
// later run. A title that is not `rewritable` (it cannot be read as text whole, or is too
// long) is never written over.
struct WindowTitle {
  std::string text;
  std::string stored;
  bool rewritable = true;
};

class DesktopWindows {
 public:
  virtual ~DesktopWindows() = default;

  // False where there is no desktop whose windows can be reached (e.g. pure Wayland).
  virtual bool available() const = 0;
  // The window that has the focus; 0 when none.
  virtual WindowId foregroundWindow() = 0;
  virtual bool isMinimised(WindowId window) = 0;
  // The window's title; empty when the window has none or is gone.
  virtual WindowTitle title(WindowId window) = 0;
  std::string caption(WindowId window) { return title(window).text; }
  // Writes the whole caption as UTF-8. False when the window is gone.
  virtual bool setCaption(WindowId window, const std::string& utf8) = 0;
  // The window's own title after it retitled itself while it showed `written`, the caption
  // written over `own`: its title now, but a part of it that still shows `written` keeps
  // its part of `own`.
  virtual WindowTitle retitled(WindowId window, const WindowTitle& own,
                               const std::string& written) = 0;
  // Gives the window its `own` title back where it still shows `written`, the caption
  // written over it; a part of the title the window changed since is left as it is. False
  // when the window is gone or nothing of it still showed `written`.
  virtual bool restoreTitle(WindowId window, const WindowTitle& own,
                            const std::string& written) = 0;
  // Width of the client area in pixels; nothing when the window is gone.
  virtual std::optional<int> clientWidth(WindowId window) = 0;
};

}  // namespace pellwick
