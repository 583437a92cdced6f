#pragma once
// Notification-area icons through Shell_NotifyIconW. Each owner handle of the records gets a
// message-only window of its own; the shell sends that window the record's callback message
// with the mouse message code in the low word of lParam, and the code goes on to the owner's
// listener. Needs the thread's messages dispatched (Qt's event loop does that).

#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "platform/tray_shell.h"
#include "platform/windows/win32.h"

namespace pellwick::win32 {

class Win32TrayShell : public TrayShell {
 public:
  Win32TrayShell();
  // Removes the icons still shown and frees the windows and icons made.
  ~Win32TrayShell() override;
  Win32TrayShell(const Win32TrayShell&) = delete;
  Win32TrayShell& operator=(const Win32TrayShell&) = delete;

  std::uint32_t iconHandle(std::span<const std::uint8_t> icoFile) override;
  bool notifyIcon(TrayCommand command, const NotifyIconData& data) override;
  void setMouseListener(std::uint32_t owner,
                        std::function<void(std::uint32_t code)> listener) override;

  // The class of the message-only windows; each is named after its owner handle in decimal.
  static constexpr const wchar_t* kWindowClass = L"PellwickTrayOwner";

 private:
  struct OwnerWindow {
    Win32TrayShell* shell = nullptr;
    std::uint32_t owner = 0;
    UINT callbackMessage = 0;
    HWND window = nullptr;
  };

  static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  OwnerWindow* existingWindow(std::uint32_t owner);
  OwnerWindow* windowFor(std::uint32_t owner);
  void report(std::uint32_t owner, std::uint32_t code);
  HICON icon(std::uint32_t handle) const;

  std::map<std::vector<std::uint8_t>, std::uint32_t> handles_;
  std::vector<HICON> icons_;  // handle n is icons_[n - 1]
  std::map<std::uint32_t, std::unique_ptr<OwnerWindow>> windows_;
  std::map<std::uint32_t, std::function<void(std::uint32_t)>> listeners_;
  std::set<std::pair<std::uint32_t, std::uint32_t>> shown_;  // (owner, id) added and not deleted
};

}  // namespace pellwick::win32
