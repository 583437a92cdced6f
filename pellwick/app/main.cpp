// Pellwick: no main window; the application object builds the tray icon, the title-bar
// clock and the windows it opens.

#include <QApplication>
#include <QSessionManager>

#include "app/pellwick_app.h"
#include "platform/platform_services.h"
#include "settings/settings_store.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // The desktop entry the desktop names Pellwick's windows and icons after.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.pellwickquistel.Pellwick"));
  // The start-at-login entry is the one way Pellwick starts with the desktop: a session
  // manager must never start a copy of its own beside it.
  if (app.isSessionRestored()) return 0;
  const auto neverRestart = [](QSessionManager& session) {
    session.setRestartHint(QSessionManager::RestartNever);
  };
  QObject::connect(&app, &QGuiApplication::commitDataRequest, neverRestart);
  QObject::connect(&app, &QGuiApplication::saveStateRequest, neverRestart);
  // Closing the calendar or the reminders window must not end the program.
  QApplication::setQuitOnLastWindowClosed(false);

  pellwick::PlatformServices platform = pellwick::makePlatformServices();
  pellwick::QtSettingsStore settings;
  pellwick::MessageBoxes messages;
  pellwick::PellwickApp pellwick(
      {platform, settings, messages, [] { return QDateTime::currentDateTime(); },
       pellwick::runningExecutable(), [](int exitCode) { QCoreApplication::exit(exitCode); }});

  if (platform.terminationRequests) {
    platform.terminationRequests->setHandler([&pellwick] { pellwick.exitProgram(); });
  }
  // A session that ends quits the event loop; leave the same way as "&Exit Program".
  QObject::connect(&app, &QCoreApplication::aboutToQuit, [&pellwick] { pellwick.exitProgram(); });

  if (!pellwick.start()) return 0;
  return QApplication::exec();
}
