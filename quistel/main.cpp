#include <QApplication>
#include <QStandardPaths>

#include "window/encrypt.h"
#include "window/qt_prompts.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quistel"));

  const quistel::CryptPlaces places{
      QApplication::applicationDirPath(),
      QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)};
  quistel::QtPrompts prompts;
  quistel::Encrypt window(prompts, places);
  window.show();
  return app.exec();
}
