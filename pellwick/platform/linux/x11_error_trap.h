#pragma once
// Xlib's one protocol-error handler for the whole process, shared by our connections.

// Last: Xlib's macros clash with Qt.
#include <X11/Xlib.h>

#include <map>

namespace pellwick::x11 {

// Xlib hands every protocol error to one handler for the whole process. Ours counts the
// errors on our own connections, where a window may vanish between two calls, and passes
// the others on to the handler that was there before.
class ErrorTrap {
 public:
  static void watch(Display* display) {
    ErrorTrap& trap = instance();
    if (!trap.installed_) {
      trap.previous_ = XSetErrorHandler(&ErrorTrap::handle);
      trap.installed_ = true;
    }
    trap.counts_[display] = 0;
  }
  static void unwatch(Display* display) { instance().counts_.erase(display); }
  static unsigned long errors(Display* display) {
    auto own = instance().counts_.find(display);
    return own == instance().counts_.end() ? 0 : own->second;
  }

 private:
  static ErrorTrap& instance() {
    static ErrorTrap trap;
    return trap;
  }
  static int handle(Display* display, XErrorEvent* event) {
    ErrorTrap& trap = instance();
    auto own = trap.counts_.find(display);
    if (own != trap.counts_.end()) {
      ++own->second;
      return 0;
    }
    return trap.previous_ ? trap.previous_(display, event) : 0;
  }

  bool installed_ = false;
  XErrorHandler previous_ = nullptr;
  std::map<Display*, unsigned long> counts_;
};

}  // namespace pellwick::x11
