#pragma once
// The names of the mouse message codes the tray reports for an icon.

#include <cstdint>
#include <string>

namespace pellwick {

// "MOUSEMOVE" .. "MBUTTONDBLCLK" for 512..521; "OTHER....: " and the code in decimal
// for any other code.
std::string trayMouseName(std::uint32_t code);

}  // namespace pellwick
