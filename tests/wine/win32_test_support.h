#pragma once
// Helpers for the tests of the Win32 layer, which run under Wine.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windows/notify_icon_data.h"
#include "platform/windows/win32.h"

namespace pellwick::win32::testing {

// UTF-8 text from a u8"" literal, as the platform interfaces carry it.
inline std::string utf8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

// Dispatches this thread's messages until `done` holds or `timeoutMs` has passed.
bool pumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
// Dispatches the messages already waiting.
void pumpWaitingMessages();

// A file beside the running test program.
std::wstring besideThisProgram(const std::wstring& fileName);
// The helper program the tests start as "another program".
std::wstring probeProgram();
// A name no other test run uses at the same time: `stem` with this process id and a count.
std::wstring uniqueName(const std::wstring& stem);

// A manual-reset event by name, for handshakes with a child process.
class NamedEvent {
 public:
  explicit NamedEvent(const std::wstring& name);
  ~NamedEvent();
  NamedEvent(const NamedEvent&) = delete;
  NamedEvent& operator=(const NamedEvent&) = delete;
  const std::wstring& name() const { return name_; }
  void set();
  bool waitFor(DWORD timeoutMs);

 private:
  std::wstring name_;
  HANDLE event_;
};

// A child process; ended by force if it still runs when this object goes.
class ChildProcess {
 public:
  ChildProcess(const std::wstring& program, const std::wstring& arguments);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  bool started() const { return process_ != nullptr; }
  // Its exit code, or nothing when it has not ended within `timeoutMs`.
  std::optional<DWORD> waitForExit(DWORD timeoutMs = 30000);
  // Ends it at once, as a crash would.
  void kill();

 private:
  HANDLE process_ = nullptr;
};

// A shown top-level window of the test's own, with the given client width; destroyed with
// this object.
class TestWindow {
 public:
  TestWindow(const std::wstring& caption, int clientWidth);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  HWND handle() const { return window_; }
  void destroy();

 private:
  HWND window_ = nullptr;
};

// The wide caption as the system keeps it.
std::wstring windowText(HWND window);

// A tray icon record as Pellwick fills it: id 1, message, icon and tip flags, callback 512.
NotifyIconData trayRecord(std::uint32_t owner, std::uint32_t iconHandle);

// An icon file with one square 32-bit image of one colour (0xAARRGGBB).
std::vector<std::uint8_t> solidIconFile(std::uint32_t argb, int size = 16);

bool isFolder(const std::wstring& path);

}  // namespace pellwick::win32::testing
