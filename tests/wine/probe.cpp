// "Another program" for the tests of the Win32 layer. Commands:
//   hold NAME READY QUIT           claim the single instance NAME, set event READY, wait for QUIT
//   check NAME                     exit 1 when another instance NAME runs, else 0
//   register | unregister          set or clear the start-at-login entry of this executable
//   window CAPTION READY QUIT pump|hang
//                                  show a window, set READY, then answer messages (pump) or
//                                  not at all (hang) until QUIT
//   tray [ICON.ico]                show a tray icon (a plain square without ICON), print each
//                                  mouse code it reports as "code N", and remove it after the
//                                  first right-button release (517); exit 0 then
// Every wait ends after a minute, so that a probe never outlives its test for long.

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/windows/named_mutex_instance.h"
#include "platform/windows/registry_autorun.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/win32_tray_shell.h"
#include "platform/windows/windows_paths.h"
#include "win32_test_support.h"

namespace pellwick::win32 {
namespace {

constexpr DWORD kLongestWaitMs = 60000;
constexpr int kUsage = 64;

class Event {
 public:
  explicit Event(const std::wstring& name)
      : event_(OpenEventW(EVENT_ALL_ACCESS, FALSE, name.c_str())) {}
  ~Event() {
    if (event_) CloseHandle(event_);
  }
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;
  HANDLE get() const { return event_; }

 private:
  HANDLE event_;
};

int hold(const std::wstring& name, const std::wstring& ready, const std::wstring& quit) {
  NamedMutexInstance instance(toUtf8(name));
  if (instance.anotherInstanceRunning()) return 2;
  Event readyEvent(ready), quitEvent(quit);
  SetEvent(readyEvent.get());
  WaitForSingleObject(quitEvent.get(), kLongestWaitMs);
  return 0;
}

int check(const std::wstring& name) {
  return NamedMutexInstance(toUtf8(name)).anotherInstanceRunning() ? 1 : 0;
}

int autoRun(bool on) {
  const std::string path = runningExecutablePath();
  RegistryAutoRun run;
  return (on ? run.setEntry(fileStem(path), path) : run.clearEntry(fileStem(path))).done ? 0 : 1;
}

int window(const std::wstring& caption, const std::wstring& ready, const std::wstring& quit,
           bool answer) {
  const HWND shown =
      CreateWindowExW(0, L"STATIC", caption.c_str(), WS_OVERLAPPEDWINDOW, 60, 60, 300, 120, nullptr,
                      nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!shown) return 3;
  ShowWindow(shown, SW_SHOWNOACTIVATE);
  Event readyEvent(ready), quitEvent(quit);
  HANDLE quitHandle = quitEvent.get();
  SetEvent(readyEvent.get());
  const ULONGLONG deadline = GetTickCount64() + kLongestWaitMs;
  while (GetTickCount64() < deadline) {
    if (!answer) {
      WaitForSingleObject(quitHandle, kLongestWaitMs);
      break;
    }
    if (MsgWaitForMultipleObjects(1, &quitHandle, FALSE, 100, QS_ALLINPUT) == WAIT_OBJECT_0) break;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  DestroyWindow(shown);
  return 0;
}

std::vector<std::uint8_t> fileBytes(const std::wstring& path) {
  std::ifstream file(path.c_str(), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

int tray(const std::wstring& iconFile) {
  Win32TrayShell shell;
  const auto picture = iconFile.empty() ? testing::solidIconFile(0xFF2060C0) : fileBytes(iconFile);
  const NotifyIconData icon = testing::trayRecord(1, shell.iconHandle(picture));
  if (icon.hIcon == 0) return 6;
  bool released = false;
  shell.setMouseListener(icon.hWnd, [&released](std::uint32_t code) {
    std::printf("code %u\n", static_cast<unsigned>(code));
    std::fflush(stdout);
    released = released || code == 517;
  });
  if (!shell.notifyIcon(TrayCommand::Add, icon)) return 4;
  const bool seen = testing::pumpMessagesUntil([&released] { return released; }, kLongestWaitMs);
  shell.notifyIcon(TrayCommand::Delete, icon);
  return seen ? 0 : 5;
}

int run(const std::vector<std::wstring>& args) {
  const std::wstring command = args.empty() ? L"" : args[0];
  if (command == L"hold" && args.size() == 4) return hold(args[1], args[2], args[3]);
  if (command == L"check" && args.size() == 2) return check(args[1]);
  if (command == L"register" && args.size() == 1) return autoRun(true);
  if (command == L"unregister" && args.size() == 1) return autoRun(false);
  if (command == L"window" && args.size() == 5 && (args[4] == L"pump" || args[4] == L"hang")) {
    return window(args[1], args[2], args[3], args[4] == L"pump");
  }
  if (command == L"tray" && args.size() <= 2) return tray(args.size() == 2 ? args[1] : L"");
  return kUsage;
}

}  // namespace
}  // namespace pellwick::win32

int wmain(int argc, wchar_t** argv) {
  return pellwick::win32::run(std::vector<std::wstring>(argv + 1, argv + argc));
}
