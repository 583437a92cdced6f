// Runs on a real X desktop (tests/desktop/x11_desktop_windows.test.sh): with IceWM, and the
// WithoutWindowManager tests after IceWM has gone. The test's windows are made on a
// connection of its own, as another program's would be.

#include "platform/linux/x11_desktop_windows.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "title_clock/title_clock.h"

// Last: Xlib's macros (None, Bool, Status) clash with Qt and GoogleTest.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace pellwick {
namespace {

bool eventually(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

class X11Desktop : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(other, nullptr) << "no X display";
    ASSERT_TRUE(desktop.available());
  }
  void TearDown() override {
    for (auto w = made.rbegin(); w != made.rend(); ++w) XDestroyWindow(other, *w);
    XCloseDisplay(other);
  }

  Window make(int width = 300, Window parent = None) {
    Window w = XCreateSimpleWindow(other, parent ? parent : root, 0, 0, width, 200, 0, 0, 0);
    made.push_back(w);
    XSync(other, False);
    return w;
  }
  // Mapped and taken in by the window manager.
  Window managed(const char* name) {
    Window w = make();
    XStoreName(other, w, name);
    XMapWindow(other, w);
    XSync(other, False);
    EXPECT_TRUE(eventually([&] { return hasProperty(w, "WM_STATE"); })) << name;
    return w;
  }
  void activate(Window w) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = w;
    event.xclient.message_type = atom("_NET_ACTIVE_WINDOW");
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2;  // from a pager, which the window manager obeys
    XSendEvent(other, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XSync(other, False);
  }

  Atom atom(const char* name) { return XInternAtom(other, name, False); }
  bool hasProperty(Window w, const char* name) {
    int count = 0;
    Atom* atoms = XListProperties(other, w, &count);
    bool found = atoms && std::find(atoms, atoms + count, atom(name)) != atoms + count;
    if (atoms) XFree(atoms);
    return found;
  }
  void setLongs(Window w, const char* name, Atom type, std::vector<long> items) {
    XChangeProperty(other, w, atom(name), type, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(items.data()), static_cast<int>(items.size()));
    XSync(other, False);
  }
  void setWmNameLike(Window w, const char* utf8, XICCEncodingStyle style) {
    char* list[] = {const_cast<char*>(utf8)};
    XTextProperty text{};
    ASSERT_EQ(Xutf8TextListToTextProperty(other, list, 1, style, &text), Success);
    XSetWMName(other, w, &text);
    XFree(text.value);
    XSync(other, False);
  }
  void setRawWmName(Window w, const std::string& bytes, const char* type) {
    XChangeProperty(other, w, XA_WM_NAME, atom(type), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(bytes.data()),
                    static_cast<int>(bytes.size()));
    XSync(other, False);
  }
  // A property's type and bytes; "(none)" when absent.
  std::pair<std::string, std::string> rawProperty(Window w, const char* name) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(other, w, atom(name), 0, 1 << 20, False, AnyPropertyType, &type, &format,
                       &count, &after, &data);
    std::pair<std::string, std::string> value{"(none)", ""};
    if (type != None) {
      char* typeName = XGetAtomName(other, type);
      value = {typeName, std::string(reinterpret_cast<const char*>(data), count)};
      XFree(typeName);
    }
    if (data) XFree(data);
    return value;
  }
  void setRawProperty(Window w, const char* name, const char* type, const std::string& bytes,
                      int mode = PropModeReplace) {
    XChangeProperty(other, w, atom(name), atom(type), 8, mode,
                    reinterpret_cast<const unsigned char*>(bytes.data()),
                    static_cast<int>(bytes.size()));
    XSync(other, False);
  }
  std::string rawWmName(Window w) {
    XTextProperty text{};
    if (!XGetWMName(other, w, &text)) return "(none)";
    std::string bytes(reinterpret_cast<const char*>(text.value), text.nitems);
    XFree(text.value);
    return bytes;
  }
  std::string wmNameAsUtf8(Window w) {
    XTextProperty text{};
    if (!XGetWMName(other, w, &text)) return "(none)";
    char** list = nullptr;
    int count = 0;
    Xutf8TextPropertyToTextList(other, &text, &list, &count);
    std::string name = count > 0 ? list[0] : "";
    XFreeStringList(list);
    XFree(text.value);
    return name;
  }

  Display* other = XOpenDisplay(nullptr);
  Window root = other ? DefaultRootWindow(other) : None;
  std::vector<Window> made;
  X11DesktopWindows desktop;
};

TEST_F(X11Desktop, ForegroundIsTheWindowTheWindowManagerActivated) {
  Window a = managed("Alpha");
  Window b = managed("Beta");
  activate(a);
  EXPECT_TRUE(eventually([&] { return desktop.foregroundWindow() == a; }));
  activate(b);
  EXPECT_TRUE(eventually([&] { return desktop.foregroundWindow() == b; }));
}

// Each tick starts by asking for the foreground window; what changed on it shows from then on.
TEST_F(X11Desktop, ForegroundWindowIsFollowedThroughItsChanges) {
  Window a = managed("Alpha");
  activate(a);
  ASSERT_TRUE(eventually([&] { return desktop.foregroundWindow() == a; }));
  EXPECT_EQ(desktop.caption(a), "Alpha");
  XStoreName(other, a, "Alpha 2");
  XResizeWindow(other, a, 411, 200);
  XSync(other, False);
  auto atATick = [&](const std::function<bool()>& condition) {
    return eventually([&] {
      desktop.foregroundWindow();
      return condition();
    });
  };
  EXPECT_TRUE(atATick([&] { return desktop.caption(a) == "Alpha 2"; }));
  EXPECT_TRUE(atATick([&] { return desktop.clientWidth(a) == 411; }));
  XIconifyWindow(other, a, DefaultScreen(other));
  XSync(other, False);
  EXPECT_TRUE(atATick([&] { return desktop.isMinimised(a); }));
  XDestroyWindow(other, a);
  XSync(other, False);
  made.erase(std::find(made.begin(), made.end(), a));
  EXPECT_TRUE(atATick([&] { return !desktop.clientWidth(a) && desktop.caption(a).empty(); }));
}

TEST_F(X11Desktop, MinimisedFromWmStateOrHiddenHint) {
  Window a = managed("Alpha");
  EXPECT_FALSE(desktop.isMinimised(a));
  XIconifyWindow(other, a, DefaultScreen(other));
  XSync(other, False);
  EXPECT_TRUE(eventually([&] { return desktop.isMinimised(a); }));

  // Each hint alone, on windows no window manager looks after.
  Window iconic = make();
  setLongs(iconic, "WM_STATE", atom("WM_STATE"), {IconicState, None});
  Window hidden = make();
  setLongs(hidden, "_NET_WM_STATE", XA_ATOM,
           {long(atom("_NET_WM_STATE_ABOVE")), long(atom("_NET_WM_STATE_HIDDEN"))});
  Window above = make();
  setLongs(above, "_NET_WM_STATE", XA_ATOM, {long(atom("_NET_WM_STATE_ABOVE"))});
  EXPECT_TRUE(desktop.isMinimised(iconic));
  EXPECT_TRUE(desktop.isMinimised(hidden));
  EXPECT_FALSE(desktop.isMinimised(above));
}

TEST_F(X11Desktop, CaptionsReadBackWhole) {
  Window w = make();
  EXPECT_EQ(desktop.caption(w), "");
  std::string longCaption;
  for (int i = 0; i < 400; ++i) longCaption += "é";
  for (std::string caption :
       {"Café au lait", "Ελληνικά — 日本語 🙂", longCaption.c_str(), ""}) {
    ASSERT_TRUE(desktop.setCaption(w, caption));
    EXPECT_EQ(desktop.caption(w), caption);
  }
}

TEST_F(X11Desktop, WmNameGetsWhatItCanHoldAndNetWmNameTheRest) {
  // A window that names itself in WM_NAME alone keeps it that way while WM_NAME holds it all.
  Window legacy = make();
  setWmNameLike(legacy, "xterm", XStringStyle);
  ASSERT_TRUE(desktop.setCaption(legacy, "xterm        December 6"));
  EXPECT_EQ(wmNameAsUtf8(legacy), "xterm        December 6");
  EXPECT_FALSE(hasProperty(legacy, "_NET_WM_NAME"));
  ASSERT_TRUE(desktop.setCaption(legacy, "Café — Ελληνικά"));
  EXPECT_EQ(desktop.caption(legacy), "Café — Ελληνικά");
  EXPECT_EQ(wmNameAsUtf8(legacy), "Café  Ελληνικά");  // no em dash in compound text

  Window modern = make();
  ASSERT_TRUE(desktop.setCaption(modern, "日本語 🙂"));
  ASSERT_TRUE(desktop.setCaption(modern, "Café"));
  EXPECT_EQ(wmNameAsUtf8(modern), "Café");
  EXPECT_EQ(desktop.caption(modern), "Café");
}

TEST_F(X11Desktop, CaptionFromWmNameInAnyEncoding) {
  Window latin = make();
  setWmNameLike(latin, "Café", XStringStyle);
  Window compound = make();
  setWmNameLike(compound, "Ελληνικά 日本語", XCompoundTextStyle);
  EXPECT_EQ(desktop.caption(latin), "Café");
  EXPECT_EQ(desktop.caption(compound), "Ελληνικά 日本語");
}

TEST_F(X11Desktop, ClientWidthFollowsTheWindow) {
  Window w = make(333);
  EXPECT_EQ(desktop.clientWidth(w), 333);
  XResizeWindow(other, w, 517, 100);  // the window manager may carry it out a little later
  XSync(other, False);
  EXPECT_TRUE(eventually([&] { return desktop.clientWidth(w) == 517; }));
}

TEST_F(X11Desktop, VanishedWindowFailsQuietly) {
  Window gone = make();
  XDestroyWindow(other, gone);
  XSync(other, False);
  made.pop_back();
  EXPECT_FALSE(desktop.isMinimised(gone));
  EXPECT_EQ(desktop.caption(gone), "");
  EXPECT_FALSE(desktop.setCaption(gone, "Alpha"));
  EXPECT_EQ(desktop.clientWidth(gone), std::nullopt);
  Window alive = make();
  EXPECT_TRUE(desktop.setCaption(alive, "Alpha"));
}

TEST_F(X11Desktop, ClockRewritesAndRestoresRealCaptions) {
  TitleClock clock(desktop, 8, QLocale(QLocale::English, QLocale::UnitedStates));
  const QDateTime sunday(QDate(2026, 12, 6), QTime(14, 5));
  const DisplaySettings shortDate{DisplayMode::ShortDate};
  Window a = managed("Alpha");
  Window b = managed("Beta");
  activate(a);
  ASSERT_TRUE(eventually([&] { return desktop.foregroundWindow() == a; }));
  clock.tick(shortDate, sunday);
  EXPECT_EQ(desktop.caption(a), "Alpha        December 6");
  EXPECT_EQ(wmNameAsUtf8(a), "Alpha        December 6");
  activate(b);
  ASSERT_TRUE(eventually([&] { return desktop.foregroundWindow() == b; }));
  clock.tick(shortDate, sunday);
  EXPECT_EQ(desktop.caption(a), "Alpha");
  EXPECT_EQ(desktop.caption(b), "Beta        December 6");
  clock.restoreLastCaption();
  EXPECT_EQ(desktop.caption(b), "Beta");
}

// A window that names itself in WM_NAME alone gets a _NET_WM_NAME from us only while its
// caption holds more than WM_NAME can; when its own caption comes back, ours goes, so its
// later titles in WM_NAME show again. One it set itself stays.
TEST_F(X11Desktop, ANetWmNameWeAddedGoesWhenTheOwnCaptionComesBack) {
  Window a = managed("Alpha");
  ASSERT_TRUE(desktop.setCaption(a, "Alpha — 6"));  // no compound text holds the dash
  EXPECT_TRUE(hasProperty(a, "_NET_WM_NAME"));
  ASSERT_TRUE(desktop.setCaption(a, "Alpha"));
  EXPECT_FALSE(hasProperty(a, "_NET_WM_NAME"));
  XStoreName(other, a, "Alpha 2");
  XSync(other, False);
  EXPECT_EQ(desktop.caption(a), "Alpha 2");

  ASSERT_TRUE(desktop.setCaption(a, "Alpha — 7"));
  XChangeProperty(other, a, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>("Alpha 3"), 7);
  XSync(other, False);
  ASSERT_TRUE(desktop.setCaption(a, "Alpha 2"));
  EXPECT_EQ(desktop.caption(a), "Alpha 2") << "the window's own _NET_WM_NAME is kept up";
  EXPECT_TRUE(hasProperty(a, "_NET_WM_NAME"));
}

// Titles that cannot be read as text whole are never written, so never come back altered.
TEST_F(X11Desktop, ATitleThatCannotBeReadIsLeftAsItIs) {
  const std::string unknownCharset = "Notes \x1b(Zabc";  // a 94-set Xlib does not know
  const std::string notUtf8 = "Notes \xff\xfe";
  TitleClock clock(desktop, 8, QLocale(QLocale::English, QLocale::UnitedStates));
  const QDateTime sunday(QDate(2026, 12, 6), QTime(14, 5));
  const DisplaySettings shortDate{DisplayMode::ShortDate};
  Window compound = managed("Compound");
  setRawWmName(compound, unknownCharset, "COMPOUND_TEXT");
  Window broken = managed("Broken");
  XChangeProperty(other, broken, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(notUtf8.data()),
                  static_cast<int>(notUtf8.size()));
  Window plain = managed("Plain");
  for (Window w : {compound, broken, plain}) {
    activate(w);
    ASSERT_TRUE(eventually([&] { return desktop.foregroundWindow() == w; }));
    clock.tick(shortDate, sunday);
    clock.tick(shortDate, sunday);
  }
  EXPECT_EQ(desktop.caption(plain), "Plain        December 6");
  EXPECT_EQ(rawWmName(compound), unknownCharset);
  EXPECT_FALSE(hasProperty(compound, "_NET_WM_NAME"));
  EXPECT_EQ(wmNameAsUtf8(broken), "Broken");
  EXPECT_FALSE(desktop.setCaption(compound, "Notes"));
  EXPECT_FALSE(desktop.setCaption(broken, "Broken"));
  EXPECT_EQ(rawWmName(compound), unknownCharset);
}

// Each title property comes back with its own bytes and type after the clock dated the
// window, where the two differ as where they agree, and also when a new run gives back
// what a killed one left (the own title as the record keeps it).
TEST_F(X11Desktop, BothTitlePropertiesComeBackAsTheyWere) {
  struct Names {
    std::pair<std::string, std::string> wmName, netWmName;
  };
  const std::pair<std::string, std::string> none{"(none)", ""};
  const Names cases[] = {
      {{"STRING", "Gamma legacy"}, {"UTF8_STRING", "Gamma modern ☃ ünï"}},
      {{"STRING", "Caf\xe9"}, none},
      {{"UTF8_STRING", "Delta ☃"}, none},
      {{"COMPOUND_TEXT", "Epsilon"}, {"UTF8_STRING", "Epsilon ünï"}},
      {{"STRING", "Zeta"}, {"UTF8_STRING", "Zeta"}},
  };
  TitleClock clock(desktop, 8, QLocale(QLocale::English, QLocale::UnitedStates));
  const QDateTime sunday(QDate(2026, 12, 6), QTime(14, 5));
  const DisplaySettings shortDate{DisplayMode::ShortDate};
  Window b = managed("Beta");
  for (const Names& names : cases) {
    Window w = managed("Gamma");
    setRawProperty(w, "WM_NAME", names.wmName.first.c_str(), names.wmName.second);
    if (names.netWmName != none) {
      setRawProperty(w, "_NET_WM_NAME", names.netWmName.first.c_str(), names.netWmName.second);
    }
    const std::string own = desktop.caption(w);
    const WindowTitle ownTitle = desktop.title(w);
    auto comesBack = [&](const char* when) {
      EXPECT_EQ(rawProperty(w, "WM_NAME"), names.wmName) << when << " " << own;
      EXPECT_EQ(rawProperty(w, "_NET_WM_NAME"), names.netWmName) << when << " " << own;
    };
    activate(w);
    ASSERT_TRUE(eventually([&] { return desktop.foregroundWindow() == w; }));
    clock.tick(shortDate, sunday);
    ASSERT_EQ(desktop.caption(w), own + "        December 6");
    activate(b);
    ASSERT_TRUE(eventually([&] { return desktop.foregroundWindow() == b; }));
    clock.tick(shortDate, sunday);
    comesBack("after the focus moved on");

    activate(w);
    ASSERT_TRUE(eventually([&] { return desktop.foregroundWindow() == w; }));
    clock.tick(shortDate, sunday);
    clock.restoreLastCaption();
    comesBack("at the end");

    // Dated as a killed run left it; a new connection gives the title back.
    ASSERT_TRUE(desktop.setCaption(w, own + "        December 6"));
    X11DesktopWindows nextRun;
    EXPECT_TRUE(nextRun.restoreTitle(w, ownTitle, own + "        December 6"));
    comesBack("by the next run");
  }
}

// Only a property that still shows what the clock wrote is given back: one the window
// changed itself since keeps its new value.
TEST_F(X11Desktop, APropertyTheWindowChangedSinceIsLeftAlone) {
  Window w = managed("Gamma");
  setRawProperty(w, "_NET_WM_NAME", "UTF8_STRING", "Gamma modern ☃");
  const WindowTitle own = desktop.title(w);
  const std::string written = "Gamma modern ☃        December 6";
  ASSERT_TRUE(desktop.setCaption(w, written));
  setRawProperty(w, "WM_NAME", "STRING", "Gamma 2");
  EXPECT_TRUE(desktop.restoreTitle(w, own, written));
  EXPECT_EQ(rawProperty(w, "WM_NAME").second, "Gamma 2");
  EXPECT_EQ(rawProperty(w, "_NET_WM_NAME").second, "Gamma modern ☃");

  ASSERT_TRUE(desktop.setCaption(w, written));
  setRawProperty(w, "WM_NAME", "STRING", "Gamma 3");
  setRawProperty(w, "_NET_WM_NAME", "UTF8_STRING", "Gamma 3");
  EXPECT_FALSE(desktop.restoreTitle(w, own, written));
  EXPECT_EQ(desktop.caption(w), "Gamma 3");

  // Renamed in _NET_WM_NAME alone while dated: WM_NAME never keeps a dated text.
  TitleClock clock(desktop, 8, QLocale(QLocale::English, QLocale::UnitedStates));
  const QDateTime sunday(QDate(2026, 12, 6), QTime(14, 5));
  Window r = managed("Rho");
  setRawProperty(r, "WM_NAME", "STRING", "Rho legacy");
  setRawProperty(r, "_NET_WM_NAME", "UTF8_STRING", "Rho modern");
  activate(r);
  ASSERT_TRUE(eventually([&] { return desktop.foregroundWindow() == r; }));
  clock.tick({DisplayMode::ShortDate}, sunday);
  setRawProperty(r, "_NET_WM_NAME", "UTF8_STRING", "Rho renamed");
  ASSERT_TRUE(eventually([&] {
    desktop.foregroundWindow();
    return desktop.caption(r) == "Rho renamed";
  }));
  clock.tick({DisplayMode::ShortDate}, sunday);
  EXPECT_EQ(desktop.caption(r), "Rho renamed        December 6");
  clock.restoreLastCaption();
  EXPECT_EQ(rawProperty(r, "WM_NAME"), (std::pair<std::string, std::string>{"STRING", "Rho legacy"}));
  EXPECT_EQ(rawProperty(r, "_NET_WM_NAME").second, "Rho renamed");
}

TEST(X11WithoutDisplay, NothingIsReachedAndTheClockStaysQuiet) {
  X11DesktopWindows nowhere(":65534");
  EXPECT_FALSE(nowhere.available());
  EXPECT_EQ(nowhere.foregroundWindow(), 0u);
  EXPECT_EQ(nowhere.caption(0x400001), "");
  EXPECT_FALSE(nowhere.setCaption(0x400001, "Alpha"));
  TitleClock clock(nowhere);
  EXPECT_FALSE(clock.active());
}

using WithoutWindowManager = X11Desktop;

TEST_F(WithoutWindowManager, ForegroundIsTheClientHoldingTheInputFocus) {
  // A plain top-level window, focused on a child of its own.
  Window plain = make();
  Window inner = make(100, plain);
  XMapWindow(other, plain);
  XMapWindow(other, inner);
  XSync(other, False);
  // A client in a frame, as a window manager without EWMH reparents it.
  Window frame = make();
  Window client = make(100, frame);
  setLongs(client, "WM_STATE", atom("WM_STATE"), {NormalState, None});
  XMapWindow(other, frame);
  XMapWindow(other, client);
  XSync(other, False);

  for (auto [focus, expected] : {std::pair{inner, plain}, {plain, plain}, {frame, client}}) {
    XSetInputFocus(other, focus, RevertToParent, CurrentTime);
    XSync(other, False);
    EXPECT_EQ(desktop.foregroundWindow(), expected);
  }
}

TEST_F(WithoutWindowManager, ActiveWindowCountsOnlyWhileTheManagersCheckWindowLives) {
  Window focused = make();
  XMapWindow(other, focused);
  XSetInputFocus(other, focused, RevertToParent, CurrentTime);
  Window active = make();
  setLongs(root, "_NET_ACTIVE_WINDOW", XA_WINDOW, {long(active)});
  EXPECT_EQ(desktop.foregroundWindow(), focused);  // left behind: no manager names itself

  Window check = make();
  setLongs(check, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, {long(check)});
  setLongs(root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, {long(check)});
  EXPECT_EQ(desktop.foregroundWindow(), active);
  XDestroyWindow(other, check);
  XSync(other, False);
  made.erase(std::find(made.begin(), made.end(), check));
  EXPECT_TRUE(eventually([&] { return desktop.foregroundWindow() == focused; }));

  XDeleteProperty(other, root, atom("_NET_SUPPORTING_WM_CHECK"));
  XDeleteProperty(other, root, atom("_NET_ACTIVE_WINDOW"));
}

// A 50 MB title is never read whole, nor rewritten. (Without a window manager: IceWM reads
// such a title whole and ends.)
TEST_F(WithoutWindowManager, AHugeTitleCostsLittleAndIsLeftAlone) {
  // In as few requests as the server takes: appending copies the whole property each time.
  const long requestBytes = std::max(XExtendedMaxRequestSize(other), XMaxRequestSize(other)) * 4;
  const std::size_t title = 50u << 20;
  const std::string chunk(std::min<std::size_t>(title, requestBytes - 4096), 'x');
  Window huge = make();
  Window b = make();
  for (Window w : {huge, b}) XMapWindow(other, w);
  XStoreName(other, huge, "Huge");
  setRawProperty(huge, "_NET_WM_NAME", "UTF8_STRING", "");
  for (std::size_t size = 0; size < title; size += chunk.size()) {
    setRawProperty(huge, "_NET_WM_NAME", "UTF8_STRING", chunk.substr(0, title - size),
                   PropModeAppend);
  }
  rusage before{};
  getrusage(RUSAGE_SELF, &before);

  TitleClock clock(desktop, 8, QLocale(QLocale::English, QLocale::UnitedStates));
  const QDateTime sunday(QDate(2026, 12, 6), QTime(14, 5));
  XSetInputFocus(other, huge, RevertToParent, CurrentTime);
  XSync(other, False);
  ASSERT_EQ(desktop.foregroundWindow(), huge);
  for (int i = 0; i < 20; ++i) clock.tick({DisplayMode::ShortDate}, sunday);
  EXPECT_FALSE(desktop.title(huge).rewritable);
  EXPECT_FALSE(desktop.setCaption(huge, "Huge"));
  XSetInputFocus(other, b, RevertToParent, CurrentTime);
  XSync(other, False);
  ASSERT_EQ(desktop.foregroundWindow(), b);
  clock.tick({DisplayMode::ShortDate}, sunday);
  clock.restoreLastCaption();

  rusage after{};
  getrusage(RUSAGE_SELF, &after);
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 8 * 1024) << "kB more at the peak";
  Atom type = None;
  int format = 0;
  unsigned long count = 0, bytesAfter = 0;
  unsigned char* data = nullptr;
  XGetWindowProperty(other, huge, atom("_NET_WM_NAME"), 0, 0, False, AnyPropertyType, &type,
                     &format, &count, &bytesAfter, &data);
  if (data) XFree(data);
  EXPECT_EQ(bytesAfter, title) << "the title is as its window left it";
  EXPECT_EQ(rawProperty(huge, "WM_NAME").second, "Huge");
}

}  // namespace
}  // namespace pellwick
