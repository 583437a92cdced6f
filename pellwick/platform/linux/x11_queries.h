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

#include "platform/desktop_windows.h"

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

// Title properties longer than this are not read whole: such a title is never rewritten.
inline constexpr unsigned long kTitleCap = 64 * 1024;

// A title property as the server holds it: its type (None: absent) and its bytes.
struct TitleProperty {
  Atom type = None;
  std::string bytes;
  bool operator==(const TitleProperty&) const = default;
};

// The two properties that name a window, each with its own type.
struct TitleProperties {
  TitleProperty wmName;
  TitleProperty netWmName;
};

// The properties as one string (WindowTitle::stored) and back. Atoms and windows keep
// their numbers while the X server runs, so a later connection reads them alike.
std::string packTitle(const TitleProperties& title);
std::optional<TitleProperties> unpackTitle(const std::string& packed);

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

  // _NET_WM_NAME where it is UTF-8, else WM_NAME in whatever encoding it has. Not
  // rewritable when a property is longer than kTitleCap, or its bytes could not be read as
  // text without loss (then `text` stands for them, taken for Latin-1).
  WindowTitle title(Window window);

  // WM_NAME always; _NET_WM_NAME where the window has one or WM_NAME cannot hold the text.
  // A window that keeps its name in WM_NAME alone stays so: a _NET_WM_NAME we had to add
  // goes again as soon as WM_NAME holds the whole caption (as when its own comes back), so
  // that its later titles in WM_NAME are never hidden behind ours.
  bool setCaption(Window window, const std::string& utf8);

  // Each property of `title` that holds what setCaption(window, written) put there takes
  // its value in `own` instead. True when one did.
  bool keepOwnWhereWritten(TitleProperties& title, const TitleProperties& own,
                           const std::string& written);

  // Each title property that still holds what setCaption(window, written) put there gets
  // its `own` value and type back (an `own` that was absent: the property goes). False when
  // none held it, or the window is gone.
  bool restoreTitle(Window window, const TitleProperties& own, const std::string& written);

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

  // At most kTitleCap bytes of a title property: nothing when it is longer or not made of
  // bytes; an absent property (or window) has type None.
  std::optional<TitleProperty> readTitleProperty(Window window, Atom property);
  std::optional<TitleProperties> readTitle(Window window);

  // WM_NAME's bytes as text; unreadable when Xlib cannot convert all of them.
  WindowTitle wmNameText(const TitleProperty& wmName);

  // WM_NAME for the text: STRING where Latin-1 holds it, else COMPOUND_TEXT with what it
  // can hold; `lossless` is false when something was left out. Nothing when Xlib fails.
  std::optional<TitleProperty> wmNameFor(const std::string& utf8, bool* lossless = nullptr);

  // Writes the property as it is, or deletes it when absent.
  void put(Window window, Atom property, const TitleProperty& value);

  Display* display_;
  Window root_;
  // Windows we gave a _NET_WM_NAME they did not have, with what we wrote there.
  std::map<Window, std::string> addedNetWmNames_;
};

}  // namespace pellwick::x11
