#pragma once
// Notification-area icons through Qt's QSystemTrayIcon. Qt shows them as StatusNotifierItems
// over D-Bus when a host is registered as Pellwick starts; otherwise, on X11, it embeds them
// in the desktop's XEmbed tray, and again whenever a tray comes (back). Other platforms
// (Wayland) have the D-Bus tray alone: there the icons wait for a host.

#include <QEvent>
#include <QHash>
#include <QObject>
#include <QSystemTrayIcon>
#include <memory>
#include <optional>

#include "platform/tray_icons.h"

namespace pellwick {

// A D-Bus tray's host decides what a click is and reports it as an activation.
std::optional<TrayClick> trayClickFor(QSystemTrayIcon::ActivationReason reason);

// An icon in an XEmbed tray is our own window and sees the buttons themselves: a release
// over the icon is a click, the second press of a double click a double click; a press
// alone is nothing.
std::optional<TrayClick> trayClickFor(QEvent::Type type, Qt::MouseButton button);

class EmbeddedTrayClicks;
class QtTrayIcon;
class StatusNotifierHost;

class QtTrayIcons : public TrayIcons {
 public:
  QtTrayIcons();
  ~QtTrayIcons() override;

  std::unique_ptr<TrayIcon> createIcon(TrayIcon::Clicks clicks) override;
  bool available() const override;

 private:
  friend class EmbeddedTrayClicks;  // reports the clicks seen on embedded icons
  friend class QtTrayIcon;

  void activated(QSystemTrayIcon* icon, QSystemTrayIcon::ActivationReason reason);
  void report(QSystemTrayIcon* icon, TrayClick click);
  bool showsMenusItself() const { return statusNotifierHost_ != nullptr; }
  // Whether Qt may be given icons: it settles on its tray at its first question.
  bool qtTrayChosen();

  // Set when Qt shows the icons through a D-Bus host; Qt keeps that choice until the end.
  std::unique_ptr<StatusNotifierHost> statusNotifierHost_;
  std::unique_ptr<EmbeddedTrayClicks> embeddedClicks_;  // XEmbed tray only
  bool qtTrayChosen_ = false;
  QObject iconParent_;  // owns the QSystemTrayIcons, also those waiting for deletion
  QHash<QSystemTrayIcon*, QtTrayIcon*> icons_;
};

}  // namespace pellwick
