#include "calendar/design_units.h"

#include <QtMath>

namespace pellwick {

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

QColor toQColor(std::uint32_t oleColour, const QPalette& system) {
  if (oleColour & kSystemColourFlag) {
    const bool buttonFace = (oleColour & 0xFF) == kButtonFaceIndex;
    return system.color(buttonFace ? QPalette::Button : QPalette::WindowText);
  }
  return QColor(oleColour & 0xFF, (oleColour >> 8) & 0xFF, (oleColour >> 16) & 0xFF);
}

}  // namespace pellwick
