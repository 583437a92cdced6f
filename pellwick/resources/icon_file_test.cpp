#include "resources/icon_file.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

namespace pellwick::resources {
namespace {

QImage sample(int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.fillRect(2, 2, size - 4, size - 4, QColor(255, 0, 0));
  p.fillRect(4, 4, 4, 4, QColor(0, 0, 255));
  return image;
}

QImage readBack(const std::vector<std::uint8_t>& file, int imageNumber) {
  QByteArray bytes(reinterpret_cast<const char*>(file.data()), static_cast<qsizetype>(file.size()));
  QBuffer buffer(&bytes);
  QImageReader reader(&buffer, "ico");
  reader.jumpToImage(imageNumber);
  return reader.read();
}

TEST(IconFile, EightBitIconHasTheStoredSizeAndReadsBack) {
  const auto file = iconFile({toIconImage(sample(32), 8)});
  EXPECT_EQ(file.size(), 2238u);
  const QImage back = readBack(file, 0);
  ASSERT_EQ(back.size(), QSize(32, 32));
  EXPECT_EQ(back.pixelColor(10, 10), QColor(255, 0, 0));
  EXPECT_EQ(back.pixelColor(5, 5), QColor(0, 0, 255));
  EXPECT_EQ(back.pixelColor(0, 0).alpha(), 0);
}

TEST(IconFile, SixteenColourPairHasTheStoredSizeAndReadsBack) {
  const auto file = iconFile({toIconImage(sample(32), 4), toIconImage(sample(16), 4)});
  EXPECT_EQ(file.size(), 1078u);
  EXPECT_EQ(readBack(file, 0).pixelColor(5, 5), QColor(0, 0, 255));
  const QImage small = readBack(file, 1);
  ASSERT_EQ(small.size(), QSize(16, 16));
  EXPECT_EQ(small.pixelColor(8, 8), QColor(255, 0, 0));
}

}  // namespace
}  // namespace pellwick::resources
