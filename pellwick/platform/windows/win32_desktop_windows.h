#pragma once
// Top-level windows of any program through user32's wide calls.

#include "platform/desktop_windows.h"

namespace pellwick::win32 {

class Win32DesktopWindows : public DesktopWindows {
 public:
  bool available() const override { return true; }
  WindowId foregroundWindow() override;
  bool isMinimised(WindowId window) override;
  // The caption is the whole title: `stored` stays empty.
  WindowTitle title(WindowId window) override;
  // A program that does not answer within a moment keeps its caption and gives false, so
  // that it cannot stall this one.
  bool setCaption(WindowId window, const std::string& utf8) override;
  WindowTitle retitled(WindowId window, const WindowTitle& own, const std::string& written) override;
  bool restoreTitle(WindowId window, const WindowTitle& own, const std::string& written) override;
  std::optional<int> clientWidth(WindowId window) override;
};

}  // namespace pellwick::win32
