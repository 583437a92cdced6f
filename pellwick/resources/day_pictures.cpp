#include "resources/day_pictures.h"

#include "resources/built_in_pictures.h"

namespace pellwick {

DayPictures::DayPictures() {
  pictures_[0] = QIcon(builtInPicturePath("dayC.ico"));
  for (std::size_t day = 1; day < pictures_.size(); ++day) {
    pictures_[day] = QIcon(builtInPicturePath(QString("day%1.ico").arg(day)));
  }
}

const QIcon& DayPictures::forDay(int day) const {
  const bool valid = day >= 1 && static_cast<std::size_t>(day) < pictures_.size();
  return pictures_[valid ? static_cast<std::size_t>(day) : 0];
}

}  // namespace pellwick
