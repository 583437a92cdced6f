#include "platform/windows/win32_tray_icons.h"

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QMenu>

#include "platform/windows/notify_icon_record.h"
#include "platform/windows/shell_clicks.h"

namespace pellwick::win32 {
namespace {

class Win32TrayIcon : public TrayIcon {
 public:
  Win32TrayIcon(Win32TrayIcons& icons, std::uint32_t owner, Clicks clicks)
      : icons_(icons), owner_(owner), clicks_(std::move(clicks)) {
    icons_.shell().setMouseListener(owner_, [this](std::uint32_t code) { mouse(code); });
  }

  ~Win32TrayIcon() override {
    QObject::disconnect(menuClosed_);
    icons_.shell().setMouseListener(owner_, {});
    if (inTray_) send(TrayCommand::Delete);
  }

  void setIcon(const QIcon& icon) override {
    const std::uint32_t picture = icons_.iconHandle(icon);
    if (picture == picture_) return;
    picture_ = picture;
    if (inTray_) send(TrayCommand::Modify);
  }

  void show() override {
    if (!inTray_) inTray_ = send(TrayCommand::Add);
  }

  void setMenu(QMenu* menu) override {
    QObject::disconnect(menuClosed_);
    menu_ = menu;
    if (menu_) {
      menuClosed_ = QObject::connect(menu_, &QMenu::aboutToHide,
                                     [&shell = icons_.shell()] { shell.menuClosed(); });
    }
  }

 private:
  bool send(TrayCommand command) {
    NotifyIconData record;
    fillTrayIconRecord(record, owner_, picture_);
    return icons_.shell().notifyIcon(command, record);
  }

  void mouse(std::uint32_t code) {
    const auto click = shellClick(code);
    if (!click) return;
    if (click->button == MouseButton::Right && !click->doubleClick && menu_) {
      icons_.shell().showMenu([menu = menu_] {
        menu->popup(QCursor::pos());
        // Keys go to the active window: the menu, now that this program is in front.
        menu->activateWindow();
      });
    }
    const auto& handler = click->doubleClick ? clicks_.doubleClicked : clicks_.clicked;
    // A copy: the handler may destroy this icon.
    if (const auto call = handler) call(click->button);
  }

  Win32TrayIcons& icons_;
  const std::uint32_t owner_;
  Clicks clicks_;
  QMenu* menu_ = nullptr;
  QMetaObject::Connection menuClosed_;
  std::uint32_t picture_ = 0;
  bool inTray_ = false;
};

}  // namespace

std::unique_ptr<TrayIcon> Win32TrayIcons::createIcon(TrayIcon::Clicks clicks) {
  return std::make_unique<Win32TrayIcon>(*this, ++lastOwner_, std::move(clicks));
}

std::uint32_t Win32TrayIcons::iconHandle(const QIcon& icon) {
  if (const auto known = handles_.find(icon.cacheKey()); known != handles_.end()) {
    return known->second;
  }
  // The size the notification area shows.
  const QSize size(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
  const std::uint32_t handle = shell_.adoptIcon(icon.pixmap(size).toImage().toHICON());
  if (handle != 0) handles_.emplace(icon.cacheKey(), handle);
  return handle;
}

}  // namespace pellwick::win32
