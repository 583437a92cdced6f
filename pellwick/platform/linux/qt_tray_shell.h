#pragma once
// Notification-area icons through Qt: one QSystemTrayIcon per (owner, id). Qt shows them as
// StatusNotifierItems over D-Bus when a host is registered as Pellwick starts; otherwise it
// embeds them in the desktop's XEmbed tray, and again whenever a tray comes (back).

#include <QByteArray>
#include <QEvent>
#include <QHash>
#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "platform/tray_shell.h"

namespace pellwick {

// A D-Bus tray's host decides what a click is and reports it as an activation.
std::optional<std::uint32_t> mouseCodeFor(QSystemTrayIcon::ActivationReason reason);

// An icon in an XEmbed tray is our own window and sees the buttons themselves. The shell
// reports a release over the icon, and the second press of a double click; a press alone
// reports nothing.
std::optional<std::uint32_t> mouseCodeFor(QEvent::Type type, Qt::MouseButton button);

class EmbeddedTrayClicks;
class StatusNotifierHost;

class QtTrayShell : public TrayShell {
 public:
  QtTrayShell();
  ~QtTrayShell() override;

  std::uint32_t iconHandle(std::span<const std::uint8_t> icoFile) override;
  bool notifyIcon(TrayCommand command, const NotifyIconData& data) override;
  void setMouseListener(std::uint32_t owner,
                        std::function<void(std::uint32_t code)> listener) override;
  void setMenu(std::uint32_t owner, QMenu* menu) override;
  bool trayAvailable() const override;

 private:
  using IconKey = std::pair<std::uint32_t, std::uint32_t>;  // (hWnd, uID)

  void apply(QSystemTrayIcon& trayIcon, const NotifyIconData& data);
  void activated(std::uint32_t owner, QSystemTrayIcon::ActivationReason reason);
  void report(std::uint32_t owner, std::uint32_t code);
  friend class EmbeddedTrayClicks;  // reports the clicks seen on embedded icons


  // Set when Qt shows the icons through a D-Bus host; Qt keeps that choice until the end.
  std::unique_ptr<StatusNotifierHost> statusNotifierHost_;
  std::unique_ptr<EmbeddedTrayClicks> embeddedClicks_;
  QObject iconParent_;  // owns the QSystemTrayIcons, also those waiting for deletion
  std::map<IconKey, QSystemTrayIcon*> trayIcons_;
  QHash<QByteArray, std::uint32_t> handles_;  // by the icon file's bytes
  std::map<std::uint32_t, QIcon> pictures_;
  std::map<std::uint32_t, std::function<void(std::uint32_t)>> listeners_;
  std::map<std::uint32_t, QMenu*> menus_;
};

}  // namespace pellwick
