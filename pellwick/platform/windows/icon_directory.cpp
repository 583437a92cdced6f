#include "platform/windows/icon_directory.h"

#include "platform/windows/little_endian.h"

namespace pellwick::win32 {
namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kFileEntrySize = 16;
constexpr std::uint16_t kIconType = 1;

}  // namespace

std::optional<std::vector<IconImageEntry>> readIconFile(std::span<const std::uint8_t> file) {
  if (file.size() < kHeaderSize || word16(file, 0) != 0 || word16(file, 2) != kIconType) {
    return std::nullopt;
  }
  const std::size_t count = word16(file, 4);
  const std::size_t directoryEnd = kHeaderSize + count * kFileEntrySize;
  if (count == 0 || file.size() < directoryEnd) return std::nullopt;

  std::vector<IconImageEntry> images;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = kHeaderSize + i * kFileEntrySize;
    const std::uint64_t size = word32(file, at + 8);
    const std::uint64_t offset = word32(file, at + 12);
    if (size == 0 || offset < directoryEnd || offset + size > file.size()) return std::nullopt;
    IconImageEntry entry;
    entry.width = file[at];
    entry.height = file[at + 1];
    entry.colorCount = file[at + 2];
    entry.planes = word16(file, at + 4);
    entry.bitCount = word16(file, at + 6);
    entry.image = file.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(size));
    images.push_back(entry);
  }
  return images;
}

std::vector<std::uint8_t> iconResourceDirectory(const std::vector<IconImageEntry>& images) {
  std::vector<std::uint8_t> out;
  putWord16(out, 0);
  putWord16(out, kIconType);
  putWord16(out, static_cast<std::uint16_t>(images.size()));
  std::uint16_t id = 1;
  for (const IconImageEntry& image : images) {
    out.push_back(image.width);
    out.push_back(image.height);
    out.push_back(image.colorCount);
    out.push_back(0);
    putWord16(out, image.planes);
    putWord16(out, image.bitCount);
    putWord32(out, static_cast<std::uint32_t>(image.image.size()));
    putWord16(out, id++);
  }
  return out;
}

}  // namespace pellwick::win32
