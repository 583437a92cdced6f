#include "platform/windows/native_notify_icon.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace pellwick::win32 {

NOTIFYICONDATAW toNativeNotifyIcon(const NotifyIconData& data, HWND window, HICON icon) {
  NOTIFYICONDATAW native{};
  native.cbSize = sizeof(native);
  native.hWnd = window;
  native.uID = data.uID;
  native.uFlags = data.uFlags & (NIF_MESSAGE | NIF_ICON | NIF_TIP);
  native.uCallbackMessage = data.uCallbackMessage;
  native.hIcon = icon;
  // The native tip is longer, so the copy always ends in a zero.
  static_assert(std::size(native.szTip) > std::tuple_size_v<decltype(data.szTip)>);
  std::copy(data.szTip.begin(), data.szTip.end(), std::begin(native.szTip));
  return native;
}

}  // namespace pellwick::win32
