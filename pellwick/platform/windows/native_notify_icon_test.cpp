#include "platform/windows/native_notify_icon.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace pellwick::win32 {
namespace {

const HWND kWindow = reinterpret_cast<HWND>(std::uintptr_t{0x5678});
const HICON kIcon = reinterpret_cast<HICON>(std::uintptr_t{0x9ABC});

// The record's tip may fill all 64 characters without a terminating zero.
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
