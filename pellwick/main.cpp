// Pellwick: no main window; the clock window starts everything (see ProgramWindows).

#include <QApplication>
#include <QSessionManager>

#include "platform/platform_services.h"
#include "tray_host/program_windows.h"
#include "tray_host/settings_store.h"
#include "tray_host/user_messages.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
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
  pellwick::ProgramWindows windows(
      {platform, settings, messages, [] { return QDateTime::currentDateTime(); },
       pellwick::runningExecutable(), [](int exitCode) { QCoreApplication::exit(exitCode); }});

  if (platform.terminationRequests) {
    platform.terminationRequests->setHandler([&windows] { windows.exitProgram(); });
  }
  // A session that ends quits the event loop; leave the same way as "&Exit Program".
  QObject::connect(&app, &QCoreApplication::aboutToQuit, [&windows] { windows.exitProgram(); });

  if (!windows.start()) return 0;
  return QApplication::exec();
}
