#pragma once
// A desktop in memory: windows with captions, widths and a minimised flag, one of them
// focused. A window's `stored` title stands for what the system keeps beside the caption:
// a write replaces it, only a restore brings it back. Writes and restores are recorded; a
// closed window fails every call like a vanished one.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/desktop_windows.h"

namespace pellwick::testing {

class FakeDesktopWindows : public DesktopWindows {
 public:
  struct Window {
    std::string caption;
    int clientWidth = 800;
    bool minimised = false;
    std::string stored;
    bool rewritable = true;
  };

  bool available() const override { return isAvailable; }
  WindowId foregroundWindow() override { return focused; }
  bool isMinimised(WindowId w) override {
    auto it = windows.find(w);
    return it != windows.end() && it->second.minimised;
  }
  WindowTitle title(WindowId w) override {
    auto it = windows.find(w);
    if (it == windows.end()) return {};
    return {it->second.caption, it->second.stored, it->second.rewritable};
  }
  bool setCaption(WindowId w, const std::string& text) override {
    if (beforeWrite) beforeWrite();
    writes.push_back({w, text});
    auto it = windows.find(w);
    if (it == windows.end()) return false;
    it->second.caption = text;
    it->second.stored = "written";
    return true;
  }
  WindowTitle retitled(WindowId w, const WindowTitle& own, const std::string&) override {
    WindowTitle now = title(w);
    if (now.stored == "written") now.stored = own.stored;
    return now;
  }
  bool restoreTitle(WindowId w, const WindowTitle& own, const std::string& written) override {
    auto it = windows.find(w);
    if (it == windows.end() || it->second.caption != written) return false;
    if (beforeWrite) beforeWrite();
    writes.push_back({w, own.text});
    it->second.caption = own.text;
    it->second.stored = own.stored;
    return true;
  }
  std::optional<int> clientWidth(WindowId w) override {
    auto it = windows.find(w);
    if (it == windows.end()) return std::nullopt;
    return it->second.clientWidth;
  }

  WindowId open(const std::string& caption, int width = 800) {
    WindowId id = nextId++;
    windows[id] = Window{caption, width, false, "own " + caption, true};
    return id;
  }
  void close(WindowId w) { windows.erase(w); }

  struct Write {
    WindowId window;
    std::string caption;
  };
  std::map<WindowId, Window> windows;
  std::vector<Write> writes;
  std::function<void()> beforeWrite;  // sees the world as it is when a caption is written
  WindowId focused = 0;
  WindowId nextId = 0x1000;
  bool isAvailable = true;
};

}  // namespace pellwick::testing
