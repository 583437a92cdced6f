#include "platform/windows/native_notify_icon.h"

#include <gtest/gtest.h>

#include <cwchar>

#include "platform/notify_icon_record.h"

namespace pellwick::win32 {
namespace {

const HWND kWindow = reinterpret_cast<HWND>(std::uintptr_t{0x5678});
const HICON kIcon = reinterpret_cast<HICON>(std::uintptr_t{0x9ABC});

TEST(NativeNotifyIcon, CarriesTheTrayHostsRecordInTheWideStructure) {
  NotifyIconData data;  // as the tray host fills it, through its 88-byte form
  data.cbSize = 88;
  data.hWnd = 0x1234;
  data.uID = 1;
  data.uFlags = 7;
  data.uCallbackMessage = 512;
  data.hIcon = 3;
  const NOTIFYICONDATAW native =
      toNativeNotifyIcon(fromShellRecord(toShellRecord(data)), kWindow, kIcon);
  EXPECT_EQ(native.cbSize, sizeof(NOTIFYICONDATAW));
  EXPECT_EQ(native.hWnd, kWindow);
  EXPECT_EQ(native.uID, 1u);
  EXPECT_EQ(native.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(native.uCallbackMessage, 512u);
  EXPECT_EQ(native.hIcon, kIcon);
  EXPECT_STREQ(native.szTip, L"");
}

TEST(NativeNotifyIcon, KeepsAWideTipWholeAndTerminatedAndDropsUnknownFlags) {
  NotifyIconData data;
  data.uFlags = 0xFF;
  data.szTip.fill(u'\u03a9');
  const NOTIFYICONDATAW native = toNativeNotifyIcon(data, kWindow, kIcon);
  EXPECT_EQ(native.uFlags, 7u);
  EXPECT_EQ(std::wcslen(native.szTip), 64u);
  EXPECT_EQ(native.szTip[63], L'\u03a9');
}

}  // namespace
}  // namespace pellwick::win32
