#include "fixed_layout.h"

#include <gtest/gtest.h>

namespace pq {
namespace {

TEST(FixedLayout, TwipsFollowTheScreensDpi) {
  EXPECT_EQ(Twips(96).toPixels(5010), 334);
  EXPECT_EQ(Twips(144).toPixels(5010), 501);
  EXPECT_EQ(Twips(120).toPixels(1440), 120);
  // Neighbours that touch in twips touch in pixels, whatever the rounding.
  const Twips scale(120);
  const QRect left = scale.toPixels(300, 480, 1515, 735);
  const QRect right = scale.toPixels(1815, 480, 145, 735);
  EXPECT_EQ(left.right() + 1, right.left());
  EXPECT_EQ(left, QRect(25, 40, 126, 61));
}

TEST(FixedLayout, ColoursAreBlueGreenRedOrSystemColours) {
  QPalette system;
  system.setColor(QPalette::Button, QColor(1, 2, 3));
  system.setColor(QPalette::WindowText, QColor(4, 5, 6));
  EXPECT_EQ(toQColor(0x00FFC0C0, system), QColor(0xC0, 0xC0, 0xFF));
  EXPECT_EQ(toQColor(0x00400000, system), QColor(0, 0, 0x40));
  EXPECT_EQ(toQColor(0x000000FF, system), QColor(0xFF, 0, 0));
  EXPECT_EQ(toQColor(0x8000000F, system), QColor(1, 2, 3));
  EXPECT_EQ(toQColor(0x80000008, system), QColor(4, 5, 6));
}

}  // namespace
}  // namespace pq
