#pragma once
// Notification-area icons through Shell_NotifyIconW. Each owner handle of the records gets a
// message-only window of its own; the shell sends that window the record's callback message
// with the mouse message code in the low word of lParam, and the code goes on to the owner's
// listener. When the taskbar restarts it has forgotten every icon: a hidden window hears its
// announcement and adds the shown icons again. Needs the thread's messages dispatched (Qt's
// event loop does that). Icons are told apart by the owner handle and id of their records.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/windows/notify_icon_data.h"
#include "platform/windows/win32.h"

namespace pellwick::win32 {

class Win32TrayShell {
 public:
  Win32TrayShell();
  // Removes the icons still shown and frees the windows and icons made.
  ~Win32TrayShell();
  Win32TrayShell(const Win32TrayShell&) = delete;
  Win32TrayShell& operator=(const Win32TrayShell&) = delete;

  // A handle for a picture given as a Windows icon file; equal files give equal handles.
  // 0 when the picture cannot be read.
  std::uint32_t iconHandle(std::span<const std::uint8_t> icoFile);
  // A handle for an icon made elsewhere; the shell destroys it at the end.
  std::uint32_t adoptIcon(HICON icon);

  // Adds, changes or removes the icon identified by (hWnd, uID). False when refused:
  // Add of an icon that exists, Modify or Delete of one that does not.
  bool notifyIcon(TrayCommand command, const NotifyIconData& data);

  // Mouse actions on the icons of `owner` reach `listener` as codes 512..521. An empty
  // listener removes it.
  void setMouseListener(std::uint32_t owner, std::function<void(std::uint32_t code)> listener);

  // A menu of the notification area, in the order Windows asks for: the shell's own window
  // comes to the foreground before `show` shows the menu, so that the menu takes the keys and
  // closes on a click elsewhere; menuClosed(), called when it has gone, posts that window
  // WM_NULL so that the next click on an icon opens it again at once.
  void showMenu(const std::function<void()>& show);
  void menuClosed();
  // The window the menus belong to.
  HWND menuOwner() const { return watcher_; }

  // The class of the message-only windows; each is named after its owner handle in decimal.
  static constexpr const wchar_t* kWindowClass = L"PellwickTrayOwner";

 private:
  struct OwnerWindow {
    Win32TrayShell* shell = nullptr;
    std::uint32_t owner = 0;
    UINT callbackMessage = 0;
    HWND window = nullptr;
  };
  using IconKey = std::pair<std::uint32_t, std::uint32_t>;  // (owner, id)

  static LRESULT CALLBACK ownerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK watcherProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  OwnerWindow* existingWindow(std::uint32_t owner);
  OwnerWindow* windowFor(std::uint32_t owner);
  bool send(DWORD command, OwnerWindow& owner, const NotifyIconData& data);
  void report(std::uint32_t owner, std::uint32_t code);
  void addShownIconsAgain();
  HICON icon(std::uint32_t handle) const;

  // Keyed by the icon file's bytes as a string: comparing byte vectors in a map trips a false
  // -Wstringop-overread of GCC 12 at -O3.
  std::map<std::string, std::uint32_t> handles_;
  std::vector<HICON> icons_;  // handle n is icons_[n - 1]
  std::map<std::uint32_t, std::unique_ptr<OwnerWindow>> windows_;
  std::map<std::uint32_t, std::function<void(std::uint32_t)>> listeners_;
  std::map<IconKey, NotifyIconData> shown_;  // the last record of each icon added
  UINT taskbarCreated_ = 0;
  HWND watcher_ = nullptr;  // hears the taskbar's restarts and owns the menus
};

}  // namespace pellwick::win32
