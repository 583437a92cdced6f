#include "platform/linux/qt_tray_icons.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

namespace pellwick {
namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
constexpr int kDBusTimeoutMs = 1000;

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
  explicit EmbeddedTrayClicks(QtTrayIcons& icons) : icons_(icons) {
    QCoreApplication::instance()->installEventFilter(this);
  }

  // True when the activation came from a button event on an embedded icon.
  bool claim(QSystemTrayIcon* owner, QSystemTrayIcon::ActivationReason reason) {
    if (!press_ || !press_->awaitingActivation) return false;
    press_->awaitingActivation = false;
    press_->owner = owner;
    if (reason == QSystemTrayIcon::DoubleClick) {
      if (auto click = trayClickFor(QEvent::MouseButtonDblClick, press_->button)) {
        icons_.report(owner, *click);
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
      press_ = Press{watched, mouse.button(), nullptr, true};
      return false;
    }
    if (!press_ || press_->icon != watched || press_->button != mouse.button()) return false;
    QSystemTrayIcon* owner = press_->owner;
    press_.reset();
    const bool overIcon =
        static_cast<QWidget*>(watched)->rect().contains(mouse.position().toPoint());
    const auto click = trayClickFor(type, mouse.button());
    if (owner && overIcon && click) icons_.report(owner, *click);
    return false;
  }

 private:
  struct Press {
    QPointer<QObject> icon;
    Qt::MouseButton button;
    QPointer<QSystemTrayIcon> owner;
    bool awaitingActivation;
  };

  QtTrayIcons& icons_;
  std::optional<Press> press_;
};

std::optional<TrayClick> trayClickFor(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      return TrayClick{MouseButton::Left};
    case QSystemTrayIcon::DoubleClick:
      return TrayClick{MouseButton::Left, true};
    case QSystemTrayIcon::Context:
      return TrayClick{MouseButton::Right};
    case QSystemTrayIcon::MiddleClick:
      return TrayClick{MouseButton::Middle};
    case QSystemTrayIcon::Unknown:
      break;
  }
  return std::nullopt;
}

std::optional<TrayClick> trayClickFor(QEvent::Type type, Qt::MouseButton button) {
  const bool release = type == QEvent::MouseButtonRelease;
  if (!release && type != QEvent::MouseButtonDblClick) return std::nullopt;
  switch (button) {
    case Qt::LeftButton:
      return TrayClick{MouseButton::Left, !release};
    case Qt::RightButton:
      return TrayClick{MouseButton::Right, !release};
    case Qt::MiddleButton:
      return TrayClick{MouseButton::Middle, !release};
    default:
      return std::nullopt;
  }
}

class QtTrayIcon : public TrayIcon {
 public:
  QtTrayIcon(QtTrayIcons& icons, Clicks clicks) : icons_(icons), clicks_(std::move(clicks)) {}

  ~QtTrayIcon() override {
    if (!icon_) return;
    icons_.icons_.remove(icon_);
    // Qt may still be reporting a click on it.
    icon_->hide();
    icon_->deleteLater();
  }

  void setIcon(const QIcon& icon) override {
    picture_ = icon;
    if (!icon_) {
      if (shown_) show();
    } else if (icon.cacheKey() != icon_->icon().cacheKey()) {
      icon_->setIcon(icon);
    }
  }

  void show() override {
    shown_ = true;
    if (!icon_ && !create()) return;
    // An embedded icon would open the menu on the press: there clicked() opens it.
    if (icons_.showsMenusItself()) icon_->setContextMenu(menu_);
    icon_->show();
  }

  void setMenu(QMenu* menu) override { menu_ = menu; }

  void report(TrayClick click) {
    if (click.button == MouseButton::Right && !click.doubleClick && menu_) {
      // The menu grabs mouse and keyboard, so it closes when the user clicks elsewhere.
      menu_->popup(QCursor::pos());
    }
    const auto& handler = click.doubleClick ? clicks_.doubleClicked : clicks_.clicked;
    // A copy: the handler may destroy this icon.
    if (const auto call = handler) call(click.button);
  }

 private:
  // Qt's icon, made once Qt has chosen its tray.
  bool create() {
    if (!icons_.qtTrayChosen()) return false;
    icon_ = new QSystemTrayIcon(picture_, &icons_.iconParent_);
    QObject::connect(icon_, &QSystemTrayIcon::activated, icon_,
                     [&icons = icons_, icon = icon_](QSystemTrayIcon::ActivationReason reason) {
                       icons.activated(icon, reason);
                     });
    icons_.icons_.insert(icon_, this);
    return true;
  }

  QtTrayIcons& icons_;
  Clicks clicks_;
  QSystemTrayIcon* icon_ = nullptr;
  QIcon picture_;
  QMenu* menu_ = nullptr;
  bool shown_ = false;
};

QtTrayIcons::QtTrayIcons() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) {
    // No XEmbed tray: Qt is asked once a host shows StatusNotifierItems, so it picks that.
    statusNotifierHost_ = std::make_unique<StatusNotifierHost>();
    return;
  }
  // Qt settles on the D-Bus or the XEmbed tray at its first question, asked right here.
  const bool host = statusNotifierHostRegistered(QDBusConnection::sessionBus());
  qtTrayChosen_ = true;
  QSystemTrayIcon::isSystemTrayAvailable();
  if (host) {
    statusNotifierHost_ = std::make_unique<StatusNotifierHost>();
  } else {
    embeddedClicks_ = std::make_unique<EmbeddedTrayClicks>(*this);
  }
}

QtTrayIcons::~QtTrayIcons() = default;

std::unique_ptr<TrayIcon> QtTrayIcons::createIcon(TrayIcon::Clicks clicks) {
  return std::make_unique<QtTrayIcon>(*this, std::move(clicks));
}

bool QtTrayIcons::available() const {
  return statusNotifierHost_ ? statusNotifierHost_->registered()
                             : QSystemTrayIcon::isSystemTrayAvailable();
}

bool QtTrayIcons::qtTrayChosen() {
  if (!qtTrayChosen_ && statusNotifierHost_->registered()) {
    qtTrayChosen_ = true;
    QSystemTrayIcon::isSystemTrayAvailable();
  }
  return qtTrayChosen_;
}

void QtTrayIcons::activated(QSystemTrayIcon* icon, QSystemTrayIcon::ActivationReason reason) {
  if (embeddedClicks_ && embeddedClicks_->claim(icon, reason)) return;
  if (auto click = trayClickFor(reason)) report(icon, *click);
}

void QtTrayIcons::report(QSystemTrayIcon* icon, TrayClick click) {
  if (QtTrayIcon* owner = icons_.value(icon)) owner->report(click);
}

}  // namespace pellwick

#include "qt_tray_icons.moc"
