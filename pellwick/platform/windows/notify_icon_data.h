#pragma once
// The tray icon record and mouse codes of the Windows shell (Shell_NotifyIcon).

#include <array>
#include <cstdint>

namespace pellwick {

// Shell_NotifyIcon commands.
enum class TrayCommand : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };

// The tray icon record. The tip is kept as wide characters; its shell form is the
// 88-byte single-byte record.
struct NotifyIconData {
  std::uint32_t cbSize = 0;
  std::uint32_t hWnd = 0;  // owner handle: tells the icons apart
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  std::uint32_t hIcon = 0;  // a handle from Win32TrayShell
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

}  // namespace pellwick
