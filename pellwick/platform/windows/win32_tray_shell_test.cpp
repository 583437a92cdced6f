#include "platform/windows/win32_tray_shell.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/windows/wide_text.h"
#include "platform/windows/windows_paths.h"
#include "win32_test_support.h"

namespace pellwick::win32 {
namespace {

using testing::pumpMessagesUntil;
using testing::pumpWaitingMessages;
using testing::solidIconFile;
using testing::trayRecord;

constexpr std::uint32_t kOwnerA = 0x10;
constexpr std::uint32_t kOwnerB = 0x20;

HWND ownerWindow(std::uint32_t owner) {
  return FindWindowExW(HWND_MESSAGE, nullptr, Win32TrayShell::kWindowClass,
                       std::to_wstring(owner).c_str());
}

TEST(TrayShell, EqualIconFilesShareAHandleAndBrokenOnesGetNone) {
  Win32TrayShell shell;
  const auto red = solidIconFile(0xFFFF0000);
  const std::uint32_t redHandle = shell.iconHandle(red);
  EXPECT_NE(redHandle, 0u);
  EXPECT_EQ(shell.iconHandle(solidIconFile(0xFFFF0000)), redHandle);
  const std::uint32_t blueHandle = shell.iconHandle(solidIconFile(0xFF0000FF, 32));
  EXPECT_NE(blueHandle, 0u);
  EXPECT_NE(blueHandle, redHandle);
  EXPECT_EQ(shell.iconHandle(std::vector<std::uint8_t>{0, 0, 1, 0}), 0u);
  EXPECT_EQ(shell.iconHandle(std::span(red).first(red.size() - 10)), 0u);
}

// The pictures Pellwick shows (folder PQ_PICTURES, a path of this system's root, which Wine
// calls Z:), in the 8-bit form they are drawn in.
TEST(TrayShell, EveryPictureOfPellwickMakesAnIcon) {
  const char* folder = std::getenv("PQ_PICTURES");
  if (!folder) GTEST_SKIP() << "PQ_PICTURES is not set";
  Win32TrayShell shell;
  int pictures = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(L"Z:" + toWide(nativePath(folder)))) {
    if (entry.path().extension() != L".ico") continue;
    std::ifstream file(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    EXPECT_NE(shell.iconHandle(bytes), 0u) << entry.path().string();
    ++pictures;
  }
  if (pictures == 0) GTEST_SKIP() << "no pictures drawn yet";
}

TEST(TrayShell, CommandsAnswerAsTheShellDoes) {
  Win32TrayShell shell;
  const std::uint32_t red = shell.iconHandle(solidIconFile(0xFFFF0000));
  const std::uint32_t blue = shell.iconHandle(solidIconFile(0xFF0000FF));
  // A first refresh sends an all-zero record.
  EXPECT_FALSE(shell.notifyIcon(TrayCommand::Modify, NotifyIconData{}));
  EXPECT_FALSE(shell.notifyIcon(TrayCommand::Modify, trayRecord(kOwnerA, red)));
  EXPECT_TRUE(shell.notifyIcon(TrayCommand::Add, trayRecord(kOwnerA, red)));
  EXPECT_FALSE(shell.notifyIcon(TrayCommand::Add, trayRecord(kOwnerA, red)));
  EXPECT_TRUE(shell.notifyIcon(TrayCommand::Modify, trayRecord(kOwnerA, blue)));
  // Another owner's icon with the same id is another icon.
  EXPECT_TRUE(shell.notifyIcon(TrayCommand::Add, trayRecord(kOwnerB, blue)));
  EXPECT_TRUE(shell.notifyIcon(TrayCommand::Delete, trayRecord(kOwnerA, blue)));
  EXPECT_FALSE(shell.notifyIcon(TrayCommand::Delete, trayRecord(kOwnerA, blue)));
  EXPECT_FALSE(shell.notifyIcon(TrayCommand::Modify, trayRecord(kOwnerA, blue)));
  EXPECT_TRUE(shell.notifyIcon(TrayCommand::Add, trayRecord(kOwnerA, red)));
  EXPECT_TRUE(shell.notifyIcon(TrayCommand::Delete, trayRecord(kOwnerA, red)));
  EXPECT_TRUE(shell.notifyIcon(TrayCommand::Delete, trayRecord(kOwnerB, blue)));
}

TEST(TrayShell, CallbackCodesReachTheirOwnerOnly) {
  Win32TrayShell shell;
  const std::uint32_t icon = shell.iconHandle(solidIconFile(0xFF00FF00));
  std::vector<std::uint32_t> codesA, codesB;
  shell.setMouseListener(kOwnerA, [&](std::uint32_t code) { codesA.push_back(code); });
  shell.setMouseListener(kOwnerB, [&](std::uint32_t code) { codesB.push_back(code); });
  ASSERT_TRUE(shell.notifyIcon(TrayCommand::Add, trayRecord(kOwnerA, icon)));
  ASSERT_TRUE(shell.notifyIcon(TrayCommand::Add, trayRecord(kOwnerB, icon)));
  const HWND windowA = ownerWindow(kOwnerA);
  ASSERT_NE(windowA, nullptr);

  std::vector<std::uint32_t> sent{512, 513, 514, 515, 516, 517, 518, 519, 520, 521, 1024};
  for (std::uint32_t code : sent) PostMessageW(windowA, 512, 1, static_cast<LPARAM>(code));
  // The newer callback form carries the icon id in the high word.
  PostMessageW(windowA, 512, MAKEWPARAM(100, 200), MAKELPARAM(514, 1));
  sent.push_back(514);
  EXPECT_TRUE(pumpMessagesUntil([&] { return codesA.size() >= sent.size(); }));
  EXPECT_EQ(codesA, sent);
  EXPECT_TRUE(codesB.empty());

  shell.setMouseListener(kOwnerA, {});
  PostMessageW(windowA, 512, 1, 514);
  pumpWaitingMessages();
  EXPECT_EQ(codesA.size(), sent.size());
  shell.notifyIcon(TrayCommand::Delete, trayRecord(kOwnerA, icon));
  shell.notifyIcon(TrayCommand::Delete, trayRecord(kOwnerB, icon));
}

TEST(TrayShell, AListenerMayRemoveItselfWhileItRuns) {
  Win32TrayShell shell;
  int calls = 0;
  shell.setMouseListener(kOwnerA, [&](std::uint32_t) {
    ++calls;
    shell.setMouseListener(kOwnerA, {});
  });
  ASSERT_TRUE(shell.notifyIcon(TrayCommand::Add, trayRecord(kOwnerA, 0)));
  PostMessageW(ownerWindow(kOwnerA), 512, 1, 514);
  PostMessageW(ownerWindow(kOwnerA), 512, 1, 517);
  pumpWaitingMessages();
  EXPECT_EQ(calls, 1);
  shell.notifyIcon(TrayCommand::Delete, trayRecord(kOwnerA, 0));
}

TEST(TrayShell, IconsComeBackWhenTheTaskbarRestarts) {
  Win32TrayShell shell;
  const std::uint32_t blue = shell.iconHandle(solidIconFile(0xFF0000FF));
  ASSERT_TRUE(shell.notifyIcon(TrayCommand::Add, trayRecord(kOwnerA, 0)));
  ASSERT_TRUE(shell.notifyIcon(TrayCommand::Modify, trayRecord(kOwnerA, blue)));
  // The taskbar forgets the icon and announces its restart to every top-level window.
  NOTIFYICONDATAW forgotten{};
  forgotten.cbSize = sizeof(forgotten);
  forgotten.hWnd = ownerWindow(kOwnerA);
  forgotten.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &forgotten));
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  // Changing it works again once it is back.
  EXPECT_TRUE(pumpMessagesUntil(
      [&] { return shell.notifyIcon(TrayCommand::Modify, trayRecord(kOwnerA, blue)); }));
  EXPECT_TRUE(shell.notifyIcon(TrayCommand::Delete, trayRecord(kOwnerA, blue)));
}

TEST(TrayShell, IconsGoAwayWithTheShell) {
  HWND window = nullptr;
  {
    Win32TrayShell shell;
    ASSERT_TRUE(shell.notifyIcon(TrayCommand::Add, trayRecord(kOwnerA, 0)));
    window = ownerWindow(kOwnerA);
  }
  EXPECT_EQ(ownerWindow(kOwnerA), nullptr);
  NOTIFYICONDATAW left{};
  left.cbSize = sizeof(left);
  left.hWnd = window;
  left.uID = 1;
  EXPECT_FALSE(Shell_NotifyIconW(NIM_DELETE, &left)) << "the icon outlived its shell";
}

// A menu of the notification area: its owner is in front before it shows, even when another
// window was, and hears of its closing by a message of its own.
TEST(TrayShell, AMenuShowsWithItsOwnerInFrontAndTheOwnerHearsWhenItClosed) {
  Win32TrayShell shell;
  testing::TestWindow other(L"In front before the click", 200);
  SetForegroundWindow(other.handle());
  ASSERT_EQ(GetForegroundWindow(), other.handle());
  pumpWaitingMessages();

  HWND inFrontWhenShown = nullptr;
  shell.showMenu([&] { inFrontWhenShown = GetForegroundWindow(); });
  EXPECT_EQ(inFrontWhenShown, shell.menuOwner());
  ASSERT_NE(shell.menuOwner(), nullptr);

  const auto ownerHeardNull = [&] {
    MSG message;
    while (PeekMessageW(&message, shell.menuOwner(), 0, 0, PM_REMOVE)) {
      if (message.message == WM_NULL) return true;
    }
    return false;
  };
  EXPECT_FALSE(ownerHeardNull());
  shell.menuClosed();
  EXPECT_TRUE(ownerHeardNull());
}

}  // namespace
}  // namespace pellwick::win32
