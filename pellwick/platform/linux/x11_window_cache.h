#pragma once
// The desktop's windows as one connection of ours last saw them. Include after any Qt
// header: Xlib's macros clash.

#include "platform/linux/x11_error_trap.h"
#include "platform/linux/x11_queries.h"

namespace pellwick::x11 {

// What the server told us last about the root and about the window last
// found in the foreground; events on them say when an answer has to be asked again. They
// are taken once a tick, when it asks for the foreground window: a tick on an unchanged
// desktop so costs no round trip and a single look at the connection.
class WindowCache {
 public:
  explicit WindowCache(Display* display) : x_(display) {
    ErrorTrap::watch(display);
    x_.listen(x_.root(), PropertyChangeMask);
  }
  ~WindowCache() {
    Display* display = x_.display();
    XCloseDisplay(display);  // still trapped: its last errors must not end the program
    ErrorTrap::unwatch(display);
  }

  Window foregroundWindow() {
    takeEvents();
    if (!wmCheck_) wmCheck_ = x_.ewmhCheckWindow();
    Window window = None;
    if (*wmCheck_ != None) {
      if (!activeWindow_) activeWindow_ = x_.activeWindow();
      window = *activeWindow_;
    }
    if (window == None) window = x_.focusedClient();
    watch(window);
    return window;
  }

  bool isMinimised(Window window) {
    if (!isWatched(window)) return x_.minimised(window);
    if (!watched_.minimised) watched_.minimised = x_.minimised(window);
    return *watched_.minimised;
  }

  // Read again only after the window says its title changed.
  WindowTitle title(Window window) {
    if (!isWatched(window)) return x_.title(window);
    if (!watched_.title) watched_.title = x_.title(window);
    return *watched_.title;
  }

  // A title that cannot be read as text is left as it is: never written back altered.
  bool setCaption(Window window, const std::string& utf8) {
    if (!title(window).rewritable) return false;
    forgetTitle(window);
    return x_.setCaption(window, utf8);
  }

  bool keepOwnWhereWritten(TitleProperties& title, const TitleProperties& own,
                           const std::string& written) {
    return x_.keepOwnWhereWritten(title, own, written);
  }

  bool restoreTitle(Window window, const TitleProperties& own, const std::string& written) {
    forgetTitle(window);
    return x_.restoreTitle(window, own, written);
  }

  std::optional<int> width(Window window) {
    return isWatched(window) ? watched_.width : x_.width(window);
  }

 private:
  struct Watched {
    Window window = None;
    std::optional<int> width;
    std::optional<bool> minimised;
    std::optional<WindowTitle> title;
  };

  void watch(Window window) {
    if (window == watched_.window) return;
    if (watched_.window != None) x_.listen(watched_.window, NoEventMask);
    watched_ = Watched{};
    if (window == None) return;
    x_.listen(window, PropertyChangeMask | StructureNotifyMask);
    // Asked after we listen: a window that answers will also tell us of its end.
    if (auto width = x_.width(window)) {
      watched_.window = window;
      watched_.width = width;
    }
  }

  bool isWatched(Window window) const { return window != None && window == watched_.window; }

  // Our own writes: the title is read again at once, not only after their events.
  void forgetTitle(Window window) {
    if (isWatched(window)) watched_.title.reset();
  }

  void takeEvents() {
    XEvent event;
    while (x_.nextEvent(event)) {
      switch (event.type) {
        case PropertyNotify:
          forgetProperty(event.xproperty.window, event.xproperty.atom);
          break;
        case ConfigureNotify:
          if (event.xconfigure.window == watched_.window) watched_.width = event.xconfigure.width;
          break;
        case DestroyNotify:
          forgetWindow(event.xdestroywindow.window);
          break;
      }
    }
  }

  void forgetProperty(Window window, Atom property) {
    if (window == x_.root()) {
      if (property == x_.atoms.netActiveWindow) activeWindow_.reset();
      if (property == x_.atoms.netSupportingWmCheck) wmCheck_.reset();
    } else if (window == watched_.window) {
      if (property == x_.atoms.wmState || property == x_.atoms.netWmState) {
        watched_.minimised.reset();
      }
      if (property == x_.atoms.netWmName || property == XA_WM_NAME) watched_.title.reset();
    }
  }

  void forgetWindow(Window window) {
    x_.forget(window);
    if (window == watched_.window) watched_ = Watched{};
    if (window == wmCheck_) {
      wmCheck_.reset();
      activeWindow_.reset();
    }
  }

  XQueries x_;
  std::optional<Window> wmCheck_;       // the EWMH manager's check window; None: none runs
  std::optional<Window> activeWindow_;  // None when the manager names none
  Watched watched_;
};

}  // namespace pellwick::x11
