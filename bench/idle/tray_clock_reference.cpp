// The least a Qt tray clock costs at rest, the reference Pellwick is measured against
// (idle_usage.sh): a tray icon showing the day of the month, and a 500 ms timer that reads
// the time and the X input focus.

#include <QApplication>
#include <QDateTime>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

// Last: Xlib's macros clash with Qt.
#include <X11/Xlib.h>

namespace {

QIcon dayIcon(int day) {
  QPixmap picture(32, 32);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.drawText(picture.rect(), Qt::AlignCenter, QString::number(day));
  return QIcon(picture);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 1;
  int shownDay = QDate::currentDate().day();
  QSystemTrayIcon icon(dayIcon(shownDay));
  icon.show();
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    Window focus = 0;
    int revertTo = 0;
    XGetInputFocus(display, &focus, &revertTo);
    const int day = QDateTime::currentDateTime().date().day();
    if (day != shownDay) icon.setIcon(dayIcon(shownDay = day));
  });
  timer.start(500);
  const int status = QApplication::exec();
  XCloseDisplay(display);
  return status;
}
