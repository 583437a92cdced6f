#include "win32_test_support.h"

#include <algorithm>
#include <atomic>

#include "platform/windows/notify_icon_record.h"
#include "platform/windows/little_endian.h"

namespace pellwick::win32::testing {

bool pumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!done()) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE,
                              static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 50)),
                              QS_ALLINPUT);
    pumpWaitingMessages();
  }
  return true;
}

void pumpWaitingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

std::wstring besideThisProgram(const std::wstring& fileName) {
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  return path.substr(0, path.find_last_of(L'\\') + 1) + fileName;
}

std::wstring probeProgram() { return besideThisProgram(L"pellwick_win32_probe.exe"); }

std::wstring uniqueName(const std::wstring& stem) {
  static std::atomic<int> count{0};
  return stem + L"." + std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(++count);
}

NamedEvent::NamedEvent(const std::wstring& name)
    : name_(name), event_(CreateEventW(nullptr, TRUE, FALSE, name.c_str())) {}

NamedEvent::~NamedEvent() {
  if (event_) CloseHandle(event_);
}

void NamedEvent::set() { SetEvent(event_); }

bool NamedEvent::waitFor(DWORD timeoutMs) {
  return WaitForSingleObject(event_, timeoutMs) == WAIT_OBJECT_0;
}

ChildProcess::ChildProcess(const std::wstring& program, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     nullptr, &startup, &info)) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
  }
}

ChildProcess::~ChildProcess() {
  if (!process_) return;
  if (!waitForExit(0)) kill();
  CloseHandle(process_);
}

std::optional<DWORD> ChildProcess::waitForExit(DWORD timeoutMs) {
  if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

void ChildProcess::kill() {
  TerminateProcess(process_, 99);
  WaitForSingleObject(process_, 30000);
}

namespace {

constexpr const wchar_t* kTestWindowClass = L"PellwickTestWindow";

void registerTestWindowClass() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kTestWindowClass;
  RegisterClassExW(&windowClass);  // fails harmlessly when registered before
}

}  // namespace

TestWindow::TestWindow(const std::wstring& caption, int clientWidth) {
  registerTestWindowClass();
  RECT frame{0, 0, clientWidth, 120};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  window_ = CreateWindowExW(0, kTestWindowClass, caption.c_str(), WS_OVERLAPPEDWINDOW, 40, 40,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  ShowWindow(window_, SW_SHOWNORMAL);
  SetForegroundWindow(window_);
  pumpWaitingMessages();
}

TestWindow::~TestWindow() { destroy(); }

void TestWindow::destroy() {
  if (window_) DestroyWindow(window_);
  window_ = nullptr;
  pumpWaitingMessages();
}

std::wstring windowText(HWND window) {
  std::wstring text(4096, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), 4096)));
  return text;
}

NotifyIconData trayRecord(std::uint32_t owner, std::uint32_t iconHandle) {
  NotifyIconData data;
  fillTrayIconRecord(data, owner, iconHandle);
  return data;
}

std::vector<std::uint8_t> solidIconFile(std::uint32_t argb, int size) {
  std::vector<std::uint8_t> file;
  const auto side = static_cast<std::uint32_t>(size);
  const std::uint32_t maskRow = (side + 31) / 32 * 4;
  const std::uint32_t imageBytes = 40 + side * side * 4 + maskRow * side;
  putWord16(file, 0);  // icon file header: one image
  putWord16(file, 1);
  putWord16(file, 1);
  file.insert(file.end(), {static_cast<std::uint8_t>(side), static_cast<std::uint8_t>(side), 0, 0});
  putWord16(file, 1);
  putWord16(file, 32);
  putWord32(file, imageBytes);
  putWord32(file, 22);
  putWord32(file, 40);  // BITMAPINFOHEADER; the height counts colour and mask rows
  putWord32(file, side);
  putWord32(file, side * 2);
  putWord16(file, 1);
  putWord16(file, 32);
  for (int i = 0; i < 6; ++i) putWord32(file, 0);
  for (std::uint32_t i = 0; i < side * side; ++i) putWord32(file, argb);
  file.insert(file.end(), maskRow * side, 0);  // nothing masked out
  return file;
}

bool isFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace pellwick::win32::testing
