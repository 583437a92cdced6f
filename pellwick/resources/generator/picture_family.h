#pragma once
// The families of pictures the generator draws; each is drawn in its own source file.

#include <QImage>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "resources/icon_file.h"

namespace pellwick::resources {

struct Picture {
  std::string fileName;            // e.g. "day7.ico"
  std::vector<std::uint8_t> file;  // the whole .ico file
};

// A picture drawn at `size` pixels square from the same shapes at every size.
using Drawing = std::function<QImage(int size)>;

// The sizes drawn beside the classic 32-pixel images: trays 16 to 64 pixels tall, at 1x to 2x.
inline const std::vector<int> kSharpSizes{16, 24, 48, 64, 128};

// "all_sizes/<fileName>": the classic images of <fileName> first, then `draw` at each of
// `sizes`, so that a tray or a scaled screen finds a sharp picture at its own size.
inline Picture allSizes(const std::string& fileName, const std::vector<IconImage>& classic,
                        const Drawing& draw, const std::vector<int>& sizes = kSharpSizes) {
  std::vector<QImage> drawn;
  for (int size : sizes) drawn.push_back(draw(size));
  return {"all_sizes/" + fileName, iconFile(classic, drawn)};
}

// The day icon's pictures: the days of the month and the C, and a lit and an unlit lamp.
std::vector<Picture> dayPictures();
// The blinking icon's TO and DO pictures, the moon pictures and the reminders window icon.
std::vector<Picture> reminderPictures();

}  // namespace pellwick::resources
