#pragma once
// Requests to end Pellwick from outside, the Windows way: WM_CLOSE sent to a hidden top-level
// window of the class kWindowClass (the installer does that before it replaces or removes the
// program's files). Needs the thread's messages dispatched (Qt's event loop does that).

#include <functional>

#include "platform/termination_requests.h"
#include "platform/windows/win32.h"

namespace pellwick::win32 {

class Win32CloseRequests : public TerminationRequests {
 public:
  Win32CloseRequests();
  ~Win32CloseRequests() override;
  Win32CloseRequests(const Win32CloseRequests&) = delete;
  Win32CloseRequests& operator=(const Win32CloseRequests&) = delete;

  void setHandler(std::function<void()> handler) override;

  static constexpr const wchar_t* kWindowClass = L"PellwickCloseRequests";

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  std::function<void()> handler_;
};

}  // namespace pellwick::win32
