#pragma once
// A notification area in memory: the icons that exist, what each shows, and clicks a test
// plays to them.

#include <QIcon>
#include <algorithm>
#include <iterator>
#include <vector>

#include "platform/tray_icons.h"

namespace pellwick::testing {

class FakeTrayIcon;

class FakeTrayIcons : public TrayIcons {
 public:
  std::unique_ptr<TrayIcon> createIcon(TrayIcon::Clicks clicks) override;
  bool available() const override { return isAvailable; }

  // The icons shown now, oldest first.
  std::vector<FakeTrayIcon*> shown() const;

  std::vector<FakeTrayIcon*> icons;  // all that exist, shown or not
  bool isAvailable = true;
};

class FakeTrayIcon : public TrayIcon {
 public:
  FakeTrayIcon(FakeTrayIcons& tray, Clicks clicks) : tray_(tray), clicks_(std::move(clicks)) {
    tray_.icons.push_back(this);
  }
  ~FakeTrayIcon() override { std::erase(tray_.icons, this); }

  void setIcon(const QIcon& icon) override {
    if (icon.cacheKey() != picture.cacheKey()) ++pictureChanges;
    picture = icon;
  }
  void show() override { isShown = true; }
  void setMenu(QMenu* newMenu) override { menu = newMenu; }

  // As the user would; the handler may delete this icon.
  void click(MouseButton button) {
    if (const auto handler = clicks_.clicked) handler(button);
  }
  void doubleClick(MouseButton button) {
    if (const auto handler = clicks_.doubleClicked) handler(button);
  }

  QIcon picture;
  int pictureChanges = 0;
  bool isShown = false;
  QMenu* menu = nullptr;

 private:
  FakeTrayIcons& tray_;
  Clicks clicks_;
};

inline std::unique_ptr<TrayIcon> FakeTrayIcons::createIcon(TrayIcon::Clicks clicks) {
  return std::make_unique<FakeTrayIcon>(*this, std::move(clicks));
}

inline std::vector<FakeTrayIcon*> FakeTrayIcons::shown() const {
  std::vector<FakeTrayIcon*> result;
  std::copy_if(icons.begin(), icons.end(), std::back_inserter(result),
               [](const FakeTrayIcon* icon) { return icon->isShown; });
  return result;
}

}  // namespace pellwick::testing
