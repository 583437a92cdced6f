#include "platform/linux/x11_desktop_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace pellwick {
namespace {

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

struct XFreeDeleter {
  void operator()(void* data) const {
    if (data) XFree(data);
  }
};

// A property as the server holds it.
struct Property {
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  std::unique_ptr<unsigned char, XFreeDeleter> data;

  // The items of a 32-bit property, which Xlib hands out as longs.
  const long* longs() const { return reinterpret_cast<const long*>(data.get()); }
};

// In 32-bit units: all of any real property.
constexpr long kWholeProperty = 0x1fffffff;
// How deep below a window manager's frame its client window may lie.
constexpr int kFrameDepth = 3;

}  // namespace

class X11DesktopWindows::Connection {
 public:
  explicit Connection(Display* display) : display_(display), root_(DefaultRootWindow(display)) {
    ErrorTrap::watch(display_);
  }
  ~Connection() {
    ErrorTrap::unwatch(display_);
    XCloseDisplay(display_);
  }

  Window foregroundWindow() {
    if (ewmhManagerRunning()) {
      if (auto active = readWindow(root_, netActiveWindow_)) return *active;
    }
    return focusedClient();
  }

  bool isMinimised(Window window) {
    if (auto state = read(window, wmState_, wmState_);
        state && state->format == 32 && state->count > 0 && state->longs()[0] == IconicState) {
      return true;
    }
    auto netState = read(window, netWmState_, XA_ATOM);
    if (!netState || netState->format != 32) return false;
    const long* atoms = netState->longs();
    return std::find(atoms, atoms + netState->count, static_cast<long>(netWmStateHidden_)) !=
           atoms + netState->count;
  }

  std::string caption(Window window) {
    if (auto name = read(window, netWmName_, utf8String_); name && name->format == 8) {
      return std::string(reinterpret_cast<const char*>(name->data.get()), name->count);
    }
    return wmName(window);
  }

  // WM_NAME always; _NET_WM_NAME where the window has one or WM_NAME cannot hold the text.
  // A window that keeps its name in WM_NAME alone stays so, and its own later titles are
  // not hidden behind a _NET_WM_NAME of ours.
  bool setCaption(Window window, const std::string& utf8) {
    const unsigned long errorsBefore = ErrorTrap::errors(display_);
    const bool hadNetWmName = hasProperty(window, netWmName_);
    if (!writeWmName(window, utf8) || hadNetWmName) {
      XChangeProperty(display_, window, netWmName_, utf8String_, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(utf8.data()),
                      static_cast<int>(utf8.size()));
    }
    XSync(display_, False);
    return ErrorTrap::errors(display_) == errorsBefore;
  }

  std::optional<int> width(Window window) {
    Window root;
    int x, y;
    unsigned int width, height, border, depth;
    if (!XGetGeometry(display_, window, &root, &x, &y, &width, &height, &border, &depth)) {
      return std::nullopt;
    }
    return static_cast<int>(width);
  }

 private:
  // Nothing when the property is absent, of another type, or the window is gone.
  std::optional<Property> read(Window window, Atom property, Atom type) {
    Property result;
    unsigned long bytesAfter = 0;
    unsigned char* data = nullptr;
    const int status =
        XGetWindowProperty(display_, window, property, 0, kWholeProperty, False, type, &result.type,
                           &result.format, &result.count, &bytesAfter, &data);
    result.data.reset(data);
    if (status != Success || result.type == None) return std::nullopt;
    if (type != AnyPropertyType && result.type != type) return std::nullopt;
    return result;
  }

  std::optional<Window> readWindow(Window window, Atom property) {
    auto value = read(window, property, XA_WINDOW);
    if (!value || value->format != 32 || value->count == 0) return std::nullopt;
    return static_cast<Window>(value->longs()[0]);
  }

  // An EWMH window manager names a check window that names itself. We watch that window
  // for its end, so that while it lives no tick pays for asking again.
  bool ewmhManagerRunning() {
    forgetEndedCheckWindow();
    if (wmCheck_ != None) return true;
    auto check = readWindow(root_, netSupportingWmCheck_);
    if (!check || *check == None) return false;
    XSelectInput(display_, *check, StructureNotifyMask);
    if (readWindow(*check, netSupportingWmCheck_) != check) {
      XSelectInput(display_, *check, NoEventMask);
      return false;
    }
    wmCheck_ = *check;
    return true;
  }

  void forgetEndedCheckWindow() {
    while (XPending(display_) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
      if (event.type == DestroyNotify && event.xdestroywindow.window == wmCheck_) {
        wmCheck_ = None;
      }
    }
  }

  Window focusedClient() {
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(display_, &focus, &revertTo);
    if (focus == static_cast<Window>(PointerRoot)) focus = topLevelUnderPointer();
    if (focus == None || focus == root_) return None;
    return clientOf(focus);
  }

  Window topLevelUnderPointer() {
    Window root, child = None;
    int rootX, rootY, x, y;
    unsigned int buttons;
    XQueryPointer(display_, root_, &root, &child, &rootX, &rootY, &x, &y, &buttons);
    return child;
  }

  // The window a window manager marked as a client (WM_STATE), found above `window` or
  // below the top-level window that holds it; without a window manager, that top level.
  Window clientOf(Window window) {
    Window current = window;
    while (!hasWmState(current)) {
      auto parent = parentOf(current);
      if (!parent) return None;
      if (*parent == root_ || *parent == None)
        return clientBelow(current, kFrameDepth).value_or(current);
      current = *parent;
    }
    return current;
  }

  std::optional<Window> clientBelow(Window window, int depth) {
    if (depth == 0) return std::nullopt;
    Window root, parent;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, window, &root, &parent, &children, &count)) return std::nullopt;
    std::unique_ptr<Window, XFreeDeleter> owned(children);
    for (unsigned int i = 0; i < count; ++i) {
      if (hasWmState(children[i])) return children[i];
    }
    for (unsigned int i = 0; i < count; ++i) {
      if (auto client = clientBelow(children[i], depth - 1)) return client;
    }
    return std::nullopt;
  }

  std::optional<Window> parentOf(Window window) {
    Window root, parent;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, window, &root, &parent, &children, &count)) return std::nullopt;
    if (children) XFree(children);
    return parent;
  }

  bool hasProperty(Window window, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, bytesAfter = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display_, window, property, 0, 0, False, AnyPropertyType,
                                          &type, &format, &count, &bytesAfter, &data);
    if (data) XFree(data);
    return status == Success && type != None;
  }

  bool hasWmState(Window window) { return hasProperty(window, wmState_); }

  std::string wmName(Window window) {
    XTextProperty text{};
    if (!XGetTextProperty(display_, window, &text, XA_WM_NAME)) return {};
    std::unique_ptr<unsigned char, XFreeDeleter> owned(text.value);
    char** list = nullptr;
    int count = 0;
    if (Xutf8TextPropertyToTextList(display_, &text, &list, &count) < Success || !list) {
      return std::string(reinterpret_cast<const char*>(text.value), text.nitems);
    }
    std::string name;
    for (int i = 0; i < count; ++i) name += list[i];
    XFreeStringList(list);
    return name;
  }

  // STRING where Latin-1 holds the text, else COMPOUND_TEXT with what it can hold. True
  // when nothing was lost.
  bool writeWmName(Window window, const std::string& utf8) {
    char* list[] = {const_cast<char*>(utf8.c_str())};
    XTextProperty text{};
    const int unconverted = Xutf8TextListToTextProperty(display_, list, 1, XStdICCTextStyle, &text);
    if (unconverted < Success) return false;
    XSetTextProperty(display_, window, &text, XA_WM_NAME);
    XFree(text.value);
    return unconverted == Success;
  }

  Atom intern(const char* name) { return XInternAtom(display_, name, False); }

  Display* display_;
  Window root_;
  Window wmCheck_ = None;  // the EWMH window manager's check window, while it lives
  Atom netActiveWindow_ = intern("_NET_ACTIVE_WINDOW");
  Atom netSupportingWmCheck_ = intern("_NET_SUPPORTING_WM_CHECK");
  Atom netWmState_ = intern("_NET_WM_STATE");
  Atom netWmStateHidden_ = intern("_NET_WM_STATE_HIDDEN");
  Atom wmState_ = intern("WM_STATE");
  Atom netWmName_ = intern("_NET_WM_NAME");
  Atom utf8String_ = intern("UTF8_STRING");
};

X11DesktopWindows::X11DesktopWindows(const char* displayName) {
  if (Display* display = XOpenDisplay(displayName)) x_ = std::make_unique<Connection>(display);
}

X11DesktopWindows::~X11DesktopWindows() = default;

bool X11DesktopWindows::available() const { return x_ != nullptr; }

WindowId X11DesktopWindows::foregroundWindow() { return x_ ? x_->foregroundWindow() : 0; }

bool X11DesktopWindows::isMinimised(WindowId window) {
  return x_ && window != 0 && x_->isMinimised(window);
}

std::string X11DesktopWindows::caption(WindowId window) {
  return x_ && window != 0 ? x_->caption(window) : std::string();
}

bool X11DesktopWindows::setCaption(WindowId window, const std::string& utf8) {
  return x_ && window != 0 && x_->setCaption(window, utf8);
}

std::optional<int> X11DesktopWindows::clientWidth(WindowId window) {
  if (!x_ || window == 0) return std::nullopt;
  return x_->width(window);
}

}  // namespace pellwick
