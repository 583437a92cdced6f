#pragma once
// The 32-bit handle by which a window of ours names itself to the tray shell (hWnd).

#include <QWidget>
#include <cstdint>

namespace pellwick {

// Creates the native window if needed; never shows it.
inline std::uint32_t windowHandle(QWidget& window) {
  return static_cast<std::uint32_t>(window.winId());
}

}  // namespace pellwick
