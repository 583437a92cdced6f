#pragma once
// Fixed window layouts: positions and sizes in twips (1440 to the inch, so 15 to a pixel at
// 96 DPI) and colours in the 0x00BBGGRR / 0x800000nn encoding.

#include <QColor>
#include <QPalette>
#include <QRect>
#include <cstdint>

namespace pq {

class Twips {
 public:
  // `logicalDpi`: the screen's logical dots per inch, as fonts in points use it.
  explicit Twips(qreal logicalDpi) : pixelsPerTwip_(logicalDpi / 1440.0) {}

  int toPixels(int twips) const;
  // Edges are converted, not sizes, so that neighbours never gap or overlap by rounding.
  QRect toPixels(int left, int top, int width, int height) const;

 private:
  qreal pixelsPerTwip_;
};

// 0x00BBGGRR as it stands. Of the system colours, 15 (button face) is `system`'s Button;
// any other is taken as 8 (window text).
QColor toQColor(std::uint32_t bgrColour, const QPalette& system);

}  // namespace pq
