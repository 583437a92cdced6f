#include "resources/icon_file.h"

#include <QBuffer>
#include <QByteArray>
#include <limits>

namespace pellwick::resources {
namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

// Rows of a bitmap are padded to whole 32-bit words.
int rowBytes(int bitsPerRow) { return ((bitsPerRow + 31) / 32) * 4; }

std::uint32_t imageBytes(const IconImage& img) {
  return 40 + static_cast<std::uint32_t>(img.palette.size()) * 4 +
         static_cast<std::uint32_t>(rowBytes(img.size * img.bitsPerPixel) * img.size) +
         static_cast<std::uint32_t>(rowBytes(img.size) * img.size);
}

int distance(QRgb a, QRgb b) {
  const int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
  return dr * dr + dg * dg + db * db;
}

std::uint8_t nearest(const std::vector<QRgb>& palette, QRgb colour) {
  int best = 0;
  int bestDistance = std::numeric_limits<int>::max();
  for (int i = 0; i < static_cast<int>(palette.size()); ++i) {
    const int d = distance(palette[i], colour);
    if (d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return static_cast<std::uint8_t>(best);
}

// Bitmap rows are stored bottom-up.
void putBitmap(std::vector<std::uint8_t>& out, const IconImage& img) {
  put32(out, 40);
  put32(out, static_cast<std::uint32_t>(img.size));
  put32(out, static_cast<std::uint32_t>(img.size * 2));  // colour plane and mask
  put16(out, 1);
  put16(out, static_cast<std::uint32_t>(img.bitsPerPixel));
  put32(out, 0);  // no compression
  put32(out, static_cast<std::uint32_t>(rowBytes(img.size * img.bitsPerPixel) * img.size +
                                        rowBytes(img.size) * img.size));
  put32(out, 0);
  put32(out, 0);
  put32(out, 0);
  put32(out, 0);
  for (QRgb c : img.palette) {
    out.push_back(static_cast<std::uint8_t>(qBlue(c)));
    out.push_back(static_cast<std::uint8_t>(qGreen(c)));
    out.push_back(static_cast<std::uint8_t>(qRed(c)));
    out.push_back(0);
  }
  const int colourRow = rowBytes(img.size * img.bitsPerPixel);
  for (int y = img.size - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(colourRow), 0);
    for (int x = 0; x < img.size; ++x) {
      const std::uint8_t index = img.indices[static_cast<std::size_t>(y * img.size + x)];
      if (img.bitsPerPixel == 8) {
        row[static_cast<std::size_t>(x)] = index;
      } else {
        row[static_cast<std::size_t>(x / 2)] |=
            static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  const int maskRow = rowBytes(img.size);
  for (int y = img.size - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(maskRow), 0);
    for (int x = 0; x < img.size; ++x) {
      if (img.transparent[static_cast<std::size_t>(y * img.size + x)]) {
        row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
}

}  // namespace

const std::vector<QRgb>& palette16() {
  static const std::vector<QRgb> colours{
      qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
      qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
      qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
      qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
  return colours;
}

const std::vector<QRgb>& palette256() {
  static const std::vector<QRgb> colours = [] {
    std::vector<QRgb> p;
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b) p.push_back(qRgb(r * 51, g * 51, b * 51));
    for (int i = 0; i < 24; ++i) p.push_back(qRgb(8 + i * 10, 8 + i * 10, 8 + i * 10));
    for (QRgb c : palette16()) p.push_back(c);
    return p;
  }();
  return colours;
}

IconImage toIconImage(const QImage& image, int bitsPerPixel) {
  const QImage source = image.convertToFormat(QImage::Format_ARGB32);
  IconImage img;
  img.size = source.width();
  img.bitsPerPixel = bitsPerPixel;
  img.palette = bitsPerPixel == 8 ? palette256() : palette16();
  for (int y = 0; y < img.size; ++y) {
    for (int x = 0; x < img.size; ++x) {
      const QRgb pixel = source.pixel(x, y);
      const bool clear = qAlpha(pixel) < 128;
      img.transparent.push_back(clear);
      img.indices.push_back(clear ? 0 : nearest(img.palette, pixel));
    }
  }
  return img;
}

std::vector<std::uint8_t> iconFile(const std::vector<IconImage>& images,
                                   const std::vector<QImage>& larger) {
  std::vector<QByteArray> pngs;
  for (const QImage& image : larger) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "png");
    pngs.push_back(png);
  }
  std::vector<std::uint8_t> out;
  put16(out, 0);
  put16(out, 1);  // icon
  put16(out, static_cast<std::uint32_t>(images.size() + larger.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size() + larger.size());
  const auto putEntry = [&](int size, int colours, int bitsPerPixel, std::uint32_t bytes) {
    out.push_back(static_cast<std::uint8_t>(size));
    out.push_back(static_cast<std::uint8_t>(size));
    out.push_back(static_cast<std::uint8_t>(colours));
    out.push_back(0);
    put16(out, 1);
    put16(out, static_cast<std::uint32_t>(bitsPerPixel));
    put32(out, bytes);
    put32(out, offset);
    offset += bytes;
  };
  for (const IconImage& img : images) {
    putEntry(img.size, img.bitsPerPixel == 8 ? 0 : 16, img.bitsPerPixel, imageBytes(img));
  }
  for (std::size_t i = 0; i < larger.size(); ++i) {
    putEntry(larger[i].width(), 0, 32, static_cast<std::uint32_t>(pngs[i].size()));
  }
  for (const IconImage& img : images) putBitmap(out, img);
  for (const QByteArray& png : pngs) out.insert(out.end(), png.begin(), png.end());
  return out;
}

}  // namespace pellwick::resources
