#include <unistd.h>

#include <cstdlib>

#include "platform/executable_file.h"
#include "platform/file_title_record.h"
#include "platform/linux/flock_single_instance.h"
#include "platform/linux/posix_termination_requests.h"
#include "platform/linux/posix_user_folders.h"
#include "platform/linux/qt_tray_icons.h"
#include "platform/linux/x11_desktop_windows.h"
#include "platform/linux/xdg_autorun.h"
#include "platform/platform_services.h"
#include "platform/user_messages.h"

namespace pellwick {

namespace {

// A warning that blocks nothing: the tray keeps working while it is up.
void showNotice(const std::string& text) {
  MessageBoxes().warning(QStringLiteral("Pellwick"), QString::fromStdString(text));
}

}  // namespace

PlatformServices makePlatformServices() {
  auto userFolders = std::make_unique<PosixUserFolders>(showNotice);
  const std::string home = userFolders->profileFolder(userFolders->userName());

  PlatformServices services;
  services.trayIcons = std::make_unique<QtTrayIcons>();
  services.desktopWindows = std::make_unique<X11DesktopWindows>();
  services.autoRun =
      std::make_unique<XdgAutoRun>(xdgConfigHome(std::getenv("XDG_CONFIG_HOME"), home), home);
  services.userFolders = std::move(userFolders);
  const std::string program = runningExecutable().name;
  services.singleInstance = std::make_unique<FlockSingleInstance>(
      singleInstanceLockFolders(std::getenv("XDG_RUNTIME_DIR"), program, ::getuid()),
      program + ".lock", ::getuid());
  services.terminationRequests = std::make_unique<PosixTerminationRequests>();
  services.titleRecord =
      std::make_unique<FileTitleRecord>(QString::fromLocal8Bit(std::getenv("XDG_RUNTIME_DIR")));
  return services;
}

}  // namespace pellwick
