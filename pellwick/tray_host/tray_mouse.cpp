#include "tray_host/tray_mouse.h"

#include <array>

#include "platform/tray_shell.h"

namespace pellwick {

std::string trayMouseName(std::uint32_t id) {
  static constexpr std::array<const char*, 10> kNames{
      "MOUSEMOVE", "LBUTTONDOWN",   "LBUTTONUP",   "LBUTTONDBLCLK", "RBUTTONDOWN",
      "RBUTTONUP", "RBUTTONDBLCLK", "MBUTTONDOWN", "MBUTTONUP",     "MBUTTONDBLCLK"};
  if (id >= mouse_code::MouseMove && id <= mouse_code::MButtonDblClk) {
    return kNames[id - mouse_code::MouseMove];
  }
  return "OTHER....: " + std::to_string(id);
}

}  // namespace pellwick
