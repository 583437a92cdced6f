// Test-only: shows the calendar as the tray menu would, beside a second window that
// stands for another window of Pellwick.

#include <QApplication>
#include <QLabel>

#include "calendar/calendar.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QLabel other("Another window of the program");
  other.setWindowTitle("Calendar preview: other window");
  other.setMinimumSize(260, 80);
  other.move(0, 0);
  other.show();

  auto* calendar = new pellwick::Calendar();
  calendar->open();
  return app.exec();
}
