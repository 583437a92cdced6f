#include "platform/windows/shell_clicks.h"

#include <gtest/gtest.h>

namespace pellwick {
namespace {

TEST(ShellClicks, ReleasesAndDoubleClicksOfEachButtonAndNothingElse) {
  EXPECT_EQ(shellClick(514), ShellClick{MouseButton::Left});
  EXPECT_EQ(shellClick(515), (ShellClick{MouseButton::Left, true}));
  EXPECT_EQ(shellClick(517), ShellClick{MouseButton::Right});
  EXPECT_EQ(shellClick(518), (ShellClick{MouseButton::Right, true}));
  EXPECT_EQ(shellClick(520), ShellClick{MouseButton::Middle});
  EXPECT_EQ(shellClick(521), (ShellClick{MouseButton::Middle, true}));
  for (std::uint32_t nothing : {512u, 513u, 516u, 519u, 522u, 0u}) {
    EXPECT_EQ(shellClick(nothing), std::nullopt) << nothing;
  }
}

}  // namespace
}  // namespace pellwick
