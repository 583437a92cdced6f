#include "platform/windows/win32_close_requests.h"

namespace pellwick::win32 {

Win32CloseRequests::Win32CloseRequests() {
  const HINSTANCE module = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &Win32CloseRequests::procedure;
  windowClass.hInstance = module;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassExW(&windowClass);  // fails harmlessly when registered already
  // Top-level, so that FindWindow finds it; never shown.
  window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"Pellwick", WS_POPUP, 0, 0, 0, 0,
                            nullptr, nullptr, module, nullptr);
  if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32CloseRequests::~Win32CloseRequests() {
  if (window_) DestroyWindow(window_);
}

void Win32CloseRequests::setHandler(std::function<void()> handler) {
  handler_ = std::move(handler);
}

LRESULT CALLBACK Win32CloseRequests::procedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  if (message == WM_CLOSE) {
    // The window stays until the program ends; the handler decides what a request does.
    auto* self = reinterpret_cast<Win32CloseRequests*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && self->handler_) self->handler_();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace pellwick::win32
