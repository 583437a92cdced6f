#include "platform/windows/shell_clicks.h"

#include <gtest/gtest.h>

namespace pellwick {
namespace {

TEST(TrayClicks, ReleasesAndDoubleClicksOfEachButtonAndNothingElse) {
  EXPECT_EQ(shellClick(514), TrayClick{MouseButton::Left});
  EXPECT_EQ(shellClick(515), (TrayClick{MouseButton::Left, true}));
  EXPECT_EQ(shellClick(517), TrayClick{MouseButton::Right});
  EXPECT_EQ(shellClick(518), (TrayClick{MouseButton::Right, true}));
  EXPECT_EQ(shellClick(520), TrayClick{MouseButton::Middle});
  EXPECT_EQ(shellClick(521), (TrayClick{MouseButton::Middle, true}));
  for (std::uint32_t nothing : {512u, 513u, 516u, 519u, 522u, 0u}) {
    EXPECT_EQ(shellClick(nothing), std::nullopt) << nothing;
  }
}

}  // namespace
}  // namespace pellwick
