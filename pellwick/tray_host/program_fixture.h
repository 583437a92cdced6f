#pragma once
// The program-wide windows over fake services, a clock the test sets, and a recorded end.

#include <gtest/gtest.h>

#include <QDateTime>
#include <memory>
#include <vector>

#include "fakes/fake_desktop_windows.h"
#include "fakes/fake_services.h"
#include "fakes/fake_settings_store.h"
#include "fakes/fake_tray_shell.h"
#include "fakes/fake_user_messages.h"
#include "fakes/qt_test_application.h"
#include "flasher/controls_form.h"
#include "title_clock/corvane_time.h"
#include "tray_host/frm_sys_tray.h"
#include "tray_host/program_windows.h"

namespace pellwick::testing {

class ProgramFixture : public ::testing::Test {
 protected:
  ProgramFixture() {
    platform.trayShell.reset(shell = new FakeTrayShell);
    platform.desktopWindows.reset(desktop = new FakeDesktopWindows);
    platform.autoRun.reset(autoRun = new FakeAutoRun);
    platform.userFolders.reset(folders = new FakeUserFolders);
    platform.singleInstance.reset(singleInstance = new FakeSingleInstance);
    windows = std::make_unique<ProgramWindows>(
        ProgramEnvironment{platform, settings, messages, [this] { return now; },
                           ExecutableFile{"/opt/My Tools/pellwick", "pellwick"},
                           [this](int exitCode) { exitCodes.push_back(exitCode); }});
  }

  // What one tick of the tray host's timer does.
  void trayTick() { windows->frmSysTray().UpdateTrayIcon(TrayCommand::Add); }

  // The picture file the fake shell was given for `handle`.
  std::vector<std::uint8_t> pictureOf(std::uint32_t handle) const {
    for (const auto& [file, known] : shell->pictures) {
      if (known == handle) return {file.begin(), file.end()};
    }
    return {};
  }
  std::vector<std::uint8_t> dayPictureFile(int day) {
    const auto bytes = windows->controlsForm().dayPicture(day).bytes();
    return {bytes.begin(), bytes.end()};
  }
  std::uint32_t trayOwner() { return windows->frmSysTray().trayIconRecord().hWnd; }

  PlatformServices platform;
  FakeTrayShell* shell;
  FakeDesktopWindows* desktop;
  FakeAutoRun* autoRun;
  FakeUserFolders* folders;
  FakeSingleInstance* singleInstance;
  FakeSettingsStore settings;
  FakeUserMessages messages;
  QDateTime now{QDate(2026, 12, 6), QTime(14, 5)};
  std::vector<int> exitCodes;
  std::unique_ptr<ProgramWindows> windows;
};

}  // namespace pellwick::testing
