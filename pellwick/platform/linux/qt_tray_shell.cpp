#include "platform/linux/qt_tray_shell.h"

#include <QCoreApplication>
#include <QBuffer>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QImageReader>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

namespace pellwick {
namespace {

constexpr std::uint32_t kIconFlag = 2;  // NIF_ICON
constexpr std::uint32_t kTipFlag = 4;   // NIF_TIP

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
constexpr int kDBusTimeoutMs = 1000;

QString tipText(const NotifyIconData& data) {
  QString tip;
  for (char16_t c : data.szTip) {
    if (c == 0) break;
    tip += QChar(c);
  }
  return tip;
}

QIcon readIcon(QByteArray icoFile) {
  QBuffer buffer(&icoFile);
  QImageReader reader(&buffer, "ico");
  QIcon icon;
  for (int i = 0; i < reader.imageCount(); ++i) {
    if (!reader.jumpToImage(i)) break;
    const QImage image = reader.read();
    if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

// Asks the session bus's StatusNotifierWatcher whether a host shows its items.
bool statusNotifierHostRegistered(QDBusConnection bus) {
  if (!bus.isConnected()) return false;
  QDBusMessage get = QDBusMessage::createMethodCall(
      kWatcherService, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
      QStringLiteral("Get"));
  get.setArguments({kWatcherService, QStringLiteral("IsStatusNotifierHostRegistered")});
  const QDBusMessage reply = bus.call(get, QDBus::Block, kDBusTimeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
  return reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

}  // namespace

// Follows the StatusNotifier host, so that asking whether there is a tray costs nothing.
class StatusNotifierHost : public QObject {
  Q_OBJECT

 public:
  StatusNotifierHost()
      : bus_(QDBusConnection::sessionBus()),
        watcher_(kWatcherService, bus_, QDBusServiceWatcher::WatchForOwnerChange) {
    connect(&watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &StatusNotifierHost::refresh);
    for (const char* change : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"}) {
      bus_.connect(kWatcherService, kWatcherPath, kWatcherService, QString::fromLatin1(change),
                   this, SLOT(refresh()));
    }
    refresh();
  }

  bool registered() const { return registered_; }

 private slots:
  void refresh() { registered_ = statusNotifierHostRegistered(bus_); }

 private:
  QDBusConnection bus_;
  QDBusServiceWatcher watcher_;
  bool registered_ = false;
};

// Qt's embedded icon acts when a button goes down. Its presses still reach Qt, which names
// the icon they belong to by reporting an activation; the click is reported at the release.
class EmbeddedTrayClicks : public QObject {
 public:
  explicit EmbeddedTrayClicks(QtTrayShell& shell) : shell_(shell) {
    QCoreApplication::instance()->installEventFilter(this);
  }

  // True when the activation came from a button event on an embedded icon.
  bool claim(std::uint32_t owner, QSystemTrayIcon::ActivationReason reason) {
    if (!press_ || !press_->awaitingActivation) return false;
    press_->awaitingActivation = false;
    press_->owner = owner;
    if (reason == QSystemTrayIcon::DoubleClick) {
      if (auto code = mouseCodeFor(QEvent::MouseButtonDblClick, press_->button)) {
        shell_.report(owner, *code);
      }
    }
    return true;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseButtonRelease) {
      return false;
    }
    if (!watched->inherits("QSystemTrayIconSys")) return false;
    const auto& mouse = static_cast<const QMouseEvent&>(*event);
    if (type != QEvent::MouseButtonRelease) {
      // The second press of a double click comes as a double click alone.
      press_ = Press{watched, mouse.button(), std::nullopt, true};
      return false;
    }
    if (!press_ || press_->icon != watched || press_->button != mouse.button()) return false;
    const std::optional<std::uint32_t> owner = press_->owner;
    press_.reset();
    const bool overIcon =
        static_cast<QWidget*>(watched)->rect().contains(mouse.position().toPoint());
    const auto code = mouseCodeFor(type, mouse.button());
    if (owner && overIcon && code) shell_.report(*owner, *code);
    return false;
  }

 private:
  struct Press {
    QPointer<QObject> icon;
    Qt::MouseButton button;
    std::optional<std::uint32_t> owner;
    bool awaitingActivation;
  };

  QtTrayShell& shell_;
  std::optional<Press> press_;
};

std::optional<std::uint32_t> mouseCodeFor(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      return mouse_code::LButtonUp;
    case QSystemTrayIcon::DoubleClick:
      return mouse_code::LButtonDblClk;
    case QSystemTrayIcon::Context:
      return mouse_code::RButtonUp;
    case QSystemTrayIcon::MiddleClick:
      return mouse_code::MButtonUp;
    case QSystemTrayIcon::Unknown:
      break;
  }
  return std::nullopt;
}

std::optional<std::uint32_t> mouseCodeFor(QEvent::Type type, Qt::MouseButton button) {
  const bool release = type == QEvent::MouseButtonRelease;
  if (!release && type != QEvent::MouseButtonDblClick) return std::nullopt;
  switch (button) {
    case Qt::LeftButton:
      return release ? mouse_code::LButtonUp : mouse_code::LButtonDblClk;
    case Qt::RightButton:
      return release ? mouse_code::RButtonUp : mouse_code::RButtonDblClk;
    case Qt::MiddleButton:
      return release ? mouse_code::MButtonUp : mouse_code::MButtonDblClk;
    default:
      return std::nullopt;
  }
}

QtTrayShell::QtTrayShell() : embeddedClicks_(std::make_unique<EmbeddedTrayClicks>(*this)) {
  // Qt settles on the D-Bus or the XEmbed tray at its first question, asked right here.
  const bool host = statusNotifierHostRegistered(QDBusConnection::sessionBus());
  QSystemTrayIcon::isSystemTrayAvailable();
  if (host) statusNotifierHost_ = std::make_unique<StatusNotifierHost>();
}

QtTrayShell::~QtTrayShell() {
  for (auto& [key, trayIcon] : trayIcons_) trayIcon->hide();
}

bool QtTrayShell::trayAvailable() const {
  return statusNotifierHost_ ? statusNotifierHost_->registered()
                             : QSystemTrayIcon::isSystemTrayAvailable();
}

std::uint32_t QtTrayShell::iconHandle(std::span<const std::uint8_t> icoFile) {
  const QByteArray bytes(reinterpret_cast<const char*>(icoFile.data()),
                         static_cast<qsizetype>(icoFile.size()));
  if (auto known = handles_.constFind(bytes); known != handles_.cend()) return *known;
  const QIcon icon = readIcon(bytes);
  if (icon.isNull()) return 0;
  const auto handle = static_cast<std::uint32_t>(handles_.size() + 1);
  handles_.insert(bytes, handle);
  pictures_.emplace(handle, icon);
  return handle;
}

bool QtTrayShell::notifyIcon(TrayCommand command, const NotifyIconData& data) {
  const IconKey key{data.hWnd, data.uID};
  const auto existing = trayIcons_.find(key);
  switch (command) {
    case TrayCommand::Add: {
      if (existing != trayIcons_.end()) return false;
      auto* trayIcon = new QSystemTrayIcon(&iconParent_);
      const std::uint32_t owner = data.hWnd;
      QObject::connect(
          trayIcon, &QSystemTrayIcon::activated, trayIcon,
          [this, owner](QSystemTrayIcon::ActivationReason reason) { activated(owner, reason); });
      apply(*trayIcon, data);
      // An embedded icon would open the menu on the press: there the listener opens it.
      if (const auto menu = menus_.find(owner); menu != menus_.end() && statusNotifierHost_) {
        trayIcon->setContextMenu(menu->second);
      }
      trayIcon->show();
      trayIcons_.emplace(key, trayIcon);
      return true;
    }
    case TrayCommand::Modify:
      if (existing == trayIcons_.end()) return false;
      apply(*existing->second, data);
      return true;
    case TrayCommand::Delete:
      if (existing == trayIcons_.end()) return false;
      // A listener may delete its own icon while Qt still reports the click on it.
      existing->second->hide();
      existing->second->deleteLater();
      trayIcons_.erase(existing);
      return true;
  }
  return false;
}

void QtTrayShell::setMouseListener(std::uint32_t owner,
                                   std::function<void(std::uint32_t)> listener) {
  if (listener) {
    listeners_[owner] = std::move(listener);
  } else {
    listeners_.erase(owner);
  }
}

void QtTrayShell::setMenu(std::uint32_t owner, QMenu* menu) {
  if (menu) {
    menus_[owner] = menu;
  } else {
    menus_.erase(owner);
  }
}

void QtTrayShell::apply(QSystemTrayIcon& trayIcon, const NotifyIconData& data) {
  if (data.uFlags & kIconFlag) {
    const auto picture = pictures_.find(data.hIcon);
    const QIcon icon = picture == pictures_.end() ? QIcon() : picture->second;
    if (icon.cacheKey() != trayIcon.icon().cacheKey()) trayIcon.setIcon(icon);
  }
  if (data.uFlags & kTipFlag) {
    const QString tip = tipText(data);
    if (tip != trayIcon.toolTip()) trayIcon.setToolTip(tip);
  }
}

void QtTrayShell::activated(std::uint32_t owner, QSystemTrayIcon::ActivationReason reason) {
  if (embeddedClicks_->claim(owner, reason)) return;
  if (auto code = mouseCodeFor(reason)) report(owner, *code);
}

void QtTrayShell::report(std::uint32_t owner, std::uint32_t code) {
  const auto listener = listeners_.find(owner);
  if (listener == listeners_.end()) return;
  // The listener may replace itself while it runs.
  const auto call = listener->second;
  call(code);
}

}  // namespace pellwick

#include "qt_tray_shell.moc"
