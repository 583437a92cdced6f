#include "platform/windows/named_mutex_instance.h"

#include <gtest/gtest.h>

#include "platform/windows/wide_text.h"
#include "win32_test_support.h"

namespace pellwick::win32 {
namespace {

using testing::ChildProcess;
using testing::NamedEvent;
using testing::probeProgram;
using testing::uniqueName;

// A copy of "the program" in another process, holding its claim until told to end.
class RunningCopy {
 public:
  explicit RunningCopy(const std::wstring& program)
      : ready_(uniqueName(L"Local\\PellwickTestReady")),
        quit_(uniqueName(L"Local\\PellwickTestQuit")),
        probe_(probeProgram(), L"hold " + program + L" " + ready_.name() + L" " + quit_.name()) {}
  bool claimed() { return ready_.waitFor(30000); }
  std::optional<DWORD> end() {
    quit_.set();
    return probe_.waitForExit();
  }
  void crash() { probe_.kill(); }

 private:
  NamedEvent ready_, quit_;
  ChildProcess probe_;
};

TEST(SingleInstance, TheFirstCallClaimsForTheWholeProcess) {
  const std::string program = toUtf8(uniqueName(L"PellwickTest"));
  NamedMutexInstance first(program);
  EXPECT_FALSE(first.anotherInstanceRunning());
  EXPECT_FALSE(first.anotherInstanceRunning());
  EXPECT_TRUE(NamedMutexInstance(program).anotherInstanceRunning());
  EXPECT_FALSE(NamedMutexInstance(program + "x").anotherInstanceRunning());
}

TEST(SingleInstance, ASecondProcessSeesTheFirstAndANewOneStartsAfterItEnds) {
  const std::wstring program = uniqueName(L"PellwickTest");
  RunningCopy first(program);
  ASSERT_TRUE(first.claimed());
  NamedMutexInstance second(toUtf8(program));
  EXPECT_TRUE(second.anotherInstanceRunning());
  EXPECT_EQ(first.end(), 0u);

  // The one that found a copy running holds no claim and may start now.
  EXPECT_FALSE(second.anotherInstanceRunning());
  EXPECT_EQ(ChildProcess(probeProgram(), L"check " + program).waitForExit(), 1u);
}

TEST(SingleInstance, AnObjectUnderTheSessionWideNameDoesNotStopTheProgram) {
  // What any process of the session could create to keep the program from starting.
  const std::wstring program = uniqueName(L"PellwickTest");
  HANDLE squatter =
      CreateMutexW(nullptr, FALSE, (L"Local\\" + program + L".SingleInstance").c_str());
  ASSERT_NE(squatter, nullptr);
  EXPECT_FALSE(NamedMutexInstance(toUtf8(program)).anotherInstanceRunning());
  CloseHandle(squatter);
}

TEST(SingleInstance, ACopyThatWasKilledNeverCounts) {
  const std::wstring program = uniqueName(L"PellwickTest");
  RunningCopy crashed(program);
  ASSERT_TRUE(crashed.claimed());
  crashed.crash();
  EXPECT_FALSE(NamedMutexInstance(toUtf8(program)).anotherInstanceRunning());
}

}  // namespace
}  // namespace pellwick::win32
