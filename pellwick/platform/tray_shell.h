#pragma once
// Notification-area icons, as the Windows shell offers them (Shell_NotifyIcon).

#include <array>
#include <cstdint>
#include <functional>
#include <span>

class QMenu;

namespace pellwick {

// Shell_NotifyIcon commands.
enum class TrayCommand : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };

// The tray icon record. The tip is kept as wide characters; its shell form is the
// 88-byte single-byte record.
struct NotifyIconData {
  std::uint32_t cbSize = 0;
  std::uint32_t hWnd = 0;  // owner handle: tells the day icon and the flasher's icon apart
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  std::uint32_t hIcon = 0;  // a handle from TrayShell::iconHandle
  std::array<char16_t, 64> szTip{};
};

// Mouse message codes the shell reports for an icon.
namespace mouse_code {
constexpr std::uint32_t MouseMove = 512;
constexpr std::uint32_t LButtonDown = 513;
constexpr std::uint32_t LButtonUp = 514;
constexpr std::uint32_t LButtonDblClk = 515;
constexpr std::uint32_t RButtonDown = 516;
constexpr std::uint32_t RButtonUp = 517;
constexpr std::uint32_t RButtonDblClk = 518;
constexpr std::uint32_t MButtonDown = 519;
constexpr std::uint32_t MButtonUp = 520;
constexpr std::uint32_t MButtonDblClk = 521;
}  // namespace mouse_code

class TrayShell {
 public:
  virtual ~TrayShell() = default;

  // A handle for a picture given as a Windows icon file; equal files give equal handles.
  // 0 when the picture cannot be read.
  virtual std::uint32_t iconHandle(std::span<const std::uint8_t> icoFile) = 0;

  // Adds, changes or removes the icon identified by (hWnd, uID). False when refused:
  // Add of an icon that exists, Modify or Delete of one that does not.
  virtual bool notifyIcon(TrayCommand command, const NotifyIconData& data) = 0;

  // Mouse actions on the icons of `owner` reach `listener` as codes 512..521, on the
  // user-interface thread. An empty listener removes it.
  virtual void setMouseListener(std::uint32_t owner,
                                std::function<void(std::uint32_t code)> listener) = 0;

  // The owner's popup menu, for trays that show an icon's menu themselves (a D-Bus tray's
  // host does, instead of reporting the right button). Null: none.
  virtual void setMenu(std::uint32_t /*owner*/, QMenu* /*menu*/) {}

  // Whether the desktop has a notification area to show the icons in now.
  virtual bool trayAvailable() const { return true; }
};

}  // namespace pellwick
