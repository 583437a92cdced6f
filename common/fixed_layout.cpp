#include "fixed_layout.h"

#include <QtMath>

namespace pq {

namespace {
constexpr std::uint32_t kSystemColourFlag = 0x80000000;
constexpr std::uint32_t kButtonFaceIndex = 15;
}  // namespace

int Twips::toPixels(int twips) const { return qRound(twips * pixelsPerTwip_); }

QRect Twips::toPixels(int left, int top, int width, int height) const {
  const QPoint topLeft(toPixels(left), toPixels(top));
  const QPoint bottomRightOutside(toPixels(left + width), toPixels(top + height));
  return QRect(topLeft, bottomRightOutside - QPoint(1, 1));
}

QColor toQColor(std::uint32_t bgrColour, const QPalette& system) {
  if (bgrColour & kSystemColourFlag) {
    const bool buttonFace = (bgrColour & 0xFF) == kButtonFaceIndex;
    return system.color(buttonFace ? QPalette::Button : QPalette::WindowText);
  }
  return QColor(bgrColour & 0xFF, (bgrColour >> 8) & 0xFF, (bgrColour >> 16) & 0xFF);
}

}  // namespace pq
