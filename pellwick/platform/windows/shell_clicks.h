#pragma once
// The shell's mouse codes for a tray icon, as clicks.

#include <cstdint>
#include <optional>

#include "platform/tray_icons.h"
#include "platform/windows/notify_icon_data.h"

namespace pellwick {

// A release is a click, a double-click code a double click; moves and presses are nothing.
inline std::optional<TrayClick> shellClick(std::uint32_t code) {
  switch (code) {
    case mouse_code::LButtonUp:
      return TrayClick{MouseButton::Left};
    case mouse_code::LButtonDblClk:
      return TrayClick{MouseButton::Left, true};
    case mouse_code::RButtonUp:
      return TrayClick{MouseButton::Right};
    case mouse_code::RButtonDblClk:
      return TrayClick{MouseButton::Right, true};
    case mouse_code::MButtonUp:
      return TrayClick{MouseButton::Middle};
    case mouse_code::MButtonDblClk:
      return TrayClick{MouseButton::Middle, true};
    default:
      return std::nullopt;
  }
}

}  // namespace pellwick
