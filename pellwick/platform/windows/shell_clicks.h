#pragma once
// The shell's mouse codes for a tray icon, as clicks.

#include <cstdint>
#include <optional>

#include "platform/tray_icons.h"
#include "platform/windows/notify_icon_data.h"

namespace pellwick {

struct ShellClick {
  MouseButton button;
  bool doubleClick = false;
  bool operator==(const ShellClick&) const = default;
};

// A release is a click, a double-click code a double click; moves and presses are nothing.
inline std::optional<ShellClick> shellClick(std::uint32_t code) {
  switch (code) {
    case mouse_code::LButtonUp:
      return ShellClick{MouseButton::Left};
    case mouse_code::LButtonDblClk:
      return ShellClick{MouseButton::Left, true};
    case mouse_code::RButtonUp:
      return ShellClick{MouseButton::Right};
    case mouse_code::RButtonDblClk:
      return ShellClick{MouseButton::Right, true};
    case mouse_code::MButtonUp:
      return ShellClick{MouseButton::Middle};
    case mouse_code::MButtonDblClk:
      return ShellClick{MouseButton::Middle, true};
    default:
      return std::nullopt;
  }
}

}  // namespace pellwick
