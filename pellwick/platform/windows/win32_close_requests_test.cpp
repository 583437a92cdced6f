#include "platform/windows/win32_close_requests.h"

#include <gtest/gtest.h>

#include "win32_test_support.h"

namespace pellwick::win32 {
namespace {

using testing::pumpMessagesUntil;
using testing::pumpWaitingMessages;

HWND closeWindow() { return FindWindowW(Win32CloseRequests::kWindowClass, L"Pellwick"); }

TEST(CloseRequests, WmCloseToTheProgramsWindowReachesTheHandler) {
  {
    Win32CloseRequests requests;
    const HWND window = closeWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));

    PostMessageW(window, WM_CLOSE, 0, 0);  // no handler yet: ignored
    pumpWaitingMessages();
    int calls = 0;
    requests.setHandler([&calls] { ++calls; });
    SendMessageW(window, WM_CLOSE, 0, 0);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(pumpMessagesUntil([&calls] { return calls == 2; }));
    EXPECT_TRUE(IsWindow(window));  // the handler ends the program, not the window
  }
  EXPECT_EQ(closeWindow(), nullptr);
}

}  // namespace
}  // namespace pellwick::win32
