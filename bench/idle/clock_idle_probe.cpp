// A stand-in for Pellwick at rest: a Qt event loop with the clock's 500 ms timer and a
// connection to the X desktop. With --clock every tick runs the title-bar clock in the
// long-date-and-time mode; without, the timer fires and does nothing (the reference).
// Like Pellwick, it gives the caption back when it is told to end.

#include <QCoreApplication>
#include <QDateTime>
#include <QTimer>

#include "platform/linux/posix_termination_requests.h"
#include "platform/linux/x11_desktop_windows.h"
#include "title_clock/title_clock.h"

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const bool ticking = app.arguments().contains(QStringLiteral("--clock"));
  pellwick::X11DesktopWindows desktop;
  pellwick::TitleClock clock(desktop);
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (ticking) clock.tick({pellwick::DisplayMode::LongDateAndTime}, QDateTime::currentDateTime());
  });
  timer.start(500);
  pellwick::PosixTerminationRequests termination;
  termination.setHandler([&clock] {
    clock.restoreLastCaption();
    QCoreApplication::quit();
  });
  return app.exec();
}
