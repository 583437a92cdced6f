#include <QApplication>
#include <QStandardPaths>

#include "window/main_window.h"
#include "window/qt_prompts.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quistel"));
  // The desktop entry the desktop names Quistel's window after.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.pellwickquistel.Quistel"));

  const quistel::CryptPlaces places{
      QApplication::applicationDirPath(),
      QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)};
  quistel::QtPrompts prompts;
  quistel::MainWindow window(prompts, places);
  prompts.setOwner(&window);
  window.show();
  return app.exec();
}
