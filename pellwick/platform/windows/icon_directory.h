#pragma once
// The directory of a Windows icon file (.ico), read with every image checked to lie inside
// the file, and the same directory in the form the system's icon resource functions read
// (LookupIconIdFromDirectoryEx). Plain byte work, no system calls.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pellwick::win32 {

struct IconImageEntry {
  std::uint8_t width = 0;  // 0 stands for 256
  std::uint8_t height = 0;
  std::uint8_t colorCount = 0;
  std::uint16_t planes = 0;
  std::uint16_t bitCount = 0;
  std::span<const std::uint8_t> image;  // inside the file the entry was read from
};

// The images of an icon file in file order; nothing when the bytes are no icon file or an
// image lies outside them.
std::optional<std::vector<IconImageEntry>> readIconFile(std::span<const std::uint8_t> file);

// The resource form of the directory: the images numbered 1, 2, ... in the given order.
std::vector<std::uint8_t> iconResourceDirectory(const std::vector<IconImageEntry>& images);

}  // namespace pellwick::win32
