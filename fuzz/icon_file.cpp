// Reading an icon file: any bytes read without a crash, every image found lies inside the
// file, and the resource directory holds one 14-byte entry per image.

#include "fuzz_input.h"
#include "platform/windows/icon_directory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Input file(data, size);
  const auto images = pellwick::win32::readIconFile(file);
  if (!images) return 0;
  for (const auto& image : *images) {
    fuzz::require(!image.image.empty() && image.image.data() >= file.data() &&
                      image.image.data() + image.image.size() <= file.data() + file.size(),
                  "an image lies inside the file");
  }
  fuzz::require(pellwick::win32::iconResourceDirectory(*images).size() == 6 + 14 * images->size(),
                "one resource entry per image");
  return 0;
}
