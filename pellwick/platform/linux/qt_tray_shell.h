#pragma once
// Notification-area icons through Qt: one QSystemTrayIcon per (owner, id). On X11 Qt embeds
// them in the desktop's tray (XEmbed) and embeds them again when the tray comes back.

#include <QByteArray>
#include <QHash>
#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>
#include <map>
#include <utility>
#include <vector>

#include "platform/tray_shell.h"

namespace pellwick {

// The shell's mouse codes for one activation Qt reports. Qt reports a left press as
// Trigger and the second press of a double click as DoubleClick; the shell reports a
// release after each press, so a double click yields LBUTTONDBLCLK then LBUTTONUP.
std::vector<std::uint32_t> mouseCodesFor(QSystemTrayIcon::ActivationReason reason);

class QtTrayShell : public TrayShell {
 public:
  QtTrayShell();
  ~QtTrayShell() override;

  std::uint32_t iconHandle(std::span<const std::uint8_t> icoFile) override;
  bool notifyIcon(TrayCommand command, const NotifyIconData& data) override;
  void setMouseListener(std::uint32_t owner,
                        std::function<void(std::uint32_t code)> listener) override;

 private:
  using IconKey = std::pair<std::uint32_t, std::uint32_t>;  // (hWnd, uID)

  void apply(QSystemTrayIcon& trayIcon, const NotifyIconData& data);
  void report(std::uint32_t owner, QSystemTrayIcon::ActivationReason reason);

  QObject iconParent_;  // owns the QSystemTrayIcons, also those waiting for deletion
  std::map<IconKey, QSystemTrayIcon*> trayIcons_;
  QHash<QByteArray, std::uint32_t> handles_;  // by the icon file's bytes
  std::map<std::uint32_t, QIcon> pictures_;
  std::map<std::uint32_t, std::function<void(std::uint32_t)>> listeners_;
};

}  // namespace pellwick
