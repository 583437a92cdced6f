#pragma once
// The tray icon's pictures: one for each day of the month, and Pellwick's own "C".

#include <QIcon>
#include <array>

namespace pellwick {

class DayPictures {
 public:
  // Reads the built-in pictures.
  DayPictures();

  // The picture of a day of the month (1..31); the "C" for any other number (no date).
  const QIcon& forDay(int day) const;
  // The "C", Pellwick's emblem.
  const QIcon& emblem() const { return pictures_[0]; }

 private:
  std::array<QIcon, 32> pictures_;  // the "C", then the days 1..31
};

}  // namespace pellwick
