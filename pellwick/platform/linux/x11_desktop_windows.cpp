#include "platform/linux/x11_desktop_windows.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string>

// Last: Xlib's macros (None, Bool, Status) clash with Qt.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

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

// A window's title as text; `readable` is false when its bytes could not be read as text
// without loss, and then `text` stands for them but must never be written back.
struct Caption {
  std::string text;
  bool readable = true;
};

// Bytes of no known encoding, taken one byte for one character: always valid UTF-8.
std::string asLatin1(const unsigned char* bytes, unsigned long count) {
  std::string text;
  for (unsigned long i = 0; i < count; ++i) {
    const unsigned char byte = bytes[i];
    if (byte < 0x80) {
      text += static_cast<char>(byte);
    } else {
      text += static_cast<char>(0xC0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}

// Invalid sequences would come back from QString as replacement characters.
bool isUtf8(const std::string& text) {
  const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
  return QString::fromUtf8(bytes).toUtf8() == bytes;
}

// In 32-bit units: all of any real property.
constexpr long kWholeProperty = 0x1fffffff;
// How deep below a window manager's frame its client window may lie.
constexpr int kFrameDepth = 3;

struct Atoms {
  explicit Atoms(Display* display) {
    auto intern = [display](const char* name) { return XInternAtom(display, name, False); };
    netActiveWindow = intern("_NET_ACTIVE_WINDOW");
    netSupportingWmCheck = intern("_NET_SUPPORTING_WM_CHECK");
    netWmState = intern("_NET_WM_STATE");
    netWmStateHidden = intern("_NET_WM_STATE_HIDDEN");
    wmState = intern("WM_STATE");
    netWmName = intern("_NET_WM_NAME");
    utf8String = intern("UTF8_STRING");
  }
  Atom netActiveWindow;
  Atom netSupportingWmCheck;
  Atom netWmState;
  Atom netWmStateHidden;
  Atom wmState;
  Atom netWmName;
  Atom utf8String;
};

// The questions we ask the X server, each answered by one round trip or a few.
class XQueries {
 public:
  explicit XQueries(Display* display)
      : atoms(display), display_(display), root_(DefaultRootWindow(display)) {}

  const Atoms atoms;

  Display* display() const { return display_; }
  Window root() const { return root_; }

  // Events on `window` from now on reach nextEvent().
  void listen(Window window, long mask) { XSelectInput(display_, window, mask); }
  // An event that has arrived, without waiting for one.
  bool nextEvent(XEvent& event) {
    if (XPending(display_) == 0) return false;
    XNextEvent(display_, &event);
    return true;
  }

  // An EWMH window manager names a check window on the root that names itself. We listen
  // for the end of that window before we trust it.
  // None when no such manager runs.
  Window ewmhCheckWindow() {
    auto check = readWindow(root_, atoms.netSupportingWmCheck);
    if (!check || *check == None) return None;
    listen(*check, StructureNotifyMask);
    if (readWindow(*check, atoms.netSupportingWmCheck) == check) return *check;
    listen(*check, NoEventMask);
    return None;
  }

  Window activeWindow() { return readWindow(root_, atoms.netActiveWindow).value_or(None); }

  Window focusedClient() {
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(display_, &focus, &revertTo);
    if (focus == static_cast<Window>(PointerRoot)) focus = topLevelUnderPointer();
    if (focus == None || focus == root_) return None;
    return clientOf(focus);
  }

  bool minimised(Window window) {
    if (auto state = read(window, atoms.wmState, atoms.wmState);
        state && state->format == 32 && state->count > 0 && state->longs()[0] == IconicState) {
      return true;
    }
    auto netState = read(window, atoms.netWmState, XA_ATOM);
    if (!netState || netState->format != 32) return false;
    const long* states = netState->longs();
    const long* end = states + netState->count;
    return std::find(states, end, static_cast<long>(atoms.netWmStateHidden)) != end;
  }

  Caption caption(Window window) {
    if (auto name = read(window, atoms.netWmName, atoms.utf8String); name && name->format == 8) {
      std::string text(reinterpret_cast<const char*>(name->data.get()), name->count);
      if (isUtf8(text)) return {std::move(text), true};
      return {asLatin1(name->data.get(), name->count), false};
    }
    return wmName(window);
  }

  // WM_NAME always; _NET_WM_NAME where the window has one or WM_NAME cannot hold the text.
  // A window that keeps its name in WM_NAME alone stays so: a _NET_WM_NAME we had to add
  // goes again as soon as WM_NAME holds the whole caption (as when its own comes back), so
  // that its later titles in WM_NAME are never hidden behind ours.
  bool setCaption(Window window, const std::string& utf8) {
    const unsigned long errorsBefore = ErrorTrap::errors(display_);
    const bool windowsOwnNetWmName = hasNetWmNameOfItsOwn(window);
    if (!writeWmName(window, utf8) || windowsOwnNetWmName) {
      XChangeProperty(display_, window, atoms.netWmName, atoms.utf8String, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(utf8.data()),
                      static_cast<int>(utf8.size()));
      if (!windowsOwnNetWmName) addedNetWmNames_[window] = utf8;
    } else if (addedNetWmNames_.erase(window) > 0) {
      XDeleteProperty(display_, window, atoms.netWmName);
    }
    XSync(display_, False);
    if (ErrorTrap::errors(display_) == errorsBefore) return true;
    addedNetWmNames_.erase(window);
    return false;
  }

  // The window is gone: nothing of ours is left on it.
  void forget(Window window) { addedNetWmNames_.erase(window); }

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

  // A _NET_WM_NAME that the window set itself, not one we added (or it replaced ours since).
  bool hasNetWmNameOfItsOwn(Window window) {
    const auto added = addedNetWmNames_.find(window);
    if (added == addedNetWmNames_.end()) return hasProperty(window, atoms.netWmName);
    auto name = read(window, atoms.netWmName, atoms.utf8String);
    if (name && name->format == 8 &&
        std::string(reinterpret_cast<const char*>(name->data.get()), name->count) ==
            added->second) {
      return false;
    }
    addedNetWmNames_.erase(added);
    return name.has_value();
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
    while (!hasProperty(current, atoms.wmState)) {
      auto parent = parentOf(current);
      if (!parent) return None;
      if (*parent == root_ || *parent == None) {
        return clientBelow(current, kFrameDepth).value_or(current);
      }
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
      if (hasProperty(children[i], atoms.wmState)) return children[i];
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

  // WM_NAME in whatever encoding it has; unreadable when Xlib cannot convert all of it.
  Caption wmName(Window window) {
    XTextProperty text{};
    if (!XGetTextProperty(display_, window, &text, XA_WM_NAME)) return {};
    std::unique_ptr<unsigned char, XFreeDeleter> owned(text.value);
    char** list = nullptr;
    int count = 0;
    const int unconverted = Xutf8TextPropertyToTextList(display_, &text, &list, &count);
    if (unconverted != Success || !list) {
      if (list) XFreeStringList(list);
      return {asLatin1(text.value, text.nitems), false};
    }
    Caption name;
    for (int i = 0; i < count; ++i) name.text += list[i];
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

  Display* display_;
  Window root_;
  // Windows we gave a _NET_WM_NAME they did not have, with what we wrote there.
  std::map<Window, std::string> addedNetWmNames_;
};

}  // namespace

// Answers from what the server told us last about the root and about the window last
// found in the foreground; events on them say when an answer has to be asked again. A
// tick on an unchanged desktop so costs no round trip.
class X11DesktopWindows::Connection {
 public:
  explicit Connection(Display* display) : x_(display) {
    ErrorTrap::watch(display);
    x_.listen(x_.root(), PropertyChangeMask);
  }
  ~Connection() {
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

  Caption caption(Window window) {
    if (!isWatched(window)) return x_.caption(window);
    if (!watched_.caption) watched_.caption = x_.caption(window);
    return *watched_.caption;
  }

  // A title that cannot be read as text is left as it is: never written back altered.
  bool setCaption(Window window, const std::string& utf8) {
    return caption(window).readable && x_.setCaption(window, utf8);
  }

  std::optional<int> width(Window window) {
    return isWatched(window) ? watched_.width : x_.width(window);
  }

 private:
  struct Watched {
    Window window = None;
    std::optional<int> width;
    std::optional<bool> minimised;
    std::optional<Caption> caption;
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

  bool isWatched(Window window) {
    takeEvents();
    return window != None && window == watched_.window;
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
      if (property == x_.atoms.netWmName || property == XA_WM_NAME) watched_.caption.reset();
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
  return x_ && window != 0 ? x_->caption(window).text : std::string();
}

bool X11DesktopWindows::setCaption(WindowId window, const std::string& utf8) {
  return x_ && window != 0 && x_->setCaption(window, utf8);
}

std::optional<int> X11DesktopWindows::clientWidth(WindowId window) {
  if (!x_ || window == 0) return std::nullopt;
  return x_->width(window);
}

}  // namespace pellwick
