#include "reminders/blinking_tray_icon.h"

#include "resources/built_in_pictures.h"

namespace pellwick {

BlinkingTrayIcon::BlinkingTrayIcon(TrayIcons& trayIcons, std::function<void()> leftClicked)
    : to_(builtInPicturePath("flash_to.ico")),
      do_(builtInPicturePath("flash_do.ico")),
      leftClicked_(std::move(leftClicked)),
      icon_(trayIcons.createIcon({.clicked =
                                      [this](MouseButton button) {
                                        if (button == MouseButton::Left && leftClicked_) {
                                          leftClicked_();
                                        }
                                      },
                                  .doubleClicked = {}})) {
  icon_->setIcon(to_);
  icon_->show();
  timer_.setInterval(1000);
  connect(&timer_, &QTimer::timeout, this, &BlinkingTrayIcon::blink);
  timer_.start();
}

BlinkingTrayIcon::~BlinkingTrayIcon() = default;

bool BlinkingTrayIcon::setInterval(std::int16_t milliseconds) {
  if (milliseconds < 0) return false;
  timer_.stop();
  timer_.setInterval(milliseconds);
  if (milliseconds > 0) timer_.start();
  return true;
}

void BlinkingTrayIcon::blink() {
  showsDo_ = !showsDo_;
  icon_->setIcon(showsDo_ ? do_ : to_);
}

}  // namespace pellwick
