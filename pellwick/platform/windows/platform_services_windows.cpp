// The Windows platform services. Made on the user-interface thread: the tray shell's windows
// belong to the thread that makes them, and its event loop dispatches their messages.

#include <QStandardPaths>
#include <memory>

#include "platform/file_title_record.h"
#include "platform/platform_services.h"
#include "platform/windows/named_mutex_instance.h"
#include "platform/windows/registry_autorun.h"
#include "platform/windows/win32_close_requests.h"
#include "platform/windows/win32_desktop_windows.h"
#include "platform/windows/win32_tray_icons.h"
#include "platform/windows/win32_user_folders.h"

namespace pellwick {

PlatformServices makePlatformServices() {
  PlatformServices services;
  services.trayIcons = std::make_unique<win32::Win32TrayIcons>();
  services.desktopWindows = std::make_unique<win32::Win32DesktopWindows>();
  services.autoRun = std::make_unique<win32::RegistryAutoRun>();
  services.userFolders = std::make_unique<win32::Win32UserFolders>();
  // One name for every copy, whatever its file is called.
  services.singleInstance = std::make_unique<win32::NamedMutexInstance>("Pellwick");
  services.terminationRequests = std::make_unique<win32::Win32CloseRequests>();
  // The user's local application data, which stays on this computer.
  services.titleRecord = std::make_unique<FileTitleRecord>(
      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
  return services;
}

}  // namespace pellwick
