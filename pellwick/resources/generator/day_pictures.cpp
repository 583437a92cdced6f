// The day icon's pictures: the numerals 1..31 and the letter C, each in a square frame with
// curved corners, drawn from strokes (no fonts) so that every machine draws the same bytes;
// and the lamp pictures (storeflash), lit and unlit.

#include <QPainter>
#include <QPainterPath>
#include <array>
#include <string>

#include "resources/generator/picture_family.h"
#include "resources/icon_file.h"

namespace pellwick::resources {
namespace {

constexpr int kSize = 32;
const QColor kFrameFill(0, 51, 153);
const QColor kFrameEdge(153, 204, 255);
const QColor kInk(255, 255, 255);

// The outline of a glyph in a box one unit wide and one unit high, y growing downwards.
QPainterPath digitPath(int digit) {
  QPainterPath p;
  switch (digit) {
    case 0:
      p.addEllipse(QRectF(0, 0, 1, 1));
      break;
    case 1:
      p.moveTo(0.15, 0.22);
      p.lineTo(0.55, 0);
      p.lineTo(0.55, 1);
      break;
    case 2:
      p.moveTo(0.02, 0.26);
      p.cubicTo(0.08, -0.08, 0.98, -0.08, 0.98, 0.28);
      p.cubicTo(0.98, 0.52, 0.3, 0.7, 0.02, 1);
      p.lineTo(1, 1);
      break;
    case 3:
      p.moveTo(0.04, 0.14);
      p.cubicTo(0.25, -0.08, 0.98, -0.05, 0.94, 0.26);
      p.cubicTo(0.9, 0.46, 0.6, 0.47, 0.38, 0.47);
      p.cubicTo(1.08, 0.47, 1.08, 1.02, 0.5, 1);
      p.cubicTo(0.28, 1, 0.08, 0.94, 0, 0.84);
      break;
    case 4:
      p.moveTo(0.76, 1);
      p.lineTo(0.76, 0);
      p.lineTo(0, 0.68);
      p.lineTo(1, 0.68);
      break;
    case 5:
      p.moveTo(0.94, 0);
      p.lineTo(0.12, 0);
      p.lineTo(0.06, 0.46);
      p.cubicTo(0.35, 0.32, 1.02, 0.36, 1, 0.7);
      p.cubicTo(0.98, 1.06, 0.22, 1.06, 0, 0.86);
      break;
    case 6:
      p.moveTo(0.9, 0.06);
      p.cubicTo(0.55, -0.08, 0, 0.08, 0, 0.66);
      p.addEllipse(QRectF(0, 0.36, 1, 0.64));
      break;
    case 7:
      p.moveTo(0, 0);
      p.lineTo(1, 0);
      p.lineTo(0.36, 1);
      break;
    case 8:
      p.addEllipse(QRectF(0.08, 0, 0.84, 0.46));
      p.addEllipse(QRectF(0, 0.46, 1, 0.54));
      break;
    case 9:
      p.addEllipse(QRectF(0, 0, 1, 0.64));
      p.moveTo(1, 0.34);
      p.cubicTo(1, 0.92, 0.45, 1.08, 0.1, 0.94);
      break;
  }
  return p;
}

QPainterPath letterCPath() {
  QPainterPath p;
  p.arcMoveTo(QRectF(0, 0, 1, 1), 50);
  p.arcTo(QRectF(0, 0, 1, 1), 50, 260);
  return p;
}

// A unit-box glyph scaled to `box` in pixels.
QPainterPath placed(const QPainterPath& glyph, const QRectF& box) {
  QTransform toBox;
  toBox.translate(box.left(), box.top());
  toBox.scale(box.width(), box.height());
  return toBox.map(glyph);
}

// The frame with the glyphs, `size` pixels square; each glyph is given with its box inside
// the 32 x 32 design, and every stroke grows with the picture.
QImage framed(const std::vector<std::pair<QPainterPath, QRectF>>& glyphs, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / double(kSize), size / double(kSize));
  painter.setPen(QPen(kFrameEdge, 1.5));
  painter.setBrush(kFrameFill);
  painter.drawRoundedRect(QRectF(1, 1, kSize - 2, kSize - 2), 6, 6);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(kInk, 2.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  for (const auto& [glyph, box] : glyphs) painter.drawPath(placed(glyph, box));
  return image;
}

QImage numeralPicture(int number, int size) {
  constexpr double kTop = 6.5, kHeight = 19;
  if (number < 10) return framed({{digitPath(number), QRectF(10.5, kTop, 11, kHeight)}}, size);
  constexpr double kWidth = 9.5, kGap = 3, kLeft = (kSize - 2 * kWidth - kGap) / 2;
  return framed({{digitPath(number / 10), QRectF(kLeft, kTop, kWidth, kHeight)},
                 {digitPath(number % 10), QRectF(kLeft + kWidth + kGap, kTop, kWidth, kHeight)}},
                size);
}

// A day picture at 32 pixels, and the same with all sizes.
void store(std::vector<Picture>& pictures, const std::string& fileName, const Drawing& draw) {
  const std::vector<IconImage> classic{toIconImage(draw(kSize), 8)};
  pictures.push_back({fileName, iconFile(classic)});
  pictures.push_back(allSizes(fileName, classic, draw));
}

// The lamp pictures: a lamp lit and unlit, at 32 and 16 pixels in 16 colours.
QImage lamp(int size, bool lit) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const double unit = size / 32.0;
  painter.setPen(QPen(QColor(0, 0, 0), 1.5 * unit));
  painter.setBrush(lit ? QColor(255, 255, 0) : QColor(128, 128, 128));
  painter.drawEllipse(QRectF(6 * unit, 3 * unit, 20 * unit, 20 * unit));
  painter.setBrush(QColor(192, 192, 192));
  painter.drawRect(QRectF(11 * unit, 23 * unit, 10 * unit, 6 * unit));
  return image;
}

void flashPicture(std::vector<Picture>& pictures, const std::string& fileName, bool lit) {
  const std::vector<IconImage> classic{toIconImage(lamp(32, lit), 4),
                                       toIconImage(lamp(16, lit), 4)};
  pictures.push_back({fileName, iconFile(classic)});
  pictures.push_back(
      allSizes(fileName, classic, [lit](int size) { return lamp(size, lit); }, {24, 48, 64, 128}));
}

}  // namespace

std::vector<Picture> dayPictures() {
  std::vector<Picture> pictures;
  for (int day = 1; day <= 31; ++day) {
    store(pictures, "day" + std::to_string(day) + ".ico",
          [day](int size) { return numeralPicture(day, size); });
  }
  store(pictures, "dayC.ico", [](int size) {
    return framed({{letterCPath(), QRectF(8.5, 6.5, 15, 19)}}, size);
  });
  flashPicture(pictures, "storeflash1.ico", true);
  flashPicture(pictures, "storeflash2.ico", false);
  return pictures;
}

}  // namespace pellwick::resources
