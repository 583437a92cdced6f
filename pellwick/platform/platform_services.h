#pragma once
// The platform services of this system (Linux/X11 or Windows), made once by the entry point.

#include <memory>

#include "platform/autorun.h"
#include "platform/desktop_windows.h"
#include "platform/single_instance.h"
#include "platform/termination_requests.h"
#include "platform/title_record.h"
#include "platform/tray_icons.h"
#include "platform/user_folders.h"

namespace pellwick {

struct PlatformServices {
  std::unique_ptr<TrayIcons> trayIcons;
  std::unique_ptr<DesktopWindows> desktopWindows;
  std::unique_ptr<AutoRun> autoRun;
  std::unique_ptr<UserFolders> userFolders;
  std::unique_ptr<SingleInstance> singleInstance;
  std::unique_ptr<TerminationRequests> terminationRequests;
  std::unique_ptr<TitleRecord> titleRecord;
};

// Implemented once per platform (platform/linux, platform/windows). Needs a running
// QApplication where the implementation uses Qt.
PlatformServices makePlatformServices();

}  // namespace pellwick
