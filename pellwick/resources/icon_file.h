#pragma once
// Windows icon files (.ico) with palette images, as the pictures of Pellwick are stored.

#include <QImage>
#include <cstdint>
#include <vector>

namespace pellwick::resources {

// One image of an icon: 4 bits (16 colours) or 8 bits (256 colours) per pixel.
// Fully transparent pixels of the source go into the transparency mask.
struct IconImage {
  int size = 32;  // width = height
  int bitsPerPixel = 8;
  std::vector<QRgb> palette;          // 16 or 256 entries
  std::vector<std::uint8_t> indices;  // size * size, top row first
  std::vector<bool> transparent;      // size * size, top row first
};

// The fixed palettes: the 16 standard VGA colours, and for 8 bits a 6x6x6 colour cube,
// a grey ramp and those 16.
const std::vector<QRgb>& palette16();
const std::vector<QRgb>& palette256();

// Maps every pixel of a square image to the nearest palette colour (deterministic).
IconImage toIconImage(const QImage& image, int bitsPerPixel);

// The .ico file holding the images in the given order, then the `larger` ones (up to 255
// pixels square) as PNG images with full colour and alpha.
std::vector<std::uint8_t> iconFile(const std::vector<IconImage>& images,
                                   const std::vector<QImage>& larger = {});

}  // namespace pellwick::resources
