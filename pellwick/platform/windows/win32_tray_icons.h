#pragma once
// The notification area on Windows, over the shell's records: each icon is filed under an
// owner number of its own, and the shell's mouse codes become clicks.

#include <QtGlobal>
#include <cstdint>
#include <map>

#include "platform/tray_icons.h"
#include "platform/windows/win32_tray_shell.h"

namespace pellwick::win32 {

class Win32TrayIcons : public TrayIcons {
 public:
  std::unique_ptr<TrayIcon> createIcon(TrayIcon::Clicks clicks) override;
  bool available() const override { return true; }

  // The shell's handle for a picture, made once per picture.
  std::uint32_t iconHandle(const QIcon& icon);
  Win32TrayShell& shell() { return shell_; }

 private:
  Win32TrayShell shell_;
  std::map<qint64, std::uint32_t> handles_;  // by QIcon::cacheKey()
  std::uint32_t lastOwner_ = 0;
};

}  // namespace pellwick::win32
