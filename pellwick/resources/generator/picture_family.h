#pragma once
// The families of pictures the generator draws; each is drawn in its own source file.

#include <cstdint>
#include <string>
#include <vector>

namespace pellwick::resources {

struct Picture {
  std::string fileName;            // e.g. "day7.ico"
  std::vector<std::uint8_t> file;  // the whole .ico file
};

// The icon store's pictures: the days of the month, the C picture and the chooser's flash pair.
std::vector<Picture> dayPictures();
// The flasher's TO and DO pictures, the moon pictures and the reminders window icon.
std::vector<Picture> reminderPictures();

}  // namespace pellwick::resources
