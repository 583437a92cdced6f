#pragma once
// Names of the mouse messages the shell reports for a tray icon, shared by both tray decoders.

#include <cstdint>
#include <string>

namespace pellwick {

// "MOUSEMOVE" .. "MBUTTONDBLCLK" for 512..521; "OTHER....: " and the number otherwise.
std::string trayMouseName(std::uint32_t id);

}  // namespace pellwick
