#include "resources/day_pictures.h"

#include <gtest/gtest.h>

#include <QImage>

#include "fakes/qt_test_application.h"

namespace pellwick {
namespace {

QImage shown(const QIcon& icon) { return icon.pixmap(32, 32).toImage(); }

TEST(DayPictures, EachDayHasItsOwnPictureAndNoDayShowsTheEmblem) {
  const DayPictures pictures;
  ASSERT_FALSE(shown(pictures.emblem()).isNull());
  for (int day = 2; day <= 31; ++day) {
    ASSERT_FALSE(shown(pictures.forDay(day)).isNull()) << day;
    EXPECT_NE(shown(pictures.forDay(day)), shown(pictures.forDay(day - 1))) << day;
  }
  EXPECT_NE(shown(pictures.forDay(29)), shown(pictures.forDay(1)));
  EXPECT_NE(shown(pictures.forDay(31)), shown(pictures.emblem()));
  for (int noDay : {0, 32, -1}) {
    EXPECT_EQ(shown(pictures.forDay(noDay)), shown(pictures.emblem())) << noDay;
  }
}

}  // namespace
}  // namespace pellwick
