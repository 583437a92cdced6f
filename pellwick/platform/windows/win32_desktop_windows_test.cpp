#include "platform/windows/win32_desktop_windows.h"

#include <gtest/gtest.h>

#include "platform/windows/wide_text.h"
#include "win32_test_support.h"

namespace pellwick::win32 {
namespace {

using testing::utf8;

using testing::ChildProcess;
using testing::NamedEvent;
using testing::pumpMessagesUntil;
using testing::TestWindow;
using testing::uniqueName;
using testing::windowText;

WindowId idOf(HWND window) { return reinterpret_cast<std::uintptr_t>(window); }

TEST(DesktopWindows, ReadsWritesAndRestoresACaption) {
  TestWindow window(L"My Notes", 317);
  Win32DesktopWindows desktop;
  const WindowId id = idOf(window.handle());
  const std::string own = desktop.caption(id);
  EXPECT_EQ(own, "My Notes");
  EXPECT_TRUE(desktop.setCaption(id, own + "        December 6"));
  EXPECT_EQ(desktop.caption(id), "My Notes        December 6");
  EXPECT_EQ(windowText(window.handle()), L"My Notes        December 6");
  EXPECT_TRUE(desktop.setCaption(id, own));
  EXPECT_EQ(windowText(window.handle()), L"My Notes");

  // Given back only while the caption is still the one written over it.
  const WindowTitle ownTitle = desktop.title(id);
  const std::string written = own + "        December 6";
  ASSERT_TRUE(desktop.setCaption(id, written));
  EXPECT_TRUE(desktop.restoreTitle(id, ownTitle, written));
  EXPECT_EQ(windowText(window.handle()), L"My Notes");
  ASSERT_TRUE(desktop.setCaption(id, "Renamed"));
  EXPECT_FALSE(desktop.restoreTitle(id, ownTitle, written));
  EXPECT_EQ(windowText(window.handle()), L"Renamed");
}

TEST(DesktopWindows, CaptionsOutsideTheAnsiCodePageAndLongOnesSurvive) {
  TestWindow window(L"", 200);
  Win32DesktopWindows desktop;
  const WindowId id = idOf(window.handle());
  const std::string mixed =
      utf8(u8"Zeitplan \u2014 \u03a9\u03bc\u03ad\u03b3\u03b1 \u65e5\u672c\u8a9e \u2713 \U0001F600");
  EXPECT_TRUE(desktop.setCaption(id, mixed));
  EXPECT_EQ(windowText(window.handle()),
            L"Zeitplan \u2014 \u03a9\u03bc\u03ad\u03b3\u03b1 \u65e5\u672c\u8a9e \u2713 \U0001F600");
  EXPECT_EQ(desktop.caption(id), mixed);

  const std::string longCaption = std::string(300, 'a') + utf8(u8"\u00e9") + std::string(300, 'b');
  EXPECT_TRUE(desktop.setCaption(id, longCaption));
  EXPECT_EQ(desktop.caption(id), longCaption);
  EXPECT_TRUE(desktop.setCaption(id, ""));
  EXPECT_EQ(desktop.caption(id), "");
}

TEST(DesktopWindows, ForegroundMinimisedAndClientWidth) {
  TestWindow window(L"Focus", 317);
  Win32DesktopWindows desktop;
  const WindowId id = idOf(window.handle());
  EXPECT_TRUE(pumpMessagesUntil([&] { return desktop.foregroundWindow() == id; }));
  EXPECT_EQ(desktop.clientWidth(id), 317);
  EXPECT_FALSE(desktop.isMinimised(id));
  ShowWindow(window.handle(), SW_MINIMIZE);
  EXPECT_TRUE(pumpMessagesUntil([&] { return desktop.isMinimised(id); }));
  ShowWindow(window.handle(), SW_RESTORE);
  EXPECT_TRUE(pumpMessagesUntil([&] { return !desktop.isMinimised(id); }));
}

TEST(DesktopWindows, AWindowThatIsGoneFailsEveryCall) {
  TestWindow window(L"Closing", 200);
  Win32DesktopWindows desktop;
  const WindowId id = idOf(window.handle());
  window.destroy();
  for (WindowId gone : {id, WindowId{0}}) {
    EXPECT_EQ(desktop.caption(gone), "");
    EXPECT_FALSE(desktop.setCaption(gone, "x"));
    EXPECT_EQ(desktop.clientWidth(gone), std::nullopt);
    EXPECT_FALSE(desktop.isMinimised(gone));
  }
}

// A window of another program, which answers its messages or not.
class OtherProgramWindow {
 public:
  OtherProgramWindow(const std::wstring& caption, bool answers)
      : ready_(uniqueName(L"Local\\PellwickTestReady")),
        quit_(uniqueName(L"Local\\PellwickTestQuit")),
        probe_(testing::probeProgram(), L"window \"" + caption + L"\" " + ready_.name() + L" " +
                                            quit_.name() + (answers ? L" pump" : L" hang")) {
    if (ready_.waitFor(30000)) window_ = FindWindowW(nullptr, caption.c_str());
  }
  ~OtherProgramWindow() {
    quit_.set();
    probe_.waitForExit();
  }
  WindowId id() const { return idOf(window_); }

 private:
  NamedEvent ready_, quit_;
  ChildProcess probe_;
  HWND window_ = nullptr;
};

TEST(DesktopWindows, WritesTheCaptionOfAnotherProgram) {
  const std::wstring caption = uniqueName(L"Other \u03a9");
  OtherProgramWindow other(caption, true);
  ASSERT_NE(other.id(), 0u);
  Win32DesktopWindows desktop;
  const std::string own = desktop.caption(other.id());
  EXPECT_TRUE(desktop.setCaption(other.id(), own + utf8(u8"        \u65e5")));
  EXPECT_EQ(desktop.caption(other.id()), own + utf8(u8"        \u65e5"));
  EXPECT_TRUE(desktop.setCaption(other.id(), own));
  EXPECT_EQ(desktop.caption(other.id()), own);
}

TEST(DesktopWindows, AProgramThatDoesNotAnswerCannotStallUs) {
  const std::wstring caption = uniqueName(L"Hung");
  OtherProgramWindow other(caption, false);
  ASSERT_NE(other.id(), 0u);
  Win32DesktopWindows desktop;
  // Reaching the next line at all is the test: a plain SetWindowTextW waits until that program
  // answers.
  EXPECT_FALSE(desktop.setCaption(other.id(), "Hung        December 6"));
  EXPECT_EQ(desktop.caption(other.id()), toUtf8(caption));
}

}  // namespace
}  // namespace pellwick::win32
