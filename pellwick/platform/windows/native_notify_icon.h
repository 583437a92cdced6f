#pragma once
// Our tray icon record mapped onto the shell's own structure, in its wide form and the
// layout of this build's word size.

#include "platform/windows/notify_icon_data.h"
#include "platform/windows/win32.h"

namespace pellwick::win32 {

// `window` and `icon` stand in for the record's owner handle and icon handle, which are
// ours, not the system's. Only the message, icon and tip flags are passed on: the record
// carries no other field.
NOTIFYICONDATAW toNativeNotifyIcon(const NotifyIconData& data, HWND window, HICON icon);

}  // namespace pellwick::win32
