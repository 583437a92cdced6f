#include "flasher/flasher.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string_view>

#include "platform/notify_icon_record.h"
#include "tray_host/tray_mouse.h"

namespace pellwick {
namespace {

std::optional<IconFile> readPictureFile(const std::string& utf8Name) {
  const std::u8string name(utf8Name.begin(), utf8Name.end());
  std::ifstream in(std::filesystem::path(name), std::ios::binary);
  if (!in) return std::nullopt;
  IconFile bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool isDefault(const std::string& text) {
  static constexpr std::string_view kDefault = "DEFAULT";
  if (text.size() != kDefault.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(text[i])) != kDefault[i]) return false;
  }
  return true;
}

template <class... Cases>
struct Overloaded : Cases... {
  using Cases::operator()...;
};
template <class... Cases>
Overloaded(Cases...) -> Overloaded<Cases...>;  // clang 14 deduces no aggregates

}  // namespace

Flasher::Flasher(TrayShell& shell, std::uint32_t owner, const IconFile& flash1,
                 const IconFile& flash2, Handlers handlers)
    : shell_(shell),
      owner_(owner),
      flash1_(shell.iconHandle(flash1)),
      flash2_(shell.iconHandle(flash2)),
      handlers_(std::move(handlers)) {}

Flasher::~Flasher() { withdraw(); }

void Flasher::load() {
  icon_ = flash1_;
  iconChanged();
  timerEnabled_ = true;
  restartTimer();
  shell_.setMouseListener(owner_, [this](std::uint32_t code) { mouse(code); });
  notifyTrayIcon(TrayCommand::Add);
  inTray_ = true;
}

void Flasher::tick() {
  phase_ = static_cast<std::int16_t>(~phase_);
  icon_ = phase_ == -1 ? flash2_ : flash1_;
  iconChanged();
  notifyTrayIcon(TrayCommand::Modify);
}

bool Flasher::setInterval(std::int16_t milliseconds) {
  if (milliseconds < 0) return false;
  interval_ = milliseconds;
  restartTimer();
  notifyTrayIcon(TrayCommand::Modify);
  return true;
}

std::optional<std::int16_t> Flasher::interval() const {
  if (interval_ > std::numeric_limits<std::int16_t>::max()) return std::nullopt;
  return static_cast<std::int16_t>(interval_);
}

void Flasher::setTrayIcon(const TrayIconValue& value) {
  timerEnabled_ = false;
  bool failed = false;
  // a picture that cannot be shown leaves the icon as it was
  const auto show = [&](const std::optional<IconFile>& picture) {
    const std::uint32_t handle = picture ? shell_.iconHandle(*picture) : 0;
    if (handle == 0) {
      failed = true;
    } else {
      icon_ = handle;
    }
  };
  std::visit(Overloaded{[&](const PictureHolder& holder) { show(holder.picture); },
                        [&](const IconHolder& holder) { show(holder.icon); },
                        [&](const std::string& text) {
                          timerEnabled_ = true;
                          if (isDefault(text)) {
                            icon_ = flash2_;
                          } else {
                            show(readPictureFile(text));
                          }
                        }},
             value);
  iconChanged();
  if (failed) timerEnabled_ = true;
  restartTimer();
  notifyTrayIcon(TrayCommand::Modify);
}

void Flasher::ownerUnloaded() {
  withdraw();
  timerEnabled_ = false;
  restartTimer();
}

void Flasher::notifyTrayIcon(TrayCommand action) {
  fillTrayIconRecord(record_, owner_, icon_);
  shell_.notifyIcon(action, record_);
}

void Flasher::mouse(std::uint32_t code) {
  if (handlers_.trayMouse) handlers_.trayMouse(trayMouseName(code));
  if (code == mouse_code::LButtonUp && handlers_.showReminders) handlers_.showReminders();
}

void Flasher::iconChanged() {
  if (handlers_.iconChanged) handlers_.iconChanged();
}

void Flasher::restartTimer() {
  if (handlers_.restartTimer) handlers_.restartTimer(tickPeriod());
}

void Flasher::withdraw() {
  if (!inTray_) return;
  inTray_ = false;
  shell_.setMouseListener(owner_, {});
  notifyTrayIcon(TrayCommand::Delete);
}

}  // namespace pellwick
