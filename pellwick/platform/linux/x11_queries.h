#pragma once
// The questions Pellwick asks the X server about windows and their properties, each
// answered by one round trip or a few. Include after any Qt header: Xlib's macros clash.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace pellwick::x11 {

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
std::string asLatin1(const unsigned char* bytes, unsigned long count);
// Invalid sequences would come back from QString as replacement characters.
bool isUtf8(const std::string& text);

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
  bool nextEvent(XEvent& event);

  // An EWMH window manager names a check window on the root that names itself. We listen
  // for the end of that window before we trust it.
  // None when no such manager runs.
  Window ewmhCheckWindow();

  Window activeWindow() { return readWindow(root_, atoms.netActiveWindow).value_or(None); }

  Window focusedClient();

  bool minimised(Window window);

  Caption caption(Window window);

  // WM_NAME always; _NET_WM_NAME where the window has one or WM_NAME cannot hold the text.
  // A window that keeps its name in WM_NAME alone stays so: a _NET_WM_NAME we had to add
  // goes again as soon as WM_NAME holds the whole caption (as when its own comes back), so
  // that its later titles in WM_NAME are never hidden behind ours.
  bool setCaption(Window window, const std::string& utf8);

  // The window is gone: nothing of ours is left on it.
  void forget(Window window) { addedNetWmNames_.erase(window); }

  std::optional<int> width(Window window);

 private:
  // Nothing when the property is absent, of another type, or the window is gone.
  std::optional<Property> read(Window window, Atom property, Atom type);

  std::optional<Window> readWindow(Window window, Atom property);

  // A _NET_WM_NAME that the window set itself, not one we added (or it replaced ours since).
  bool hasNetWmNameOfItsOwn(Window window);

  bool hasProperty(Window window, Atom property);

  Window topLevelUnderPointer();

  // The window a window manager marked as a client (WM_STATE), found above `window` or
  // below the top-level window that holds it; without a window manager, that top level.
  Window clientOf(Window window);

  std::optional<Window> clientBelow(Window window, int depth);

  std::optional<Window> parentOf(Window window);

  // WM_NAME in whatever encoding it has; unreadable when Xlib cannot convert all of it.
  Caption wmName(Window window);

  // STRING where Latin-1 holds the text, else COMPOUND_TEXT with what it can hold. True
  // when nothing was lost.
  bool writeWmName(Window window, const std::string& utf8);

  Display* display_;
  Window root_;
  // Windows we gave a _NET_WM_NAME they did not have, with what we wrote there.
  std::map<Window, std::string> addedNetWmNames_;
};

}  // namespace pellwick::x11
