#include "flasher/tray_mouse_name.h"

#include <array>

#include "platform/tray_shell.h"

namespace pellwick {

std::string trayMouseName(std::uint32_t code) {
  static constexpr std::array<const char*, 10> kNames{
      "MOUSEMOVE", "LBUTTONDOWN",   "LBUTTONUP",   "LBUTTONDBLCLK", "RBUTTONDOWN",
      "RBUTTONUP", "RBUTTONDBLCLK", "MBUTTONDOWN", "MBUTTONUP",     "MBUTTONDBLCLK"};
  if (code >= mouse_code::MouseMove && code <= mouse_code::MButtonDblClk) {
    return kNames[code - mouse_code::MouseMove];
  }
  return "OTHER....: " + std::to_string(code);
}

}  // namespace pellwick
