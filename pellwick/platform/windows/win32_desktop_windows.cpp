#include "platform/windows/win32_desktop_windows.h"

#include <cstdint>

#include "platform/windows/wide_text.h"
#include "platform/windows/win32.h"

namespace pellwick::win32 {
namespace {

constexpr UINT kCaptionAnswerMs = 200;
// In UTF-16 units (64 KiB): a longer caption is not read, and never rewritten.
constexpr int kCaptionCap = 32 * 1024;

HWND toHwnd(WindowId window) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window)); }

}  // namespace

WindowId Win32DesktopWindows::foregroundWindow() {
  return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(GetForegroundWindow()));
}

bool Win32DesktopWindows::isMinimised(WindowId window) { return IsIconic(toHwnd(window)) != 0; }

WindowTitle Win32DesktopWindows::title(WindowId window) {
  const HWND hwnd = toHwnd(window);
  const int length = GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  if (length > kCaptionCap) return {{}, {}, false};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return {toUtf8(text), {}, true};
}

bool Win32DesktopWindows::setCaption(WindowId window, const std::string& utf8) {
  const HWND hwnd = toHwnd(window);
  DWORD process = 0;
  if (GetWindowThreadProcessId(hwnd, &process) == 0) return false;
  const std::wstring text = toWide(utf8);
  if (process == GetCurrentProcessId()) return SetWindowTextW(hwnd, text.c_str()) != 0;
  // What SetWindowTextW sends to another program's window, with a time limit. The system
  // copies the text across, so it need not outlive the call.
  DWORD_PTR accepted = 0;
  return SendMessageTimeoutW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT, kCaptionAnswerMs,
                             &accepted) != 0 &&
         accepted != 0;
}

WindowTitle Win32DesktopWindows::retitled(WindowId window, const WindowTitle&, const std::string&) {
  return title(window);
}

bool Win32DesktopWindows::restoreTitle(WindowId window, const WindowTitle& own,
                                       const std::string& written) {
  return caption(window) == written && setCaption(window, own.text);
}

std::optional<int> Win32DesktopWindows::clientWidth(WindowId window) {
  RECT client{};
  if (!GetClientRect(toHwnd(window), &client)) return std::nullopt;
  return static_cast<int>(client.right - client.left);
}

}  // namespace pellwick::win32
