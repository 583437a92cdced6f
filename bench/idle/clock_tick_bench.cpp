// One tick of the title-bar clock on a real X desktop, with a focused window whose caption
// the tick leaves as it is, against the reference: one X round trip. Run by idle_usage.sh.

#include <benchmark/benchmark.h>

#include <QDateTime>

#include "platform/linux/x11_desktop_windows.h"
#include "title_clock/title_clock.h"

// Last: Xlib's macros clash with Qt.
#include <X11/Xlib.h>

namespace {

void XRoundTrip(benchmark::State& state) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return state.SkipWithError("no X display");
  for (auto _ : state) {
    Window focus;
    int revertTo;
    XGetInputFocus(display, &focus, &revertTo);
  }
  XCloseDisplay(display);
}
BENCHMARK(XRoundTrip);

void ClockTick(benchmark::State& state) {
  pellwick::X11DesktopWindows desktop;
  if (!desktop.available()) return state.SkipWithError("no X display");
  pellwick::TitleClock clock(desktop, 8, QLocale(QLocale::English, QLocale::UnitedStates));
  const QDateTime now = QDateTime::currentDateTime();
  const pellwick::DisplaySettings display{pellwick::DisplayMode::LongDateAndTime};
  for (auto _ : state) clock.tick(display, now);
  clock.restoreLastCaption();
}
BENCHMARK(ClockTick);

}  // namespace

BENCHMARK_MAIN();
