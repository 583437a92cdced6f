// The reminders' pictures: the blinking icon's TO and DO, the reminders window icon (To / Do) and
// the eight moon phases. Everything is drawn from plain shapes with our own arithmetic, so
// the files come out byte for byte the same on every machine.

#include <QImage>
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "resources/generator/picture_family.h"
#include "resources/icon_file.h"

namespace pellwick::resources {
namespace {

// An inside test in picture coordinates: pixel (i, j) covers [i, i+1) x [j, j+1).
using Shape = std::function<bool(double x, double y)>;

struct Box {
  double left, top, right, bottom;
  double width() const { return right - left; }
  double height() const { return bottom - top; }
};

Shape rect(Box b) {
  return
      [b](double x, double y) { return x >= b.left && x < b.right && y >= b.top && y < b.bottom; };
}

Shape roundedRect(Box b, double radius) {
  return [b, radius](double x, double y) {
    if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) return false;
    // distance past the straight part of the edges, towards the nearest corner
    const double dx = std::max({b.left + radius - x, x - (b.right - radius), 0.0});
    const double dy = std::max({b.top + radius - y, y - (b.bottom - radius), 0.0});
    return dx * dx + dy * dy <= radius * radius;
  };
}

Shape ellipse(double cx, double cy, double rx, double ry) {
  return [=](double x, double y) {
    const double u = (x - cx) / rx, v = (y - cy) / ry;
    return u * u + v * v <= 1.0;
  };
}

Shape both(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && b(x, y); };
}

Shape without(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && !b(x, y); };
}

Shape anyOf(std::vector<Shape> shapes) {
  return [shapes = std::move(shapes)](double x, double y) {
    for (const Shape& s : shapes) {
      if (s(x, y)) return true;
    }
    return false;
  };
}

Shape ring(double cx, double cy, double rx, double ry, double stroke) {
  return without(ellipse(cx, cy, rx, ry), ellipse(cx, cy, rx - stroke, ry - stroke));
}

// Capital letters in a box, drawn with strokes of the given width.
Shape letterT(Box b, double stroke) {
  const double middle = (b.left + b.right) / 2;
  return anyOf({rect({b.left, b.top, b.right, b.top + stroke}),
                rect({middle - stroke / 2, b.top, middle + stroke / 2, b.bottom})});
}

Shape letterO(Box b, double stroke) {
  return ring((b.left + b.right) / 2, (b.top + b.bottom) / 2, b.width() / 2, b.height() / 2,
              stroke);
}

Shape letterD(Box b, double stroke) {
  const double bowl = b.left + b.width() * 0.4;  // where the straight bars turn into the curve
  const double middle = (b.top + b.bottom) / 2;
  return anyOf({rect({b.left, b.top, b.left + stroke, b.bottom}),
                rect({b.left, b.top, bowl, b.top + stroke}),
                rect({b.left, b.bottom - stroke, bowl, b.bottom}),
                both(ring(bowl, middle, b.right - bowl, b.height() / 2, stroke),
                     rect({bowl, b.top, b.right, b.bottom}))});
}

// Colours with coverage, painted shape over shape. Shapes are given in units of
// `unitsPerPixel` pixels each (1: in pixels).
class Canvas {
 public:
  Canvas(int size, int samplesPerAxis, double unitsPerPixel = 1)
      : size_(size),
        samples_(samplesPerAxis),
        unitsPerPixel_(unitsPerPixel),
        pixels_(static_cast<std::size_t>(size * size)) {}

  void paint(const Shape& shape, QRgb colour) {
    for (int j = 0; j < size_; ++j) {
      for (int i = 0; i < size_; ++i) {
        const double cover = coverage(shape, i, j);
        if (cover == 0.0) continue;
        Pixel& p = pixels_[static_cast<std::size_t>(j * size_ + i)];
        const double alpha = cover + p.alpha * (1 - cover);
        const auto mix = [&](double under, int over) {
          return (over * cover + under * p.alpha * (1 - cover)) / alpha;
        };
        p = {mix(p.red, qRed(colour)), mix(p.green, qGreen(colour)), mix(p.blue, qBlue(colour)),
             alpha};
      }
    }
  }

  QImage image() const {
    QImage out(size_, size_, QImage::Format_ARGB32);
    for (int j = 0; j < size_; ++j) {
      for (int i = 0; i < size_; ++i) {
        const Pixel& p = pixels_[static_cast<std::size_t>(j * size_ + i)];
        out.setPixel(
            i, j,
            qRgba(static_cast<int>(std::lround(p.red)), static_cast<int>(std::lround(p.green)),
                  static_cast<int>(std::lround(p.blue)),
                  static_cast<int>(std::lround(p.alpha * 255))));
      }
    }
    return out;
  }

 private:
  struct Pixel {
    double red = 0, green = 0, blue = 0, alpha = 0;
  };

  double coverage(const Shape& shape, int i, int j) const {
    int inside = 0;
    for (int sj = 0; sj < samples_; ++sj) {
      for (int si = 0; si < samples_; ++si) {
        if (shape((i + (si + 0.5) / samples_) * unitsPerPixel_,
                  (j + (sj + 0.5) / samples_) * unitsPerPixel_)) {
          ++inside;
        }
      }
    }
    return static_cast<double>(inside) / (samples_ * samples_);
  }

  int size_;
  int samples_;
  double unitsPerPixel_;
  std::vector<Pixel> pixels_;
};

// The square frame with curved corners that all our pictures share.
void paintFrame(Canvas& canvas, double size, double border, QRgb edge, QRgb fill) {
  const double radius = size * 0.22;
  canvas.paint(roundedRect({0, 0, size, size}, radius), edge);
  canvas.paint(roundedRect({border, border, size - border, size - border}, radius - border), fill);
}

constexpr int kSmooth = 4;  // samples per axis for the 256-colour pictures

constexpr QRgb kNavy = qRgb(0, 0, 102);
constexpr QRgb kRed = qRgb(204, 0, 0);
constexpr QRgb kYellow = qRgb(255, 255, 0);

constexpr int kDesign = 32;  // the pictures are laid out for 32 x 32 pixels

// A 256-colour picture laid out in the 32-pixel design, and the same with all sizes.
void store(std::vector<Picture>& pictures, const std::string& fileName,
           const std::function<void(Canvas&)>& paint) {
  const Drawing draw = [&paint](int size) {
    Canvas canvas(size, kSmooth, double(kDesign) / size);
    paint(canvas);
    return canvas.image();
  };
  const std::vector<IconImage> classic{toIconImage(draw(kDesign), 8)};
  pictures.push_back({fileName, iconFile(classic)});
  pictures.push_back(allSizes(fileName, classic, draw));
}

// TO and DO: two capitals side by side, 11 x 14 pixels each with 3-pixel strokes.
void flashPicture(std::vector<Picture>& pictures, const std::string& fileName, Shape letters,
                  QRgb fill, QRgb ink) {
  store(pictures, fileName, [&](Canvas& canvas) {
    paintFrame(canvas, kDesign, 2, kNavy, fill);
    canvas.paint(letters, ink);
  });
}

constexpr Box kLeftLetter{4, 9, 15, 23};
constexpr Box kRightLetter{17, 9, 28, 23};

// "To" over "Do" on the window's own light blue.
void remindersPicture(std::vector<Picture>& pictures) {
  store(pictures, "reminders.ico", [](Canvas& canvas) {
    paintFrame(canvas, kDesign, 2, kNavy, qRgb(204, 204, 255));
    const double stroke = 2;
    canvas.paint(anyOf({letterT({6, 4, 16, 15}, stroke), letterO({18, 7.5, 26, 15}, stroke),
                        letterD({6, 17, 16, 28}, stroke), letterO({18, 20.5, 26, 28}, stroke)}),
                 kNavy);
  });
}

// The moon disc in a night-sky frame. `phase` counts eighths of a lunar month from the new
// moon; the lit part is on the right while the moon waxes and on the left while it wanes.
QImage moonImage(int size, int phase) {
  const double s = size;
  Canvas canvas(size, kSmooth);
  paintFrame(canvas, s, s / 16, qRgb(0, 0, 0), qRgb(0, 0, 128));
  if (size >= 32) {
    const double u = s / kDesign;  // the stars are placed in the 32-pixel design
    canvas.paint(anyOf({rect({5 * u, 6 * u, 6 * u, 7 * u}), rect({25 * u, 25 * u, 26 * u, 26 * u}),
                        rect({26 * u, 5 * u, 27 * u, 6 * u})}),
                 qRgb(255, 255, 255));
  }
  const double cx = s / 2, cy = s / 2, radius = s * 0.34;
  // cosine of the phase angle: how far across the disc the shadow's edge lies
  const double halfRoot = std::sqrt(0.5);
  const double edges[8] = {1, halfRoot, 0, -halfRoot, -1, -halfRoot, 0, halfRoot};
  const double edge = edges[phase];
  const bool waxing = phase <= 4;
  const Shape disc = ellipse(cx, cy, radius, radius);
  const Shape lit = [=](double x, double y) {
    const double u = (x - cx) / radius, v = (y - cy) / radius;
    const double half = std::sqrt(std::max(0.0, 1 - v * v));
    return waxing ? u > edge * half : u < -edge * half;
  };
  canvas.paint(disc, qRgb(128, 128, 128));
  if (phase != 0) canvas.paint(both(disc, lit), kYellow);
  return canvas.image();
}

void moonPicture(std::vector<Picture>& pictures, int phase) {
  const std::string fileName = "moon" + std::to_string(phase) + ".ico";
  const std::vector<IconImage> classic{toIconImage(moonImage(32, phase), 4),
                                       toIconImage(moonImage(16, phase), 4)};
  pictures.push_back({fileName, iconFile(classic)});
  pictures.push_back(allSizes(
      fileName, classic, [phase](int size) { return moonImage(size, phase); }, {24, 48, 64, 128}));
}

}  // namespace

std::vector<Picture> reminderPictures() {
  std::vector<Picture> pictures;
  flashPicture(pictures, "flash_to.ico", anyOf({letterT(kLeftLetter, 3), letterO(kRightLetter, 3)}),
               kRed, kYellow);
  flashPicture(pictures, "flash_do.ico", anyOf({letterD(kLeftLetter, 3), letterO(kRightLetter, 3)}),
               kYellow, kRed);
  remindersPicture(pictures);
  for (int phase = 0; phase < 8; ++phase) moonPicture(pictures, phase);
  return pictures;
}

}  // namespace pellwick::resources
