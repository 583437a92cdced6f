#include "platform/windows/icon_directory.h"

#include <gtest/gtest.h>

#include "platform/windows/little_endian.h"

namespace pellwick::win32 {
namespace {

// An icon file with a 32x32 8-bit image of 5 bytes and a 16x16 4-bit image of 3 bytes.
std::vector<std::uint8_t> twoImageFile() {
  std::vector<std::uint8_t> f;
  putWord16(f, 0);
  putWord16(f, 1);
  putWord16(f, 2);
  f.insert(f.end(), {32, 32, 0, 0});
  putWord16(f, 1);
  putWord16(f, 8);
  putWord32(f, 5);
  putWord32(f, 38);
  f.insert(f.end(), {16, 16, 16, 0});
  putWord16(f, 1);
  putWord16(f, 4);
  putWord32(f, 3);
  putWord32(f, 43);
  f.insert(f.end(), {1, 2, 3, 4, 5, 6, 7, 8});
  return f;
}

TEST(IconDirectory, ReadsEveryImageOfAFile) {
  const auto file = twoImageFile();
  const auto images = readIconFile(file);
  ASSERT_TRUE(images.has_value());
  ASSERT_EQ(images->size(), 2u);
  EXPECT_EQ((*images)[0].width, 32);
  EXPECT_EQ((*images)[0].bitCount, 8);
  EXPECT_EQ(std::vector<std::uint8_t>((*images)[0].image.begin(), (*images)[0].image.end()),
            (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ((*images)[1].colorCount, 16);
  EXPECT_EQ(std::vector<std::uint8_t>((*images)[1].image.begin(), (*images)[1].image.end()),
            (std::vector<std::uint8_t>{6, 7, 8}));
}

TEST(IconDirectory, ResourceFormNumbersTheImagesInFourteenByteEntries) {
  const auto file = twoImageFile();
  const auto directory = iconResourceDirectory(*readIconFile(file));
  const std::vector<std::uint8_t> expected{0,  0,  1,  0, 2, 0,                           // header
                                           32, 32, 0,  0, 1, 0, 8, 0, 5, 0, 0, 0, 1, 0,   // image 1
                                           16, 16, 16, 0, 1, 0, 4, 0, 3, 0, 0, 0, 2, 0};  // image 2
  EXPECT_EQ(directory, expected);
}

TEST(IconDirectory, RefusesWhatIsNoIconOrPointsOutside) {
  const auto good = twoImageFile();
  EXPECT_EQ(readIconFile({}), std::nullopt);
  EXPECT_EQ(readIconFile(std::span(good).first(20)), std::nullopt);  // directory cut off
  EXPECT_EQ(readIconFile(std::span(good).first(good.size() - 1)), std::nullopt);

  auto cursor = good;
  cursor[2] = 2;
  EXPECT_EQ(readIconFile(cursor), std::nullopt);

  auto empty = good;
  empty[4] = 0;
  EXPECT_EQ(readIconFile(empty), std::nullopt);

  auto wrapping = good;  // offset + size beyond 32 bits must not wrap around
  for (std::size_t i = 14; i < 18; ++i) wrapping[i] = 0xFF;
  EXPECT_EQ(readIconFile(wrapping), std::nullopt);

  auto intoDirectory = good;
  intoDirectory[18] = 4;
  EXPECT_EQ(readIconFile(intoDirectory), std::nullopt);
}

}  // namespace
}  // namespace pellwick::win32
