#include "platform/linux/qt_tray_shell.h"

#include <QBuffer>
#include <QImageReader>
#include <QPixmap>

namespace pellwick {
namespace {

constexpr std::uint32_t kIconFlag = 2;  // NIF_ICON
constexpr std::uint32_t kTipFlag = 4;   // NIF_TIP

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

}  // namespace

std::vector<std::uint32_t> mouseCodesFor(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      return {mouse_code::LButtonUp};
    case QSystemTrayIcon::DoubleClick:
      return {mouse_code::LButtonDblClk, mouse_code::LButtonUp};
    case QSystemTrayIcon::Context:
      return {mouse_code::RButtonUp};
    case QSystemTrayIcon::MiddleClick:
      return {mouse_code::MButtonUp};
    case QSystemTrayIcon::Unknown:
      break;
  }
  return {};
}

QtTrayShell::QtTrayShell() = default;

QtTrayShell::~QtTrayShell() {
  for (auto& [key, trayIcon] : trayIcons_) trayIcon->hide();
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
          [this, owner](QSystemTrayIcon::ActivationReason reason) { report(owner, reason); });
      apply(*trayIcon, data);
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

void QtTrayShell::report(std::uint32_t owner, QSystemTrayIcon::ActivationReason reason) {
  for (std::uint32_t code : mouseCodesFor(reason)) {
    const auto listener = listeners_.find(owner);
    if (listener == listeners_.end()) return;
    // The listener may replace itself while it runs.
    const auto call = listener->second;
    call(code);
  }
}

}  // namespace pellwick
