// Test-only: the reminders window with its blinking icon in the desktop's real tray, to look
// at on a test desktop. Closing the window leaves the program running without an icon; it
// ends when it is told to terminate.
//
// The tray here is a bare QSystemTrayIcon per icon, standing in for the program's own tray
// shell: a left click reports 514, a right click 517, a double click 515, the middle 520.

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QPointer>
#include <QSystemTrayIcon>
#include <map>
#include <memory>
#include <vector>

#include "flasher/reminders.h"

namespace {

using pellwick::NotifyIconData;
using pellwick::TrayCommand;

class DemoTrayShell : public pellwick::TrayShell {
 public:
  std::uint32_t iconHandle(std::span<const std::uint8_t> icoFile) override {
    std::vector<std::uint8_t> bytes(icoFile.begin(), icoFile.end());
    if (auto known = handles_.find(bytes); known != handles_.end()) return known->second;
    QPixmap picture;
    if (!picture.loadFromData(bytes.data(), static_cast<uint>(bytes.size()))) return 0;
    const auto handle = static_cast<std::uint32_t>(handles_.size() + 1);
    handles_.emplace(std::move(bytes), handle);
    pictures_[handle] = QIcon(picture);
    return handle;
  }

  bool notifyIcon(TrayCommand command, const NotifyIconData& data) override {
    const auto icon = icons_.find({data.hWnd, data.uID});
    switch (command) {
      case TrayCommand::Add: {
        if (icon != icons_.end()) return false;
        auto tray = std::make_unique<QSystemTrayIcon>(pictures_[data.hIcon]);
        QObject::connect(tray.get(), &QSystemTrayIcon::activated,
                         [this, owner = data.hWnd](QSystemTrayIcon::ActivationReason reason) {
                           report(owner, reason);
                         });
        tray->show();
        icons_.emplace(std::pair{data.hWnd, data.uID}, std::move(tray));
        return true;
      }
      case TrayCommand::Modify:
        if (icon == icons_.end()) return false;
        icon->second->setIcon(pictures_[data.hIcon]);
        return true;
      case TrayCommand::Delete:
        if (icon == icons_.end()) return false;
        icons_.erase(icon);
        return true;
    }
    return false;
  }

  void setMouseListener(std::uint32_t owner, std::function<void(std::uint32_t)> listener) override {
    if (listener) {
      listeners_[owner] = std::move(listener);
    } else {
      listeners_.erase(owner);
    }
  }

 private:
  void report(std::uint32_t owner, QSystemTrayIcon::ActivationReason reason) {
    const auto listener = listeners_.find(owner);
    if (listener == listeners_.end()) return;
    switch (reason) {
      case QSystemTrayIcon::Trigger:
        listener->second(pellwick::mouse_code::LButtonUp);
        break;
      case QSystemTrayIcon::Context:
        listener->second(pellwick::mouse_code::RButtonUp);
        break;
      case QSystemTrayIcon::DoubleClick:
        listener->second(pellwick::mouse_code::LButtonDblClk);
        break;
      case QSystemTrayIcon::MiddleClick:
        listener->second(pellwick::mouse_code::MButtonUp);
        break;
      case QSystemTrayIcon::Unknown:
        break;
    }
  }

  std::map<std::vector<std::uint8_t>, std::uint32_t> handles_;
  std::map<std::uint32_t, QIcon> pictures_;
  std::map<std::pair<std::uint32_t, std::uint32_t>, std::unique_ptr<QSystemTrayIcon>> icons_;
  std::map<std::uint32_t, std::function<void(std::uint32_t)>> listeners_;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  DemoTrayShell tray;
  QPointer<pellwick::Reminders> reminders;
  reminders = new pellwick::Reminders(tray, [&] { reminders->bringToFront(); });
  reminders->bringToFront();
  const int status = app.exec();
  delete reminders.data();
  return status;
}
