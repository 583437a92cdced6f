#include "platform/windows/win32_tray_shell.h"

#include <string>

#include "platform/windows/icon_directory.h"
#include "platform/windows/native_notify_icon.h"

namespace pellwick::win32 {
namespace {

constexpr DWORD kIconFormatVersion = 0x00030000;
constexpr const wchar_t* kWatcherClass = L"PellwickTrayRestartWatcher";

HINSTANCE thisModule() { return GetModuleHandleW(nullptr); }

// Another shell object of this process may have registered the class already.
void registerWindowClass(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW registered{};
  registered.cbSize = sizeof(registered);
  if (GetClassInfoExW(thisModule(), name, &registered)) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = thisModule();
  windowClass.lpszClassName = name;
  RegisterClassExW(&windowClass);
}

// The object given to CreateWindowExW, kept with the window from its first message on.
template <typename T>
T* windowObject(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  return reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// The icon of `file` at the size the notification area shows; nullptr when unreadable.
HICON createIcon(std::span<const std::uint8_t> file) {
  const auto images = readIconFile(file);
  if (!images) return nullptr;
  std::vector<BYTE> directory = iconResourceDirectory(*images);
  const int width = GetSystemMetrics(SM_CXSMICON);
  const int height = GetSystemMetrics(SM_CYSMICON);
  const int id =
      LookupIconIdFromDirectoryEx(directory.data(), TRUE, width, height, LR_DEFAULTCOLOR);
  if (id < 1 || static_cast<std::size_t>(id) > images->size()) return nullptr;
  const auto image = (*images)[static_cast<std::size_t>(id) - 1].image;
  std::vector<BYTE> bits(image.begin(), image.end());
  return CreateIconFromResourceEx(bits.data(), static_cast<DWORD>(bits.size()), TRUE,
                                  kIconFormatVersion, width, height, LR_DEFAULTCOLOR);
}

}  // namespace

Win32TrayShell::Win32TrayShell() : taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
  registerWindowClass(kWindowClass, &Win32TrayShell::ownerProcedure);
  registerWindowClass(kWatcherClass, &Win32TrayShell::watcherProcedure);
  // Top-level, since the announcement goes to top-level windows only, and since a menu's
  // owner must be able to take the foreground; never shown.
  watcher_ = CreateWindowExW(WS_EX_TOOLWINDOW, kWatcherClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                             nullptr, thisModule(), this);
}

Win32TrayShell::~Win32TrayShell() {
  for (const auto& [key, data] : shown_) {
    NOTIFYICONDATAW gone{};
    gone.cbSize = sizeof(gone);
    gone.hWnd = windows_.at(key.first)->window;
    gone.uID = key.second;
    Shell_NotifyIconW(NIM_DELETE, &gone);
  }
  if (watcher_) DestroyWindow(watcher_);
  for (const auto& [owner, window] : windows_) DestroyWindow(window->window);
  for (HICON made : icons_) DestroyIcon(made);
}

std::uint32_t Win32TrayShell::iconHandle(std::span<const std::uint8_t> icoFile) {
  std::string bytes(icoFile.begin(), icoFile.end());
  if (auto known = handles_.find(bytes); known != handles_.end()) return known->second;
  HICON created = createIcon(icoFile);
  if (!created) return 0;
  const std::uint32_t handle = adoptIcon(created);
  handles_.emplace(std::move(bytes), handle);
  return handle;
}

std::uint32_t Win32TrayShell::adoptIcon(HICON icon) {
  if (!icon) return 0;
  icons_.push_back(icon);
  return static_cast<std::uint32_t>(icons_.size());
}

bool Win32TrayShell::notifyIcon(TrayCommand command, const NotifyIconData& data) {
  // An owner without a window has no icon to change or delete.
  OwnerWindow* owner =
      command == TrayCommand::Add ? windowFor(data.hWnd) : existingWindow(data.hWnd);
  if (!owner || !send(static_cast<DWORD>(command), *owner, data)) return false;
  const IconKey key{data.hWnd, data.uID};
  if (command == TrayCommand::Delete) {
    shown_.erase(key);
  } else {
    shown_[key] = data;
  }
  return true;
}

bool Win32TrayShell::send(DWORD command, OwnerWindow& owner, const NotifyIconData& data) {
  NOTIFYICONDATAW native = toNativeNotifyIcon(data, owner.window, icon(data.hIcon));
  if (!Shell_NotifyIconW(command, &native)) return false;
  if (native.uFlags & NIF_MESSAGE) owner.callbackMessage = native.uCallbackMessage;
  return true;
}

void Win32TrayShell::showMenu(const std::function<void()>& show) {
  // A process may take the foreground while it handles a click on its icon.
  if (watcher_) SetForegroundWindow(watcher_);
  show();
}

void Win32TrayShell::menuClosed() {
  if (watcher_) PostMessageW(watcher_, WM_NULL, 0, 0);
}

void Win32TrayShell::setMouseListener(std::uint32_t owner,
                                      std::function<void(std::uint32_t code)> listener) {
  if (listener) {
    listeners_[owner] = std::move(listener);
  } else {
    listeners_.erase(owner);
  }
}

Win32TrayShell::OwnerWindow* Win32TrayShell::existingWindow(std::uint32_t owner) {
  auto found = windows_.find(owner);
  return found == windows_.end() ? nullptr : found->second.get();
}

Win32TrayShell::OwnerWindow* Win32TrayShell::windowFor(std::uint32_t owner) {
  if (OwnerWindow* existing = existingWindow(owner)) return existing;
  auto made = std::make_unique<OwnerWindow>();
  made->shell = this;
  made->owner = owner;
  made->window = CreateWindowExW(0, kWindowClass, std::to_wstring(owner).c_str(), 0, 0, 0, 0, 0,
                                 HWND_MESSAGE, nullptr, thisModule(), made.get());
  if (!made->window) return nullptr;
  return windows_.emplace(owner, std::move(made)).first->second.get();
}

LRESULT CALLBACK Win32TrayShell::ownerProcedure(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
  auto* owner = windowObject<OwnerWindow>(window, message, lParam);
  if (owner && owner->callbackMessage != 0 && message == owner->callbackMessage) {
    owner->shell->report(owner->owner, LOWORD(lParam));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK Win32TrayShell::watcherProcedure(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
  auto* shell = windowObject<Win32TrayShell>(window, message, lParam);
  if (shell && message == shell->taskbarCreated_) {
    shell->addShownIconsAgain();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void Win32TrayShell::report(std::uint32_t owner, std::uint32_t code) {
  auto found = listeners_.find(owner);
  if (found == listeners_.end()) return;
  // A copy, so that the listener may replace or remove itself.
  const auto listener = found->second;
  try {
    listener(code);
  } catch (...) {
    // Nothing may unwind through the system's window procedure; the click is dropped.
  }
}

void Win32TrayShell::addShownIconsAgain() {
  for (const auto& [key, data] : shown_) send(NIM_ADD, *windows_.at(key.first), data);
}

HICON Win32TrayShell::icon(std::uint32_t handle) const {
  return handle >= 1 && handle <= icons_.size() ? icons_[handle - 1] : nullptr;
}

}  // namespace pellwick::win32
