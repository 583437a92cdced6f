#pragma once
// A notification area in memory: records every command, keeps the icons that exist,
// and lets a test play mouse codes to an owner.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/tray_shell.h"

namespace pellwick::testing {

class FakeTrayShell : public TrayShell {
 public:
  struct Call {
    TrayCommand command;
    NotifyIconData data;
    bool accepted;
  };
  using IconKey = std::pair<std::uint32_t, std::uint32_t>;  // (hWnd, uID)

  std::uint32_t iconHandle(std::span<const std::uint8_t> icoFile) override {
    std::string bytes(icoFile.begin(), icoFile.end());
    if (bytes.empty()) return 0;
    auto [it, added] = pictures.emplace(bytes, static_cast<std::uint32_t>(pictures.size() + 1));
    return it->second;
  }

  bool notifyIcon(TrayCommand command, const NotifyIconData& data) override {
    const IconKey key{data.hWnd, data.uID};
    bool accepted = false;
    switch (command) {
      case TrayCommand::Add:
        accepted = refuseAll ? false : icons.emplace(key, data).second;
        break;
      case TrayCommand::Modify:
        if (auto it = icons.find(key); it != icons.end() && !refuseAll) {
          it->second = data;
          accepted = true;
        }
        break;
      case TrayCommand::Delete:
        accepted = !refuseAll && icons.erase(key) > 0;
        break;
    }
    calls.push_back({command, data, accepted});
    return accepted;
  }

  void setMouseListener(std::uint32_t owner,
                        std::function<void(std::uint32_t)> listener) override {
    if (listener) listeners[owner] = std::move(listener);
    else listeners.erase(owner);
  }

  bool trayAvailable() const override { return available; }

  // Plays a mouse code to the owner's listener, as the shell would.
  void click(std::uint32_t owner, std::uint32_t code) {
    if (auto it = listeners.find(owner); it != listeners.end()) it->second(code);
  }

  // The shell forgets every icon, as when the taskbar restarts.
  void restartTaskbar() { icons.clear(); }

  bool hasIcon(std::uint32_t owner, std::uint32_t id = 1) const {
    return icons.count({owner, id}) > 0;
  }

  std::vector<Call> calls;
  std::map<IconKey, NotifyIconData> icons;
  // The picture files given, by their bytes: a string key, since GCC 12 at -O3 warns falsely
  // (-Wstringop-overread) when a map compares byte vectors.
  std::map<std::string, std::uint32_t> pictures;
  std::map<std::uint32_t, std::function<void(std::uint32_t)>> listeners;
  bool refuseAll = false;
  bool available = true;  // whether the desktop has a tray
};

}  // namespace pellwick::testing
